// "Restore File" and "Stop Restore" in the real main window built in-process with
// BuildMainWindow.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Unit1.h"
#include "control/Control.h"
#include "search/ResultList.h"
#include "support/CarrierFiles.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MidRunActions.h"
#include "support/ProgramTexts.h"
#include "support/ScratchFolder.h"
#include "support/UserInput.h"

namespace {

using carriers::Carrier;
using carriers::TestDocument;
using scratch::FileExists;
using scratch::ReadWholeFile;

class RestoreCommandTest : public MainWindowFixture {
protected:
    // Lists the folder's "*.exe" files with the window's own search.
    void Find(const std::string& folder) {
        window_->FolderEdit->SetText(folder);
        window_->MaskCombo->SetText("*.exe");
        Click(window_->FindButton);
        const DWORD start = GetTickCount();
        while (window_->Searching != 0 && GetTickCount() - start < 10000) {
            PumpMessages();
            Sleep(5);
        }
        ASSERT_EQ(window_->InfoLabel->GetText().rfind("Finish, found ", 0), 0u);
    }
    std::string Status(const std::string& name) {
        ResultList list(window_->ResultListView);
        for (int row = 0; row < list.RowCount(); ++row) {
            if (list.GetCell(row, NameColumn) == name) {
                return list.GetCell(row, StatusColumn);
            }
        }
        return "<no row>";
    }
};

TEST_F(RestoreCommandTest, FoundCarriersAreRestoredFromTheWindow) {
    scratch::ScratchFolder folder("qf-restore-window");
    const std::string report = Carrier(20480, TestDocument("letter.doc"));
    const std::string book = Carrier(8192, TestDocument("budget.xls"));
    const std::string plain = carriers::ExecutableBody(30000);
    folder.WriteFile("report.exe", report);
    folder.WriteFile("sub\\book.exe", book);
    folder.WriteFile("plain.exe", plain);
    folder.WriteFile("letter.doc", TestDocument("letter.doc"));
    Find(folder.Root());
    ASSERT_EQ(ResultList(window_->ResultListView).RowCount(), 3);

    Click(window_->RestoreButton);

    EXPECT_EQ(ReadWholeFile(folder.Path("report.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(folder.Path("report._vrs")), report);
    EXPECT_EQ(ReadWholeFile(folder.Path("sub\\book.xls")), TestDocument("budget.xls"));
    EXPECT_EQ(ReadWholeFile(folder.Path("sub\\book._vrs")), book);
    EXPECT_EQ(ReadWholeFile(folder.Path("plain.exe")), plain);
    EXPECT_EQ(Status("report.exe"), "OK... Fixed");
    EXPECT_EQ(Status("book.exe"), "OK... Fixed");
    EXPECT_EQ(Status("plain.exe"), "Not Detected");
    EXPECT_EQ(window_->InfoLabel->GetText(), "Restoring files..");
    EXPECT_TRUE(IsWindowEnabled(window_->RestoreButton->Handle));
    const std::vector<AnsweredBox> boxes = answerer_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, ProgramTitle);
    EXPECT_EQ(boxes[0].Text, "OK... Finish\r\nTotal files infected and restored : 2");
    EXPECT_EQ(boxes[0].Flags, uint32_t{MB_ICONINFORMATION});
}

TEST_F(RestoreCommandTest, StopRestoreEndsTheRunAndFindWaitsForIt) {
    scratch::ScratchFolder folder("qf-restore-window");
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    for (const char* name : {"a.exe", "b.exe", "c.exe"}) {
        folder.WriteFile(name, carrier);
    }
    Find(folder.Root());
    MidRunActions actions;
    int rowsAfterFind = -1;
    bool restoreEnabledDuringRun = true;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] {
                     restoreEnabledDuringRun =
                         IsWindowEnabled(window_->RestoreButton->Handle) != FALSE;
                     Click(window_->FindButton);
                     rowsAfterFind = ResultList(window_->ResultListView).RowCount();
                     Click(window_->StopRestoreButton);
                 });

    Click(window_->RestoreButton);

    EXPECT_FALSE(restoreEnabledDuringRun)
        << "\"Restore File\" stays enabled while the restore runs";
    EXPECT_EQ(rowsAfterFind, 3);
    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_EQ(Status("b.exe"), "");
    EXPECT_EQ(Status("c.exe"), "");
    EXPECT_EQ(ReadWholeFile(folder.Path("b.exe")), carrier);
    EXPECT_EQ(window_->InfoLabel->GetText(), "Restore files were stopped");
    const std::vector<AnsweredBox> boxes = answerer_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Restoring files were stopped");
    EXPECT_EQ(boxes[0].Flags, uint32_t{MB_OK});
}

// What the list shows at one moment of a run.
struct ListMoment {
    int Focused = -1;
    std::vector<int> Selected;
    int Top = -1;
    int PerPage = 0;
    std::string Before;   // Status of the row before the focused one
    std::string Current;  // Status of the focused row
    std::string After;    // Status of the row after it
};

TEST_F(RestoreCommandTest, TheRowInProgressIsTheOnlySelectedRowAndStaysInView) {
    scratch::ScratchFolder folder("qf-restore-window");
    const std::string carrier = Carrier(4096, TestDocument("letter.doc"));
    const int count = 70;
    for (int i = 0; i < count; ++i) {
        folder.WriteFile("file" + std::to_string(100 + i) + ".exe", carrier);
    }
    Find(folder.Root());
    Control* view = window_->ResultListView;
    ResultList list(view);
    ASSERT_EQ(list.RowCount(), count);
    const int perPage = static_cast<int>(view->Send(LVM_GETCOUNTPERPAGE));
    ASSERT_GT(perPage, 2);
    ASSERT_LT(3 * perPage, count) << "the list must be longer than three pages";

    std::vector<ListMoment> moments;
    auto look = [&] {
        ListMoment moment;
        moment.Focused = list.FocusedRow();
        for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) {
            moment.Selected.push_back(row);
        }
        moment.Top = static_cast<int>(view->Send(LVM_GETTOPINDEX));
        moment.PerPage = static_cast<int>(view->Send(LVM_GETCOUNTPERPAGE));
        moment.Before = list.GetCell(moment.Focused - 1, StatusColumn);
        moment.Current = list.GetCell(moment.Focused, StatusColumn);
        moment.After = list.GetCell(moment.Focused + 1, StatusColumn);
        moments.push_back(moment);
    };
    MidRunActions actions;
    const int firstLook = perPage + 3;
    actions.When([&] { return list.FocusedRow() >= firstLook; },
                 [&] {
                     look();
                     // The user scrolls back to the top: the next row is brought into view again.
                     view->Send(LVM_ENSUREVISIBLE, 0, FALSE);
                 });
    actions.When([&] { return list.FocusedRow() >= firstLook + 2; }, look);
    actions.When([&] { return list.FocusedRow() >= 3 * perPage + 1; }, look);
    actions.When([&] { return list.FocusedRow() == count - 1; }, look);

