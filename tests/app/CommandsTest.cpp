// The main window's small commands on a main window built in-process: deleting and
// renaming the selected files, the list commands, the Delete key, the option warning,
// the about box and the push buttons' colours.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/Unit1.h"
#include "control/Control.h"
#include "control/ListView.h"
#include "control/MessageLoop.h"
#include "control/UniqueHandle.h"
#include "search/ResultList.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ProgramTexts.h"
#include "support/ScratchFolder.h"
#include "support/ScriptNames.h"

namespace {

const char* const DeleteQuestion =
    "Are you sure you want to delete the selected files ?\r\nThis will delete the files";
const char* const RenameQuestion = "Are you sure you rename the selected files ?";

class CommandsTest : public MainWindowFixture {
protected:
    CommandsTest() : MainWindowFixture(IDYES), files("qf-commands") {}

    void SetUp() override {
        MainWindowFixture::SetUp();
        rows = std::make_unique<ResultList>(window_->ResultListView);
    }

    // A row for a file written in the scratch folder, as the search lists it.
    int ListFile(const std::string& relative, const std::string& status = "") {
        const std::string path = files.WriteFile(relative, relative);
        const std::string::size_type slash = path.rfind('\\');
        const int row = rows->AddRow(path.substr(slash + 1));
        rows->SetCell(row, PathColumn, path.substr(0, slash + 1));
        rows->SetCell(row, SizeColumn, "1");
        rows->SetCell(row, StatusColumn, status);
        return row;
    }

    int RowOf(const std::string& name) {
        for (int row = 0; row < rows->RowCount(); ++row) {
            if (rows->GetCell(row, NameColumn) == name) {
                return row;
            }
        }
        return -1;
    }

    void Select(std::initializer_list<const char*> names) {
        rows->SetRowState(-1, 0);
        for (const char* name : names) {
            ASSERT_GE(RowOf(name), 0) << name;
            rows->SetRowState(RowOf(name), RowSelected);
        }
    }

    std::vector<std::string> Row(int row) {
        std::vector<std::string> cells;
        for (int column = 0; column < 5; ++column) {
            cells.push_back(rows->GetCell(row, column));
        }
        return cells;
    }

    scratch::ScratchFolder files;
    std::unique_ptr<ResultList> rows;
};

TEST_F(CommandsTest, EmptyListOrNoSelectionDoesNothingToFiles) {
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    EXPECT_TRUE(answerer_.Boxes().empty()) << "an empty list shows nothing";

    ListFile("a.exe");
    ListFile("b.exe");
    rows->SetRowState(-1, 0);
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    window_->RenameFilesEdit->SetText("");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 2u);
    for (const AnsweredBox& box : answerer_.MessageBoxes()) {
        EXPECT_EQ(box.Text, "Select the file from the list first");
        EXPECT_EQ(box.Flags, uint32_t{MB_ICONINFORMATION});
        EXPECT_EQ(box.Caption, ProgramTitle);
    }
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));
}

TEST_F(CommandsTest, DeleteRemovesSelectedFilesAndEmptiesTheirRowsButStatus) {
    ListFile("a.exe", "OK... Fixed");
    ListFile("b.exe", "Not Detected");
    ListFile("c.exe");
    Select({"a.exe", "c.exe"});
    window_->RenameFilesEdit->SetText("   ");  // the rename extension plays no part here

    answerer_.Enqueue(IDNO);
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 1u);
    EXPECT_EQ(answerer_.MessageBoxes()[0].Text, DeleteQuestion);
    EXPECT_EQ(answerer_.MessageBoxes()[0].Flags, uint32_t{MB_YESNO | MB_ICONWARNING});
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));
    EXPECT_EQ(rows->GetCell(0, NameColumn), "a.exe");

    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    EXPECT_EQ(answerer_.MessageBoxes().size(), 2u) << "no summary after the question";
    EXPECT_FALSE(scratch::FileExists(files.Path("a.exe")));
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));
    EXPECT_FALSE(scratch::FileExists(files.Path("c.exe")));
    ASSERT_EQ(rows->RowCount(), 3);
    EXPECT_EQ(Row(0), std::vector<std::string>({"", "", "", "OK... Fixed", ""}));
    EXPECT_EQ(Row(1)[NameColumn], "b.exe");
    EXPECT_EQ(Row(2), std::vector<std::string>({"", "", "", "", ""}));
    EXPECT_FALSE(rows->IsRowSelected(0));
    EXPECT_FALSE(rows->IsRowSelected(2));

    // Deleting an emptied row again fails silently: its file name is empty.
    rows->SetRowState(0, RowSelected);
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    EXPECT_EQ(Row(0), std::vector<std::string>({"", "", "", "OK... Fixed", ""}));
    EXPECT_TRUE(rows->IsRowSelected(0));
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));
}

