// "Restore File" and "Stop Restore" in the real main window: in-process with
// BuildMainWindow, and in quillfix.exe started as its own process for closing the
// window while a restore runs.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "search/ResultList.h"
#include "support/CarrierFiles.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MidRunActions.h"
#include "support/ScratchFolder.h"
#include "support/WindowCapture.h"
#include "support/StartedProgram.h"

namespace {

using carriers::Carrier;
using carriers::TestDocument;
using scratch::FileExists;
using scratch::ReadWholeFile;

void Click(Control* button) { SendMessageA(button->Handle, BM_CLICK, 0, 0); }

class RestoreCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    answerer_ = std::make_unique<MessageBoxAnswerer>(IDOK);
    BuildMainWindow(&window_, nullptr);
    form_ = window_->MainForm;
    ASSERT_TRUE(form_->CreateWindowHandle());
    PumpMessages();
  }
  void TearDown() override {
    window_->SearchStopped = 1;
    Terminate(form_);
    PumpMessages();
    ResetRunLoopState();
    answerer_.reset();
  }

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

  std::unique_ptr<MessageBoxAnswerer> answerer_;
  MainWindow* window_ = nullptr;
  Control* form_ = nullptr;
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
  const std::vector<AnsweredBox> boxes = answerer_->MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, "Quillfix 1.0 RC 2");
  EXPECT_EQ(boxes[0].Text, "OK... Finish\r\nTotal files infected and restored : 2");
  EXPECT_EQ(boxes[0].Flags, static_cast<uint32_t>(MB_ICONINFORMATION));
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
  actions.When([&] { return Status("a.exe") == "Infected..."; },
               [&] {
                 Click(window_->FindButton);
                 rowsAfterFind = ResultList(window_->ResultListView).RowCount();
                 Click(window_->StopRestoreButton);
               });

  Click(window_->RestoreButton);

  EXPECT_EQ(rowsAfterFind, 3);
  EXPECT_EQ(Status("a.exe"), "OK... Fixed");
  EXPECT_EQ(Status("b.exe"), "");
  EXPECT_EQ(Status("c.exe"), "");
  EXPECT_EQ(ReadWholeFile(folder.Path("b.exe")), carrier);
  EXPECT_EQ(window_->InfoLabel->GetText(), "Restore files were stopped");
  const std::vector<AnsweredBox> boxes = answerer_->MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "Restoring files were stopped");
  EXPECT_EQ(boxes[0].Flags, 0u);
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

// ---- quillfix.exe as its own process -----------------------------------------------------

struct ChildSearch {
  const char* ClassName;
  const char* Text;  // nullptr: any text
  HWND Found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM argument) {
  auto* search = reinterpret_cast<ChildSearch*>(argument);
  char className[64] = {};
  char text[128] = {};
  GetClassNameA(window, className, sizeof className);
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  // The control layer's classes carry the standard class name after a prefix.
  const size_t length = std::strlen(className);
  const size_t wanted = std::strlen(search->ClassName);
  if (length >= wanted && _stricmp(className + length - wanted, search->ClassName) == 0 &&
      (search->Text == nullptr || std::strcmp(text, search->Text) == 0)) {
    search->Found = window;
    return FALSE;
  }
  return TRUE;
}

HWND Child(HWND parent, const char* className, const char* text) {
  ChildSearch search = {className, text, nullptr};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TEST(RestoreCommandProgramTest, ClosingTheWindowDuringARestoreEndsTheProgramCleanly) {
  scratch::ScratchFolder folder("qf-restore-close");
  const std::string document = TestDocument("letter.doc");
  const std::string carrier = Carrier(20480, document);
  const char* const names[] = {"a", "b", "c", "d", "e"};
  for (const char* name : names) {
    folder.WriteFile(std::string(name) + ".exe", carrier);
  }

  StartedProgram program(ProgramPath());
  ASSERT_TRUE(program.Started()) << ProgramPath();
  HWND main = program.WaitForWindow("Quillfix 1.0 RC 2", 30000);
  ASSERT_NE(main, nullptr);
  HWND folderEdit = nullptr;
  HWND find = nullptr;
  HWND restore = nullptr;
  HWND list = nullptr;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(100)) {
    folderEdit = Child(main, "Edit", "C:\\");
    find = Child(main, "Button", "Find");
    restore = Child(main, "Button", "Restore File");
    list = Child(main, "SysListView32", nullptr);
    if (folderEdit && find && restore && list) {
      break;
    }
  }
  ASSERT_TRUE(folderEdit && find && restore && list);

  SendMessageTimeoutA(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.Root().c_str()),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  PostMessageA(find, BM_CLICK, 0, 0);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50)) {
    DWORD_PTR rows = 0;
    SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &rows);
    if (rows == 5 && IsWindowEnabled(find)) {
      break;
    }
  }
  ASSERT_TRUE(IsWindowEnabled(find));

  // The close request waits in the queue behind the click and reaches the program while
  // the restore handles its first messages.
  PostMessageA(restore, BM_CLICK, 0, 0);
  PostMessageA(main, WM_CLOSE, 0, 0);
  bool boxWithoutWindow = false;
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(program.Process(), 100) == WAIT_TIMEOUT) {
    ASSERT_LT(GetTickCount() - start, 60000u) << "the program did not end";
    HWND box = program.MessageBoxWindow();
    if (box != nullptr) {
      boxWithoutWindow = boxWithoutWindow || program.WindowTitled("Quillfix 1.0 RC 2") == nullptr;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  EXPECT_EQ(program.ExitCode(), 0);
  EXPECT_FALSE(boxWithoutWindow) << "a message box was shown after the window had gone";

  // Every carrier is either restored completely or left exactly as it was.
  int restored = 0;
  for (const char* name : names) {
    const std::string base = folder.Path(name);
    if (FileExists(base + ".doc")) {
      ++restored;
      EXPECT_EQ(ReadWholeFile(base + ".doc"), document) << name;
      EXPECT_EQ(ReadWholeFile(base + "._vrs"), carrier) << name;
      EXPECT_FALSE(FileExists(base + ".exe")) << name;
    } else {
      EXPECT_EQ(ReadWholeFile(base + ".exe"), carrier) << name;
      EXPECT_FALSE(FileExists(base + "._vrs")) << name;
    }
  }
  EXPECT_GE(restored, 1);
  EXPECT_LT(restored, 5);
}

}  // namespace
