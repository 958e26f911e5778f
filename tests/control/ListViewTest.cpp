#include "control/InternalError.h"
#include "control/ListView.h"
#include "control/WideText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const std::uint32_t ProgramOptions = 0x00018B00;

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "List view test");
        form_->SetClientSize(700, 400);
    }

    void TearDown() override {
        SetInternalErrorHandler(nullptr, nullptr);
        form_->Release();
    }

    // A report list view with three columns and its window.
    Control* MakeList(std::uint32_t options = ProgramOptions, int view = ListViewReport) {
        Control* list = CreateListView(form_, view, options, nullptr, nullptr, nullptr);
        list->SetPosition(0, 0)->Resize(600, 300);
        AddColumn(list, "Name", 150, ColumnLeft);
        AddColumn(list, "Path", 200, ColumnLeft);
        AddColumn(list, "Size (bytes)", 100, ColumnRight);
        AddColumn(list, "Status", 100, ColumnCentre);
        EXPECT_NE(list->WindowHandle(), nullptr);
        return list;
    }

    static std::vector<std::string> Names(Control* list) {
        std::vector<std::string> names;
        for (int row = 0; row < RowCount(list); ++row)
            names.push_back(GetCell(list, row, 0));
        return names;
    }

    Control* form_ = nullptr;
};

// Clicks the header of column with the mouse messages a user's click produces.
void ClickColumnHeader(Control* list, int column) {
    HWND header = reinterpret_cast<HWND>(list->Send(LVM_GETHEADER));
    ASSERT_NE(header, nullptr);
    RECT rect = {};
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                             reinterpret_cast<LPARAM>(&rect)));
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(header, WM_MOUSEMOVE, 0, point);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(header, WM_LBUTTONUP, 0, point);
}

TEST_F(ListViewTest, ProgramOptionsGiveReportMultiSelectSortedListWithExtendedStyles) {
    Control* list = MakeList();
    DWORD style = static_cast<DWORD>(GetWindowLongA(list->Handle, GWL_STYLE));
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    // The layer keeps the rows in ascending order itself; the control is not asked to sort.
    EXPECT_EQ(list->ListViewOptions & ListViewSortAscending, ListViewSortAscending);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0u);
    for (const char* name : {"b", "C", "a"})
        AddRow(list, name);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_NE(style & LVS_SHOWSELALWAYS, 0u);
    EXPECT_NE(style & LVS_SHAREIMAGELISTS, 0u);
    EXPECT_NE(style & WS_TABSTOP, 0u);
    EXPECT_EQ(style & (LVS_SINGLESEL | LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER), 0u);
    EXPECT_NE(GetWindowLongA(list->Handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    DWORD extended = static_cast<DWORD>(list->Send(LVM_GETEXTENDEDLISTVIEWSTYLE));
    EXPECT_EQ(extended & 0x3FFF,
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT));
    char className[32] = {};
    GetClassNameA(list->Handle, className, sizeof(className));
    EXPECT_STREQ(className, "obj_SysListView32");
}

TEST_F(ListViewTest, AbsentOptionsGiveSingleSelectionAndNoHeaderView) {
    Control* list = MakeList(ListViewHideSelection | ListViewSortDescending | ListViewCheckBoxes,
                             ListViewReportNoHeader);
    DWORD style = static_cast<DWORD>(GetWindowLongA(list->Handle, GWL_STYLE));
    EXPECT_NE(style & LVS_SINGLESEL, 0u);
    EXPECT_EQ(style & LVS_SHOWSELALWAYS, 0u);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0u);
    for (const char* name : {"b", "C", "a"})
        AddRow(list, name);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"C", "b", "a"}));
    EXPECT_NE(style & LVS_NOCOLUMNHEADER, 0u);
    EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    EXPECT_EQ(list->Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & 0x3FFF, LVS_EX_CHECKBOXES);
}

TEST_F(ListViewTest, InsertRowWithoutSortingKeepsTheRequestedIndex) {
    Control* list = MakeList(ListViewMultiSelect);
    EXPECT_EQ(AddRow(list, "z"), 0);
    EXPECT_EQ(AddRow(list, "a"), 1);
    EXPECT_EQ(InsertRow(list, 1, "m"), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"z", "m", "a"}));
}