TEST_F(CommandsTest, RenameReplacesOnlyTheExtensionOfTheFileName) {
    ListFile("a.exe");
    ListFile("abc.dll.exe");
    ListFile("noext");
    ListFile("v1.2\\readme");
    ListFile("v1.2\\setup.exe");
    ListFile("keep.exe");
    Select({"a.exe", "abc.dll.exe", "noext", "readme", "setup.exe"});
    window_->RenameFilesEdit->SetText(" vrs ");

    answerer_.Enqueue(IDNO);
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 1u);
    EXPECT_EQ(answerer_.MessageBoxes()[0].Text, RenameQuestion);
    EXPECT_EQ(answerer_.MessageBoxes()[0].Flags, uint32_t{MB_YESNO | MB_ICONQUESTION});
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));

    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    for (const char* renamed :
         {"a.vrs", "abc.dll.vrs", "noext.vrs", "v1.2\\readme.vrs", "v1.2\\setup.vrs"}) {
        EXPECT_TRUE(scratch::FileExists(files.Path(renamed))) << renamed;
    }
    EXPECT_FALSE(scratch::FileExists(files.Path("v1.vrs"))) << "a file was moved out of its folder";
    EXPECT_TRUE(scratch::FileExists(files.Path("keep.exe")));
    for (const char* name : {"a.vrs", "abc.dll.vrs", "noext.vrs", "readme.vrs", "setup.vrs"}) {
        const int row = RowOf(name);
        ASSERT_GE(row, 0) << name;
        EXPECT_FALSE(rows->IsRowSelected(row)) << name;
        EXPECT_EQ(rows->GetCell(row, SizeColumn), "1") << "other cells stay";
    }
    EXPECT_EQ(rows->GetCell(RowOf("readme.vrs"), PathColumn), files.Path("v1.2") + "\\");
}

TEST_F(CommandsTest, RenameExtensionIsTakenAsTypedAfterTrimming) {
    ListFile("a.exe");
    Select({"a.exe"});
    window_->RenameFilesEdit->SetText(" \t ");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 1u);
    EXPECT_EQ(answerer_.MessageBoxes()[0].Text,
              "File extention is empty\r\nPlease fill the file extention");
    EXPECT_EQ(answerer_.MessageBoxes()[0].Flags, uint32_t{MB_ICONERROR});
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));

    window_->RenameFilesEdit->SetText(".vrs");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    EXPECT_TRUE(scratch::FileExists(files.Path("a..vrs")));
    EXPECT_GE(RowOf("a..vrs"), 0);
}

TEST_F(CommandsTest, AFileThatCannotBeRenamedKeepsItsSelectedRow) {
    ListFile("a.exe");
    ListFile("b.exe");
    ListFile("c.exe");
    files.WriteFile("c.vrs", "already there");
    FileHandle locked(CreateFileA(files.Path("b.exe").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(locked.Get(), INVALID_HANDLE_VALUE);
    Select({"a.exe", "b.exe", "c.exe"});
    window_->RenameFilesEdit->SetText("vrs");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    locked.Close();

    EXPECT_GE(RowOf("a.vrs"), 0);
    EXPECT_FALSE(rows->IsRowSelected(RowOf("a.vrs")));
    ASSERT_GE(RowOf("b.exe"), 0);
    EXPECT_TRUE(rows->IsRowSelected(RowOf("b.exe")));
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));
    ASSERT_GE(RowOf("c.exe"), 0) << "an existing target is never replaced";
    EXPECT_TRUE(rows->IsRowSelected(RowOf("c.exe")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("c.vrs")), "already there");
}

TEST_F(CommandsTest, RenameTextsThatLeaveTheFolderAreRefusedBeforeAnyQuestion) {
    ListFile("a.exe");
    Select({"a.exe"});
    for (const char* text : RefusedExtensionTexts) {
        window_->RenameFilesEdit->SetText(text);
        window_->InfoLabel->SetText("");
        ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
        EXPECT_EQ(window_->InfoLabel->GetText(), RefusedExtensionMessage) << text;
    }
    EXPECT_TRUE(answerer_.Boxes().empty());
    EXPECT_EQ(RowOf("a.exe"), 0);
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));
}

TEST_F(CommandsTest, TheFilesAreThoseSelectedWhenTheCommandWasClicked) {
    ListFile("a.exe");
    ListFile("b.exe");
    ListFile("c.exe");
    Select({"a.exe"});
    // While the question is open the user selects other rows.
    answerer_.OnEachBox([&](const AnsweredBox&) { Select({"b.exe", "c.exe"}); });

    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);

    EXPECT_FALSE(scratch::FileExists(files.Path("a.exe")));
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));
    EXPECT_TRUE(scratch::FileExists(files.Path("c.exe")));
}