    Click(window_->RestoreButton);

    EXPECT_EQ(actions.PendingCount(), 0u);
    ASSERT_EQ(moments.size(), 4u);
    for (const ListMoment& moment : moments) {
        SCOPED_TRACE("focused row " + std::to_string(moment.Focused));
        EXPECT_EQ(moment.Selected, std::vector<int>{moment.Focused});
        EXPECT_LE(moment.Top, moment.Focused);
        EXPECT_LT(moment.Focused, moment.Top + moment.PerPage);
        EXPECT_EQ(moment.Before, "OK... Fixed");
        EXPECT_TRUE(moment.Current == "Analyzing..." || moment.Current == "Infected..." ||
                    moment.Current == "OK... Fixed")
            << moment.Current;
        EXPECT_EQ(moment.After, "");
    }
    for (int row = 0; row < count; ++row) {
        EXPECT_EQ(list.GetCell(row, StatusColumn), "OK... Fixed") << "row " << row;
    }
}

TEST_F(RestoreCommandTest, FileCommandsAreRefusedWhileARunIsActive) {
    scratch::ScratchFolder folder("qf-restore-window");
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    for (const char* name : {"a.exe", "b.exe"}) {
        folder.WriteFile(name, carrier);
    }
    Find(folder.Root());
    window_->DeleteInfectedRadio->SetChecked(true);
    answerer_.ClearBoxes();  // the option's warning
    MidRunActions actions;
    std::string infoAfterDelete;
    std::string infoAfterRename;
    // "Delete files" on the row the restore has selected, before its document is out.
    actions.When([&] { return Status("a.exe") == "Analyzing..."; },
                 [&] {
                     Click(window_->DeleteFilesButton);
                     infoAfterDelete = window_->InfoLabel->GetText();
                     Click(window_->RenameFilesButton);
                     infoAfterRename = window_->InfoLabel->GetText();
                 });

    Click(window_->RestoreButton);

    EXPECT_EQ(infoAfterDelete, "Stop the restoring first");
    EXPECT_EQ(infoAfterRename, "Stop the restoring first");
    for (const char* name : {"a", "b"}) {
        EXPECT_EQ(ReadWholeFile(folder.Path(std::string(name) + ".doc")),
                  TestDocument("letter.doc"))
            << name;
        EXPECT_EQ(Status(std::string(name) + ".exe"), "OK... Fixed") << name;
    }
    const std::vector<AnsweredBox> boxes = answerer_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << "no question was asked";
    EXPECT_EQ(boxes[0].Text, "OK... Finish\r\nTotal files infected and restored : 2");
}