// Names as a folder tree yields them and worse: letters of both cases, digits, blanks,
// punctuation, accented letters of the ANSI code page, names met before and names that
// differ from an earlier one only in case. With wordMarks, hyphens and apostrophes too.
std::vector<std::string> RandomNames(int count, unsigned seed, bool wordMarks) {
    // Letters, digits, blanks, punctuation and accented letters (UTF-8: the test runs with
    // the program's code page).
    std::vector<std::string> characters;
    for (const char c :
         std::string("AaBbEeMmZz0179 _.,;!~&()[]{}+=#%$@^") + (wordMarks ? "-'-'" : ""))
        characters.push_back(std::string(1, c));
    for (const wchar_t c :
         std::wstring(L"\u00C0\u00E0\u00C4\u00E4\u00C5\u00E5\u00C9\u00E9\u00C8\u00E8\u00D1\u00F1"
                      L"\u00D6\u00F6\u00DC\u00FC\u00DF\u00C7\u00E7\u0160\u0161\u00C6\u00E6"))
        characters.push_back(AnsiText(std::wstring(1, c)));
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const unsigned kind = (seed >> 16) % 10;
        if (kind == 0 && !names.empty()) {
            names.push_back(names[(seed >> 8) % names.size()]);
            continue;
        }
        if (kind == 1 && !names.empty()) {
            std::wstring variant = WideText(names[(seed >> 8) % names.size()]);
            for (wchar_t& c : variant) {
                if (IsCharUpperW(c))
                    CharLowerBuffW(&c, 1);
                else
                    CharUpperBuffW(&c, 1);
            }
            names.push_back(AnsiText(variant));
            continue;
        }
        std::string name;
        const unsigned length = 1 + (seed >> 4) % 12;
        for (unsigned c = 0; c < length; ++c) {
            seed = seed * 1103515245u + 12345u;
            name += characters[(seed >> 16) % characters.size()];
        }
        names.push_back(name);
    }
    return names;
}

// A bare platform list view that sorts its rows itself.
HWND PlatformSortedList(HWND parent, DWORD sortStyle) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | sortStyle, 0, 0, 300,
                                200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>("Name");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    return list;
}

int PlatformInsert(HWND list, const std::string& name) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(name.c_str());
    return static_cast<int>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

std::vector<std::string> PlatformNames(HWND list) {
    std::vector<std::string> names;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<char> buffer(4096, '\0');
        LVITEMA item = {};
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        names.push_back(buffer.data());
    }
    return names;
}

struct SortCase {
    std::uint32_t Options;
    DWORD PlatformStyle;
    int Direction;
};
const SortCase Ascending{ProgramOptions, LVS_SORTASCENDING, 1};
const SortCase Descending{ListViewMultiSelect | ListViewSortDescending, LVS_SORTDESCENDING, -1};

TEST_F(ListViewTest, SortedInsertionPlacesEveryRowWhereThePlatformControlDoes) {
    for (const SortCase& order : {Ascending, Descending}) {
        Control* list = MakeList(order.Options);
        HWND platform = PlatformSortedList(form_->Handle, order.PlatformStyle);
        std::vector<std::string> names =
            RandomNames(order.Direction > 0 ? 2000 : 500, 20240611u, false);
        // Long names whose difference lies beyond the first thousand characters.
        names.push_back(std::string(1500, 'q') + "b");
        names.push_back(std::string(1500, 'Q') + "a");
        names.push_back(std::string(1500, 'q') + "A");
        int differences = 0;
        for (const std::string& name : names) {
            const int landed = AddRow(list, name);
            const int platformLanded = PlatformInsert(platform, name);
            EXPECT_EQ(GetCell(list, landed, 0), name);
            if (landed != platformLanded && ++differences <= 5)
                ADD_FAILURE() << "\"" << name << "\" landed at " << landed << ", the platform's at "
                              << platformLanded;
        }
        EXPECT_EQ(differences, 0) << "direction " << order.Direction;
        EXPECT_EQ(Names(list), PlatformNames(platform)) << "direction " << order.Direction;
        DestroyWindow(platform);
    }
}