TEST_F(CommandsTest, AQuestionThatCannotBeShownCountsAsNo) {
    ASSERT_TRUE(answerer_.InterceptsMessageBoxA());
    ListFile("a.exe");
    Select({"a.exe"});
    answerer_.Enqueue(MessageBoxAnswerer::NotShown);
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    answerer_.Enqueue(MessageBoxAnswerer::NotShown);
    window_->RenameFilesEdit->SetText("vrs");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);

    EXPECT_EQ(answerer_.MessageBoxes().size(), 2u);
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));
    EXPECT_FALSE(scratch::FileExists(files.Path("a.vrs")));
}

TEST_F(CommandsTest, RenameAndDeleteWorkOnNamesInEveryScript) {
    using namespace scriptnames;
    for (const std::string& name : {ReportRu, ReportCn, Anger, Smile}) {
        ListFile(Documents + "\\" + name + ".exe");
    }
    Select({(ReportRu + ".exe").c_str(), (Smile + ".exe").c_str()});
    window_->RenameFilesEdit->SetText("vrs");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    for (const std::string& name : {ReportRu, Smile}) {
        EXPECT_EQ(scratch::ReadWholeFile(files.Path(Documents + "\\" + name + ".vrs")),
                  Documents + "\\" + name + ".exe");
        EXPECT_FALSE(scratch::FileExists(files.Path(Documents + "\\" + name + ".exe")));
        const int row = RowOf(name + ".vrs");
        ASSERT_GE(row, 0) << name;
        wchar_t shown[256] = {};
        LVITEMW item = {};
        item.pszText = shown;
        item.cchTextMax = 256;
        SendMessageW(window_->ResultListView->Handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(shown), Utf16(name + ".vrs"));
    }

    Select({(ReportCn + ".exe").c_str(), (Anger + ".exe").c_str()});
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    for (const std::string& name : {ReportCn, Anger}) {
        EXPECT_FALSE(scratch::FileExists(files.Path(Documents + "\\" + name + ".exe"))) << name;
        EXPECT_EQ(RowOf(name + ".exe"), -1);
    }
    EXPECT_TRUE(scratch::FileExists(files.Path(Documents + "\\" + ReportRu + ".vrs")));
}

TEST_F(CommandsTest, ANameEndingInASpaceOrADotIsTheOnlyFileItsRowTouches) {
    ListFile("report.exe ");
    ListFile("notes.exe ");
    ListFile("sub.\\memo.exe");
    files.WriteFile("report.exe", "twin");
    files.WriteFile("notes.exe", "twin");
    files.WriteFile("sub\\memo.exe", "twin");

    Select({"report.exe "});
    window_->RenameFilesEdit->SetText("vrs");
    ProcessSelectedFiles(window_, SelectedFilesMode::Rename);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("report.vrs")), "report.exe ");
    EXPECT_FALSE(scratch::FileExists(files.Path("report.exe ")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("report.exe")), "twin");

    Select({"notes.exe ", "memo.exe"});
    ProcessSelectedFiles(window_, SelectedFilesMode::Delete);
    EXPECT_FALSE(scratch::FileExists(files.Path("notes.exe ")));
    EXPECT_FALSE(scratch::FileExists(files.Path("sub.\\memo.exe")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("notes.exe")), "twin");
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("sub\\memo.exe")), "twin");
}

TEST_F(CommandsTest, ListCommandsChangeRowsNeverFiles) {
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe"}) {
        ListFile(name);
    }
    rows->SetRowState(1, RowFocused | RowCut);
    SelectAllFiles(window_);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(RowState(window_->ResultListView, row), static_cast<unsigned>(RowSelected))
            << row;
    }
    ClearAllFiles(window_);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(RowState(window_->ResultListView, row), static_cast<unsigned>(RowCut)) << row;
    }
    EXPECT_EQ(rows->RowCount(), 5);

    DeleteListedRows(window_);
    EXPECT_EQ(rows->RowCount(), 5) << "nothing selected, nothing removed";
    Select({"a.exe", "c.exe", "e.exe"});
    DeleteListedRows(window_);
    ASSERT_EQ(rows->RowCount(), 2);
    EXPECT_EQ(rows->GetCell(0, NameColumn), "b.exe");
    EXPECT_EQ(rows->GetCell(1, NameColumn), "d.exe");

    ClearResult(window_);
    EXPECT_EQ(rows->RowCount(), 0);
    DeleteListedRows(window_);
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe"}) {
        EXPECT_TRUE(scratch::FileExists(files.Path(name))) << name;
    }
    EXPECT_TRUE(answerer_.Boxes().empty());
}