TEST_F(RestoreCommandTest, FileCommandsAreRefusedWhileASearchRuns) {
    scratch::ScratchFolder folder("qf-restore-window");
    folder.WriteFile("a.exe", "MZ");
    for (int index = 0; index < 30; ++index) {
        folder.WriteFile("sub" + std::to_string(index) + "\\b.exe", "MZ");
    }
    MidRunActions actions;
    std::string info;
    actions.When([&] { return ResultList(window_->ResultListView).RowCount() > 0; },
                 [&] {
                     ResultList(window_->ResultListView).SelectAllRows();
                     Click(window_->DeleteFilesButton);
                     info = window_->InfoLabel->GetText();
                 });
    window_->FolderEdit->SetText(folder.Root());
    Click(window_->FindButton);

    EXPECT_EQ(info, "Stop the searching first");
    EXPECT_TRUE(FileExists(folder.Path("a.exe")));
    EXPECT_TRUE(answerer_.MessageBoxes().empty());
}

TEST_F(RestoreCommandTest, TheSummaryAppearsAfterTheRunHasEnded) {
    scratch::ScratchFolder folder("qf-restore-window");
    folder.WriteFile("a.exe", Carrier(20480, TestDocument("letter.doc")));
    Find(folder.Root());
    bool runActiveAtBox = true;
    bool enabledAtBox = false;
    answerer_.OnEachBox([&](const AnsweredBox&) {
        runActiveAtBox = window_->RunActive;
        enabledAtBox = IsWindowEnabled(window_->RestoreButton->Handle) != FALSE;
    });

    Click(window_->RestoreButton);

    ASSERT_EQ(answerer_.MessageBoxes().size(), 1u);
    EXPECT_FALSE(runActiveAtBox);
    EXPECT_TRUE(enabledAtBox);
}

TEST_F(RestoreCommandTest, ARenameTextThatLeavesTheFolderIsRefusedBeforeAnyFile) {
    scratch::ScratchFolder folder("qf-restore-window");
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    folder.WriteFile("a.exe", carrier);
    Find(folder.Root());
    for (const char* text : RefusedExtensionTexts) {
        window_->RenameWithEdit->SetText(text);
        window_->InfoLabel->SetText("");

        Click(window_->RestoreButton);

        EXPECT_EQ(window_->InfoLabel->GetText(), RefusedExtensionMessage) << text;
        EXPECT_EQ(Status("a.exe"), "") << text;
        EXPECT_TRUE(IsWindowEnabled(window_->RestoreButton->Handle)) << text;
    }
    EXPECT_EQ(ReadWholeFile(folder.Path("a.exe")), carrier);
    EXPECT_FALSE(FileExists(folder.Path("a.doc")));
    EXPECT_TRUE(answerer_.MessageBoxes().empty());

    // With "Delete infected files" the rename text plays no part.
    window_->DeleteInfectedRadio->SetChecked(true);
    Click(window_->RestoreButton);
    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_FALSE(FileExists(folder.Path("a.exe")));
}

}  // namespace