// The locale weighs hyphens and apostrophes after case. The platform control compares
// minding case, so it can put such a name against the case-insensitive order (for
// example "-\u00E6" before "\u00C6-"); the layer keeps that order for every name.
TEST_F(ListViewTest, SortedInsertionKeepsTheCaseInsensitiveOrderWithHyphensAndApostrophes) {
    for (const SortCase& order : {Ascending, Descending}) {
        Control* list = MakeList(order.Options);
        HWND platform = PlatformSortedList(form_->Handle, order.PlatformStyle);
        const std::vector<std::string> names = RandomNames(1000, 77u, true);
        for (const std::string& name : names) {
            EXPECT_EQ(GetCell(list, AddRow(list, name), 0), name);
            PlatformInsert(platform, name);
        }
        const std::vector<std::string> rows = Names(list);
        for (size_t row = 1; row < rows.size(); ++row) {
            const int comparison =
                CompareWideTextIgnoringCase(WideText(rows[row - 1]), WideText(rows[row]));
            EXPECT_LE(comparison * order.Direction, 0) << "rows " << row - 1 << " and " << row;
        }
        std::vector<std::string> platformRows = PlatformNames(platform);
        std::vector<std::string> sortedRows = rows;
        std::sort(platformRows.begin(), platformRows.end());
        std::sort(sortedRows.begin(), sortedRows.end());
        EXPECT_EQ(sortedRows, platformRows);
        DestroyWindow(platform);
    }
}

TEST_F(ListViewTest, WritingTheNameCellClearsTheRowStateOtherCellsDoNot) {
    Control* list = MakeList();
    AddRow(list, "a");
    AddRow(list, "b");
    SetRowState(list, 0, RowSelected | RowFocused);
    SetRowState(list, 1, RowSelected | RowCut);

    SetCell(list, 0, 3, "Restored");
    EXPECT_EQ(RowState(list, 0), static_cast<unsigned>(RowSelected | RowFocused));
    SetCell(list, 1, 0, "b-renamed");
    EXPECT_EQ(RowState(list, 1), 0u);
    EXPECT_FALSE(IsRowSelected(list, 1));
    EXPECT_EQ(GetCell(list, 1, 0), "b-renamed");
    EXPECT_EQ(GetCell(list, 0, 3), "Restored");
}

TEST_F(ListViewTest, SettingTheNameCellOfAMissingRowIsAnInternalErrorOtherCellsAreIgnored) {
    Control* list = MakeList();
    AddRow(list, "a");
    std::vector<std::string> errors;
    SetInternalErrorHandler(
        [](void* context, const std::string& message) {
            static_cast<std::vector<std::string>*>(context)->push_back(message);
        },
        &errors);

    EXPECT_FALSE(SetCell(list, 7, 2, "1,234"));
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(SetCell(list, 7, 0, "x"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Can not set item ", 0), 0u);
    EXPECT_EQ(RowCount(list), 1);
    EXPECT_EQ(GetCell(list, 0, 0), "a");
}

TEST_F(ListViewTest, LongCellTextsAreReadBackWhole) {
    Control* list = MakeList();
    AddRow(list, "row");
    for (size_t length : {98u, 99u, 100u, 298u, 299u, 5000u}) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += static_cast<char>('a' + i % 26);
        SetCell(list, 0, 1, text);
        EXPECT_EQ(GetCell(list, 0, 1), text) << "length " << length;
    }
    EXPECT_EQ(GetCell(list, 5, 1), "");
    EXPECT_EQ(GetCell(list, -1, 0), "");
}

TEST_F(ListViewTest, SelectAllRowsSelectsEveryRowAndClearsFocusAndCut) {
    Control* list = MakeList();
    for (const char* name : {"a", "b", "c"})
        AddRow(list, name);
    SetRowState(list, 0, RowFocused);
    SetRowState(list, 1, RowCut | RowDropHighlighted);
    SelectAllRows(list);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(RowState(list, row), static_cast<unsigned>(RowSelected)) << "row " << row;
    EXPECT_EQ(FocusedRow(list), -1);

    SetRowState(list, -1, RowCut);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(RowState(list, row), static_cast<unsigned>(RowCut));
    EXPECT_EQ(FirstSelectedRow(list), -1);
}

TEST_F(ListViewTest, SelectedAndFocusedRowsAreFoundFromAGivenRow) {
    Control* list = MakeList();
    for (const char* name : {"r0", "r1", "r2", "r3", "r4", "r5"})
        AddRow(list, name);
    EXPECT_EQ(NextSelectedRow(list, -1), -1);
    EXPECT_EQ(FocusedRow(list), -1);
    SetRowState(list, 2, RowSelected);
    SetRowState(list, 5, RowSelected | RowFocused);
    EXPECT_EQ(FirstSelectedRow(list), 2);
    EXPECT_EQ(NextSelectedRow(list, -1), 2);
    EXPECT_EQ(NextSelectedRow(list, 2), 5);
    EXPECT_EQ(NextSelectedRow(list, 5), -1);
    EXPECT_EQ(FocusedRow(list), 5);
    EXPECT_EQ(list->CurrentIndex(), 2);
    EXPECT_EQ(list->Send(LVM_GETSELECTEDCOUNT), 2);
}

TEST_F(ListViewTest, SelectOnlyRowLeavesExactlyThatRowFocusedAndSelected) {
    Control* list = MakeList();
    for (const char* name : {"a", "b", "c", "d"})
        AddRow(list, name);
    SelectAllRows(list);
    SelectOnlyRow(list, 2);
    EXPECT_EQ(RowState(list, 0), 0u);
    EXPECT_EQ(RowState(list, 2), static_cast<unsigned>(RowFocused | RowSelected));
    EXPECT_EQ(NextSelectedRow(list, 2), -1);
    SelectOnlyRow(list, -1);
    EXPECT_EQ(FirstSelectedRow(list), -1);
    EXPECT_EQ(FocusedRow(list), -1);
}

TEST_F(ListViewTest, DeleteListLoopRemovesExactlyTheSelectedRows) {
    Control* list = MakeList();
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        AddRow(list, name);
    for (int row : {0, 2, 3, 5})
        SetRowState(list, row, RowSelected);
    for (int row = NextSelectedRow(list, -1); row != -1; row = NextSelectedRow(list, -1))
        DeleteRow(list, row);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "e"}));

    DeleteRow(list, -1);
    DeleteRow(list, 2);
    EXPECT_EQ(RowCount(list), 2);
    SelectAllRows(list);
    for (int row = NextSelectedRow(list, -1); row != -1; row = NextSelectedRow(list, -1))
        DeleteRow(list, row);
    EXPECT_EQ(RowCount(list), 0);
}

