// Texts in every script through the control layer: the conversions themselves, and the
// list view, edits and message boxes showing UTF-8 texts as the characters they are.
#include "control/Control.h"
#include "control/ListView.h"
#include "control/MessageBox.h"
#include "control/WideText.h"

#include "support/MessageBoxAnswerer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const std::string ReportRu = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.exe";  // отчёт.exe
const std::wstring ReportRuWide = L"\x043E\x0442\x0447\x0451\x0442.exe";
const std::string ReportCn = "\xE6\x8A\xA5\xE5\x91\x8A.exe";  // 报告.exe
const std::wstring ReportCnWide = L"\x62A5\x544A.exe";
const std::string Smile = "x\xF0\x9F\x98\x80.exe";  // x😀.exe
const std::wstring SmileWide = L"x\xD83D\xDE00.exe";

std::wstring ListCellAsShown(Control* list, int row, int column) {
    wchar_t text[2048] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 2048;
    SendMessageW(list->Handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

class WideTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Texts test");
        form_->SetClientSize(700, 400);
        list_ = CreateListView(form_, ListViewReport,
                               ListViewMultiSelect | ListViewSortAscending | ListViewGridLines |
                                   ListViewHeaderDragDrop | ListViewFullRowSelect,
                               nullptr, nullptr, nullptr);
        list_->SetPosition(0, 0)->Resize(600, 300);
        AddColumn(list_, "Name", 150, ColumnLeft);
        AddColumn(list_, "Path", 200, ColumnLeft);
        edit_ = CreateEdit(form_, 0);
        ASSERT_NE(list_->WindowHandle(), nullptr);
        ASSERT_NE(edit_->WindowHandle(), nullptr);
    }
    void TearDown() override { form_->Release(); }

    Control* form_ = nullptr;
    Control* list_ = nullptr;
    Control* edit_ = nullptr;
};

}  // namespace

TEST(WideText, ConvertsBetweenTheCodePageAndUtf16) {
    ASSERT_EQ(GetACP(), 65001u) << "the test program carries the program's manifest";
    EXPECT_EQ(WideText(ReportRu), ReportRuWide);
    EXPECT_EQ(WideText(Smile), SmileWide);
    EXPECT_EQ(AnsiText(ReportCnWide), ReportCn);
    EXPECT_EQ(AnsiText(SmileWide), Smile);
    EXPECT_EQ(WideText(""), L"");
    EXPECT_EQ(AnsiText(L""), "");
    EXPECT_EQ(WideText("a\xFF"
                       "b"),
              L"a\xFFFD"
              L"b");
}

TEST(WideText, ComparisonIgnoresCaseInEveryScript) {
    EXPECT_EQ(CompareWideTextIgnoringCase(ReportRuWide, L"\x041E\x0422\x0427\x0401\x0422.EXE"), 0);
    EXPECT_LT(CompareWideTextIgnoringCase(L"arbeit", L"\x00C4rger"), 0);
    EXPECT_LT(CompareWideTextIgnoringCase(L"\x00C4rger", L"b"), 0);
    EXPECT_GT(CompareWideTextIgnoringCase(L"Zebra", L"\x00E4rger"), 0);
}

TEST_F(WideTextTest, ListCellsShowTheCharactersAndLongCellsComeBackWhole) {
    AddRow(list_, ReportRu);
    SetCell(list_, 0, 1, "C:\\" + ReportCn + "\\");
    EXPECT_EQ(ListCellAsShown(list_, 0, 0), ReportRuWide);
    EXPECT_EQ(ListCellAsShown(list_, 0, 1), L"C:\\" + ReportCnWide + L"\\");
    // Texts of two-, three- and four-byte characters around the sizes GetCell asks for.
    for (const std::string& unit :
         {std::string("\xD0\x96"), std::string("\xE6\x8A\xA5"), std::string("\xF0\x9F\x98\x80")}) {
        for (size_t count : {30u, 33u, 49u, 50u, 99u, 100u, 233u, 400u}) {
            std::string text;
            for (size_t i = 0; i < count; ++i)
                text += unit;
            SetCell(list_, 0, 1, text);
            EXPECT_EQ(GetCell(list_, 0, 1), text) << unit.size() << " bytes x " << count;
        }
    }
}

TEST_F(WideTextTest, RowsOfEveryScriptSortLikeThePlatformsComparison) {
    const std::vector<std::string> names = {
        "Zebra.exe", "\xC3\x84rger.exe",     "arbeit.exe", ReportRu, ReportCn,
        Smile,       "\xD0\x90\xD0\xB1.exe", "b.exe"};
    for (const std::string& name : names)
        AddRow(list_, name);
    SortRowsByColumn(list_, 0);
    ASSERT_EQ(RowCount(list_), static_cast<int>(names.size()));
    for (int row = 1; row < RowCount(list_); ++row) {
        const std::wstring previous = ListCellAsShown(list_, row - 1, 0);
        const std::wstring current = ListCellAsShown(list_, row, 0);
        EXPECT_LE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1,
                                 current.c_str(), -1),
                  CSTR_EQUAL)
            << row;
    }
}

TEST_F(WideTextTest, EditsShowAndGiveBackTheCharacters) {
    edit_->SetText("C:\\" + ReportCn);
    wchar_t shown[256] = {};
    GetWindowTextW(edit_->Handle, shown, 256);
    EXPECT_EQ(std::wstring(shown), L"C:\\" + ReportCnWide);
    SetWindowTextW(edit_->Handle, (L"D:\\" + SmileWide).c_str());
    EXPECT_EQ(edit_->GetText(), "D:\\" + Smile);
}

TEST(WideTextMessageBox, MessageBoxesShowTheCharacters) {
    MessageBoxAnswerer answerer(IDOK);
    ShowMessageBox("Restored " + ReportRu + " and " + Smile, MB_ICONINFORMATION);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].TextAsShown, L"Restored " + ReportRuWide + L" and " + SmileWide);
}
