#pragma once
// The result list: the table of found files in the main window's list view, and the
// program's only store of search results. Columns 0 "Name", 1 "Path" (the folder with
// a trailing backslash), 2 "Size (bytes)", 3 "Status", 4 "Information". Rows are kept in
// ascending Name order on insertion (case-insensitive, the user's locale); several rows
// can be selected. A row's file is its Path cell followed directly by its Name cell.
//
// ResultList is a non-owning view of the list view control; copies are cheap and all
// of them work on the same rows.
#include <cstdint>
#include <string>

#include "control/ListView.h"

enum ResultColumn {
    NameColumn = 0,
    PathColumn = 1,
    SizeColumn = 2,
    StatusColumn = 3,
    InformationColumn = 4,
};

// Multi-select, sort ascending, grid lines, header drag-and-drop, full-row select.
const std::uint32_t ResultListOptions = ListViewMultiSelect | ListViewSortAscending |
                                        ListViewGridLines | ListViewHeaderDragDrop |
                                        ListViewFullRowSelect;  // 0x00018B00

class ResultList {
public:
    explicit ResultList(Control* listView) : view_(listView) {}
    Control* View() const { return view_; }

    // Appends a column; alignment as ColumnAlignment. Used while the window is built.
    void AddColumn(const std::string& caption, int alignment, int width);
    // Adds the five columns: "Name" 150 left, "Path" 200 left, "Size (bytes)" 100 right,
    // "Status" 100 centre, "Information" 100 left.
    void AddStandardColumns();

    // Inserts a row with the Name cell name (other cells empty, no state flags) at its
    // sorted position; returns that position, -1 when the control refuses.
    int AddRow(const std::string& name);
    // Replaces a cell's text. Column 0 also clears the row's state flags (it loses
    // selection and focus); other columns leave them. A row that does not exist is
    // ignored for columns 1 to 4 (see SetCell of control/ListView.h for column 0).
    void SetCell(int row, int column, const std::string& text);
    // The whole text of a cell; empty for an empty cell or a missing row.
    std::string GetCell(int row, int column) const;
    int RowCount() const;
    bool IsRowSelected(int row) const;
    // The first selected row after `after` (-1: from row 0); -1 when none.
    int NextSelectedRow(int after) const;
    // The row with the focus flag, -1 when none.
    int FocusedRow() const;
    // Removes the row; later rows move up. A missing row (or -1) changes nothing.
    void DeleteRow(int row);
    void ClearRows();
    // Replaces the four state flags (RowStates) of the row; -1 means every row.
    void SetRowState(int row, unsigned states);
    // Every row selected, none focused, cut or drop-highlighted.
    void SelectAllRows();
    // Clears every row's flags, then for row >= 0 makes it focused and selected.
    void SelectOnlyRow(int row);
    // Reorders the rows so that the column's texts ascend, compared as texts ignoring
    // case ("1,000" sorts before "999").
    void SortRowsByColumn(int column);
    // The column header click: sorts by the column unless a search is running.
    void SortOnColumnClick(int column, bool searching);

private:
    Control* view_;
};

// The main window's result list view: report view with ResultListOptions, no image
// lists, and the five columns.
Control* CreateResultListView(Control* parent);

// Sorts on column header clicks while *searching is 0 (the main window's Searching
// flag); with searching nullptr every click sorts.
void AttachColumnSorting(Control* listView, const std::uint8_t* searching);