TEST_F(ListViewTest, ClearRowsRemovesEveryRow) {
    Control* list = MakeList();
    for (const char* name : {"a", "b", "c"})
        AddRow(list, name);
    ClearRows(list);
    EXPECT_EQ(RowCount(list), 0);
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(AddRow(list, "x"), 0);
}

TEST_F(ListViewTest, SortingComparesColumnTextsIgnoringCase) {
    Control* list = MakeList();
    // "a" before "B" holds only ignoring case (byte order puts capitals first); "Q" and
    // "q", "r" and "R" are equal then and keep the rows' previous (name) order, which a
    // comparison that weighs case would turn round for one of the two pairs.
    const char* rows[][2] = {{"a", "999"},   {"b", "1,000"}, {"c", "12"}, {"d", "Beta"},
                             {"e", "alpha"}, {"f", "B"},     {"g", "a"},  {"h", "Q"},
                             {"i", "q"},     {"j", "r"},     {"k", "R"}};
    for (auto& row : rows)
        SetCell(list, AddRow(list, row[0]), 2, row[1]);
    SortRowsByColumn(list, 2);
    EXPECT_EQ(list->SortColumn, 2);
    std::vector<std::string> sizes;
    for (int row = 0; row < RowCount(list); ++row)
        sizes.push_back(GetCell(list, row, 2));
    EXPECT_EQ(sizes, (std::vector<std::string>{"1,000", "12", "999", "a", "alpha", "B", "Beta", "Q",
                                               "q", "r", "R"}));
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"b", "c", "a", "g", "e", "f", "d", "h", "i", "j", "k"}));
}

TEST_F(ListViewTest, SortingManyRowsKeepsEachRowTogether) {
    Control* list = MakeList();
    const int count = 300;
    for (int i = 0; i < count; ++i) {
        int key = (i * 7919) % count;
        std::string name = "n" + std::to_string(1000 + i);
        SetCell(list, AddRow(list, name), 1, "k" + std::to_string(1000 + key) + "-" + name);
    }
    SortRowsByColumn(list, 1);
    for (int row = 0; row < count; ++row) {
        std::string path = GetCell(list, row, 1);
        EXPECT_EQ(path.substr(6), GetCell(list, row, 0)) << "row " << row;
        if (row > 0) {
            EXPECT_LT(GetCell(list, row - 1, 1), path);
        }
    }
}

