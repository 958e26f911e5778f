#pragma once
// The report-style list view ("SysListView32") and its item operations. The rows live
// in the platform control: texts are written with SetCell and read back with GetCell.
// Rows are addressed by their current index, which shifts when rows are inserted,
// deleted or sorted.
#include "control/Control.h"

#include <cstdint>
#include <string>

// View of CreateListView.
enum ListViewView {
    ListViewIcon = 0,
    ListViewSmallIcon = 1,
    ListViewList = 2,
    ListViewReport = 3,
    ListViewReportNoHeader = 4,
};

// Options of CreateListView (a set; bit i of the value). Bits 0 to 10, 24 and 25 are
// window styles, bits 11 to 23 extended list-view styles.
enum ListViewOptions : std::uint32_t {
    ListViewAlignLeft = 1u << 0,
    ListViewAutoArrange = 1u << 1,
    ListViewOwnerDraw = 1u << 2,
    ListViewEditLabels = 1u << 3,
    ListViewNoLabelWrap = 1u << 4,
    ListViewNoScroll = 1u << 5,
    ListViewNoSortHeader = 1u << 6,
    ListViewHideSelection = 1u << 7,  // when absent: LVS_SHOWSELALWAYS
    ListViewMultiSelect = 1u << 8,    // when absent: LVS_SINGLESEL
    ListViewSortAscending = 1u << 9,
    ListViewSortDescending = 1u << 10,
    ListViewGridLines = 1u << 11,
    ListViewSubItemImages = 1u << 12,
    ListViewCheckBoxes = 1u << 13,
    ListViewTrackSelect = 1u << 14,
    ListViewHeaderDragDrop = 1u << 15,
    ListViewFullRowSelect = 1u << 16,
    ListViewOneClickActivate = 1u << 17,
    ListViewTwoClickActivate = 1u << 18,
    ListViewFlatScrollBars = 1u << 19,
    ListViewRegional = 1u << 20,
    ListViewInfoTip = 1u << 21,
    ListViewUnderlineHot = 1u << 22,
    ListViewMultiWorkAreas = 1u << 23,
    ListViewOwnerData = 1u << 24,
    ListViewOwnerDrawFixed = 1u << 25,
};

// Row state set: the platform's LVIS_ bits.
enum RowStates : unsigned {
    RowFocused = 0x01,
    RowSelected = 0x02,
    RowCut = 0x04,
    RowDropHighlighted = 0x08,
};

// Column alignment of AddColumn.
enum ColumnAlignment { ColumnLeft = 0, ColumnRight = 1, ColumnCentre = 2 };

// Window style bits of an option set (without the view and the constructor's base). The
// sort options give none: a sorting list view keeps its rows in order through InsertRow,
// not through the platform control's own sorting.
DWORD ListViewStyleOf(std::uint32_t options);
// Extended list-view style bits of an option set.
DWORD ListViewExtendedStyleOf(std::uint32_t options);

// The list view's action record (LVM_DELETEALLITEMS, LVM_GETITEMCOUNT, LVM_SETBKCOLOR,
// ..., and the after-create step that applies the styles).
const ControlActions& ListViewActions();

// A child list view of size 200 x 150; view as ListViewView, options a set of
// ListViewOptions, image lists may be nullptr. The window is created on first need.
Control* CreateListView(Control* parent, int view, std::uint32_t options, HIMAGELIST normalImages,
                        HIMAGELIST smallImages, HIMAGELIST stateImages);

// Appends a column. alignment as ColumnAlignment; a negative width puts the header's
// bitmap on the right and uses the absolute width; 0 leaves the width to the control.
void AddColumn(Control* listView, const std::string& caption, int width, int alignment);

// Inserts a row whose column 0 text is text; returns the index where it landed, -1 when
// the control refuses. With a sort option the row goes to its sorted position instead of
// index (found by binary search, see SortedRowIndex in control/SortedRows.h).
int InsertRow(Control* listView, int index, const std::string& text);
// InsertRow at the current row count.
int AddRow(Control* listView, const std::string& text);

// Writes one cell. For column 0 the same request sets the row's data and its state set
// (states as RowStates; overlay and state image -2 leave theirs unchanged, image -2
// leaves the image unchanged). For other columns only the text changes. A refusal for
// column 0 (no such row) is an internal error "Can not set item " (see
// control/InternalError.h); for other columns it is ignored. False when refused.
bool SetCell(Control* listView, int row, int column, LPARAM data, int overlay, int stateImage,
             unsigned states, int image, const std::string& text);
// The plain form: data 0, overlay -2, state image -2, no states, image -2.
bool SetCell(Control* listView, int row, int column, const std::string& text);

// The whole text of a cell; empty for an empty cell or a row that does not exist.
std::string GetCell(Control* listView, int row, int column);

int RowCount(Control* listView);
// The row's state set (RowStates); 0 for a row that does not exist.
unsigned RowState(Control* listView, int row);
bool IsRowSelected(Control* listView, int row);
// Replaces the four state flags of the row (-1: of every row).
void SetRowState(Control* listView, int row, unsigned states);
// Every row becomes selected and loses focus, cut and drop-highlight.
void SelectAllRows(Control* listView);
// Clears the state of every row (with multi-select, or when row is not the first
// selected row), then makes row focused and selected when row >= 0.
void SelectOnlyRow(Control* listView, int row);
// The first selected row, -1 when there is none.
int FirstSelectedRow(Control* listView);
// The first selected row after row (-1: from the start), -1 when there is none.
int NextSelectedRow(Control* listView, int row);
// The row with the focus flag, -1 when there is none.
int FocusedRow(Control* listView);
// Removes the row; a row that does not exist (including -1) changes nothing.
void DeleteRow(Control* listView, int row);
void ClearRows(Control* listView);

// Reorders all rows by the texts of column, compared case-insensitively in the user's
// locale: ascending with the sort-ascending option, descending with sort-descending,
// unchanged order otherwise. Remembers column as the sort column.
void SortRowsByColumn(Control* listView, int column);

void SetColumnWidth(Control* listView, int column, int width);

// procedure(context, listView, column) runs when a column header is clicked.
Control* SetColumnClickEvent(Control* listView, ColumnClickProc procedure, void* context);
