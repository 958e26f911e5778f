#include "search/ResultList.h"

namespace {

void SortOnClick(void* searching, Control* sender, int column) {
    const std::uint8_t* flag = static_cast<const std::uint8_t*>(searching);
    ResultList(sender).SortOnColumnClick(column, flag != nullptr && *flag != 0);
}

}  // namespace

void ResultList::AddColumn(const std::string& caption, int alignment, int width) {
    ::AddColumn(view_, caption, width, alignment);
}

void ResultList::AddStandardColumns() {
    AddColumn("Name", ColumnLeft, 150);
    AddColumn("Path", ColumnLeft, 200);
    AddColumn("Size (bytes)", ColumnRight, 100);
    AddColumn("Status", ColumnCentre, 100);
    AddColumn("Information", ColumnLeft, 100);
}

int ResultList::AddRow(const std::string& name) {
    return ::AddRow(view_, name);
}

void ResultList::SetCell(int row, int column, const std::string& text) {
    ::SetCell(view_, row, column, text);
}

std::string ResultList::GetCell(int row, int column) const {
    return ::GetCell(view_, row, column);
}

int ResultList::RowCount() const {
    return ::RowCount(view_);
}

bool ResultList::IsRowSelected(int row) const {
    return ::IsRowSelected(view_, row);
}

int ResultList::NextSelectedRow(int after) const {
    return ::NextSelectedRow(view_, after);
}

int ResultList::FocusedRow() const {
    return ::FocusedRow(view_);
}

void ResultList::DeleteRow(int row) {
    ::DeleteRow(view_, row);
}

void ResultList::ClearRows() {
    ::ClearRows(view_);
}

void ResultList::SetRowState(int row, unsigned states) {
    ::SetRowState(view_, row, states);
}

void ResultList::SelectAllRows() {
    ::SelectAllRows(view_);
}

void ResultList::SelectOnlyRow(int row) {
    ::SelectOnlyRow(view_, row);
}

void ResultList::SortRowsByColumn(int column) {
    ::SortRowsByColumn(view_, column);
}

void ResultList::SortOnColumnClick(int column, bool searching) {
    if (!searching)
        SortRowsByColumn(column);
}

Control* CreateResultListView(Control* parent) {
    Control* listView =
        CreateListView(parent, ListViewReport, ResultListOptions, nullptr, nullptr, nullptr);
    ResultList(listView).AddStandardColumns();
    return listView;
}

void AttachColumnSorting(Control* listView, const std::uint8_t* searching) {
    SetColumnClickEvent(listView, SortOnClick, const_cast<std::uint8_t*>(searching));
}