TEST_F(ListViewTest, SortingKeepsEachRowsDataAndEqualTextsInTheirOrder) {
    Control* list = MakeList();
    const char* names[] = {"a", "b", "c", "d"};
    const char* keys[] = {"same", "z", "same", "a"};
    for (int i = 0; i < 4; ++i) {
        int row = AddRow(list, names[i]);
        SetCell(list, row, 0, 1000 + i, -2, -2, 0, -2, names[i]);
        SetCell(list, row, 1, keys[i]);
    }
    SortRowsByColumn(list, 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"d", "a", "c", "b"}));
    for (int row = 0; row < 4; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ASSERT_TRUE(list->Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.lParam, 1000 + (GetCell(list, row, 0)[0] - 'a')) << "row " << row;
    }
}

TEST_F(ListViewTest, SortingWithDescendingOrNoSortOption) {
    // Sorted by the Path column, whose keys give an order that differs from the one the
    // rows have before (a list with the descending option keeps itself in descending name
    // order) and from the ascending one.
    Control* descending = MakeList(ListViewMultiSelect | ListViewSortDescending);
    const char* descendingRows[][2] = {{"b", "x"}, {"c", "y"}, {"a", "z"}};
    for (auto& row : descendingRows)
        SetCell(descending, AddRow(descending, row[0]), 1, row[1]);
    ASSERT_EQ(Names(descending), (std::vector<std::string>{"c", "b", "a"}));
    SortRowsByColumn(descending, 1);
    EXPECT_EQ(Names(descending), (std::vector<std::string>{"a", "c", "b"}));
    SortRowsByColumn(descending, 0);
    EXPECT_EQ(Names(descending), (std::vector<std::string>{"c", "b", "a"}));

    Control* unsorted = MakeList(ListViewMultiSelect);
    const char* unsortedRows[][2] = {{"b", "y"}, {"c", "z"}, {"a", "x"}};
    for (auto& row : unsortedRows)
        SetCell(unsorted, AddRow(unsorted, row[0]), 1, row[1]);
    SortRowsByColumn(unsorted, 1);
    EXPECT_EQ(Names(unsorted), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(unsorted->SortColumn, 1);
    SortRowsByColumn(unsorted, 0);
    EXPECT_EQ(Names(unsorted), (std::vector<std::string>{"b", "c", "a"}));
}

TEST_F(ListViewTest, ColumnHeaderClickRaisesColumnClickEventWithTheColumn) {
    Control* list = MakeList();
    struct Clicks {
        std::vector<int> Columns;
        Control* Sender = nullptr;
    } clicks;
    SetColumnClickEvent(
        list,
        [](void* context, Control* sender, int column) {
            Clicks* c = static_cast<Clicks*>(context);
            c->Columns.push_back(column);
            c->Sender = sender;
        },
        &clicks);
    ClickColumnHeader(list, 2);
    ClickColumnHeader(list, 0);
    EXPECT_EQ(clicks.Columns, (std::vector<int>{2, 0}));
    EXPECT_EQ(clicks.Sender, list);
}

TEST_F(ListViewTest, ColumnsAndWidths) {
    Control* list = MakeList();
    EXPECT_EQ(list->ColumnCount, 4);
    AddColumn(list, "Information", -120, ColumnLeft);
    EXPECT_EQ(list->ColumnCount, 5);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    ASSERT_TRUE(list->Send(LVM_GETCOLUMNA, 4, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(column.cx, 120);
    EXPECT_NE(column.fmt & LVCFMT_BITMAP_ON_RIGHT, 0);
    column.mask = LVCF_FMT;
    ASSERT_TRUE(list->Send(LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

    SetColumnWidth(list, 4, 245);
    EXPECT_EQ(list->Send(LVM_GETCOLUMNWIDTH, 4), 245);
}

TEST_F(ListViewTest, SetColourSetsTheListBackground) {
    Control* list = MakeList();
    list->SetColour(0x00123456);
    EXPECT_EQ(static_cast<COLORREF>(list->Send(LVM_GETBKCOLOR)), static_cast<COLORREF>(0x00123456));
    list->SetColour(0x80000005);
    EXPECT_EQ(static_cast<COLORREF>(list->Send(LVM_GETBKCOLOR)), GetSysColor(COLOR_WINDOW));
}

}  // namespace