TEST_F(CommandsTest, DeleteKeyRemovesOnlyTheFocusedRow) {
    for (const char* name : {"a.exe", "b.exe", "c.exe"}) {
        ListFile(name);
    }
    rows->SetRowState(-1, RowSelected);
    rows->SetRowState(1, RowSelected | RowFocused);
    int key = 'A';
    HandleListKeyDown(window_, window_->ResultListView, key);
    EXPECT_EQ(rows->RowCount(), 3);
    key = VK_DELETE;
    HandleListKeyDown(window_, window_->ResultListView, key);
    EXPECT_EQ(key, VK_DELETE) << "the list still receives the key";
    ASSERT_EQ(rows->RowCount(), 2);
    EXPECT_EQ(rows->GetCell(0, NameColumn), "a.exe");
    EXPECT_EQ(rows->GetCell(1, NameColumn), "c.exe");
    rows->SetRowState(-1, RowSelected);
    HandleListKeyDown(window_, window_->ResultListView, key);  // no focused row
    EXPECT_EQ(rows->RowCount(), 2);

    // Through the real key message as well.
    rows->SetRowState(0, RowSelected | RowFocused);
    SendMessageA(window_->ResultListView->Handle, WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    ASSERT_EQ(rows->RowCount(), 1);
    EXPECT_EQ(rows->GetCell(0, NameColumn), "c.exe");
}

TEST_F(CommandsTest, DeleteOptionWarnsEachTimeItIsOn) {
    WarnDeleteInfected(window_);
    EXPECT_TRUE(answerer_.Boxes().empty()) << "\"Rename with\" is the option at start";
    window_->DeleteInfectedRadio->SetChecked(true);
    answerer_.ClearBoxes();
    WarnDeleteInfected(window_);
    WarnDeleteInfected(window_);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 2u);
    EXPECT_EQ(answerer_.MessageBoxes()[1].Text,
              "Peringatan...\r\nDengan mengaktifkan pilihan ini,\r\nfile yang terinfeksi virus "
              "akan langsung dihapus");
    EXPECT_EQ(answerer_.MessageBoxes()[1].Flags, uint32_t{MB_ICONWARNING});
}

TEST_F(CommandsTest, AboutShowsTwelveLinesJoinedByCarriageReturnLineFeed) {
    ShowAbout(window_);
    ASSERT_EQ(answerer_.MessageBoxes().size(), 1u);
    const AnsweredBox box = answerer_.MessageBoxes()[0];
    EXPECT_EQ(box.Flags, uint32_t{MB_ICONINFORMATION});
    EXPECT_EQ(box.Caption, ProgramTitle);
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = box.Text.find("\r\n", start);
        lines.push_back(box.Text.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), AboutLineCount);
    for (size_t line = 0; line < AboutLineCount; ++line) {
        EXPECT_EQ(lines[line], AboutLines[line]) << "line " << line + 1;
    }
    EXPECT_EQ(box.Text.find('\n', 0), box.Text.find("\r\n") + 1) << "every line break is CR LF";
}

TEST_F(CommandsTest, PushButtonsShowHoverPressAndNormalColours) {
    Control* fileButton = window_->DeleteFilesButton;
    Control* other = window_->FindButton;
    HoverHighlight(window_, fileButton);
    EXPECT_EQ(fileButton->Colour, 0xFFFFFFu);
    EXPECT_EQ(fileButton->Font()->Colour, 0x000080u);
    HoverHighlight(window_, other);
    EXPECT_EQ(other->Colour, 0xFFFFFFu);
    EXPECT_EQ(other->Font()->Colour, 0xFF0000u);

    PressHighlight(window_, fileButton);
    PressHighlight(window_, other);
    for (Control* button : {fileButton, other}) {
        EXPECT_EQ(button->Colour, 0x9D4F4Fu);
        EXPECT_EQ(button->Font()->Colour, 0xC0C0C0u);
    }

    for (Control* button : {window_->DeleteFilesButton, window_->RenameFilesButton}) {
        RestoreNormalLook(window_, button);
        EXPECT_EQ(button->Colour, 0x000080u);
        EXPECT_EQ(button->Font()->Colour, 0xFFFFFFu);
    }
    for (Control* button : {window_->FindButton, window_->AboutButton, window_->StopRestoreButton,
                            window_->SelectAllButton}) {
        RestoreNormalLook(window_, button);
        EXPECT_EQ(button->Colour, 0xC08080u);
        EXPECT_EQ(button->Font()->Colour, 0xFFFFFFu);
    }
}

}  // namespace
