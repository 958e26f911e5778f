// The "Find", "Stop" and "..." commands on a real window with a real result list,
// over real folder trees in a scratch folder.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "control/Control.h"
#include "control/FolderDialog.h"
#include "control/MessageLoop.h"
#include "control/UniqueHandle.h"
#include "search/ResultList.h"
#include "search/StartSearch.h"
#include "support/FailingAllocator.h"
#include "support/FolderLink.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MidRunActions.h"
#include "support/ScratchFolder.h"
#include "support/WindowCapture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

bool Always() {
    return true;
}

class StartSearchTest : public ::testing::Test {
protected:
    StartSearchTest() : files("qf-search") {}

    void SetUp() override {
        form_ = CreateForm(nullptr, "Search test");
        form_->SetPosition(0, 0)->SetClientSize(700, 400);
        window.MainForm = form_;
        window.ResultListView = CreateResultListView(form_);
        window.ResultListView->SetPosition(0, 60)->Resize(700, 300);
        window.FolderEdit = CreateEdit(form_, 0);
        window.MaskCombo = CreateComboBox(form_, ComboNoIntegralHeight);
        window.MaskCombo->SetPosition(300, 0);
        window.InfoLabel = CreateLabel(form_, "Information");
        window.InfoLabel->SetPosition(0, 370);
        window.FindButton = CreateButton(form_, "Find", ButtonNoBorder, 0, nullptr, 0);
        window.StopButton = CreateButton(form_, "Stop", ButtonNoBorder, 0, nullptr, 0);
        window.BrowseButton = CreateButton(form_, "...", ButtonNoBorder, 0, nullptr, 0);
        window.FolderDialog = CreateFolderDialog("", 0);
        form_->RegisterOwned(window.FolderDialog);
        SetApplicationObject(form_);
        ASSERT_TRUE(form_->CreateWindowHandle());
        window.FolderDialog->OwnerWindow = form_->Handle;
        window.SearchStopped = 1;
        PumpMessages();
    }

    void TearDown() override {
        SetApplicationObject(nullptr);
        form_->Release();
        PumpMessages();
        ResetRunLoopState();
    }

    // Types the folder and mask and runs "Find"; returns the information line.
    std::string Find(const std::string& folder, const std::string& masks) {
        window.FolderEdit->SetText(folder);
        window.MaskCombo->SetText(masks);
        StartSearch(&window);
        return window.InfoLabel->GetText();
    }

    Rows ListedRows() {
        ResultList rows(window.ResultListView);
        Rows result;
        for (int row = 0; row < rows.RowCount(); ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < 5; ++column) {
                cells.push_back(rows.GetCell(row, column));
            }
            result.push_back(cells);
        }
        return result;
    }

    std::vector<std::string> ListedNames() {
        std::vector<std::string> names;
        for (const auto& row : ListedRows()) {
            names.push_back(row[PathColumn] + row[NameColumn]);
        }
        return names;
    }

    std::string Folder(const std::string& relative = "") { return files.Path(relative) + "\\"; }

    scratch::ScratchFolder files;
    SearchWindow window;
    Control* form_ = nullptr;
};

TEST_F(StartSearchTest, ListsMatchingFilesOfTheWholeTreeWithPathAndSize) {
    files.WriteFile("a.exe", std::string(1234, 'a'));
    files.WriteFile("notes.txt", "x");
    files.WriteFile("Sub\\b.exe", "b");
    files.WriteFile("Sub\\Deeper\\C.EXE", "cc");
    files.MakeFolder("Empty");

    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 3 Files");
    const Rows expected = {
        {"a.exe", Folder(), "1,234", "", ""},
        {"b.exe", Folder("Sub"), "1", "", ""},
        {"C.EXE", Folder("Sub\\Deeper"), "2", "", ""},
    };
    EXPECT_EQ(ListedRows(), expected);
    EXPECT_EQ(window.FoundCount, 3);

    // A trailing backslash in the folder text gives the same rows.
    EXPECT_EQ(Find(files.Root() + "\\", "*.exe"), "Finish, found 3 Files");
    EXPECT_EQ(ListedRows(), expected);
}

TEST_F(StartSearchTest, MasksDecideWhichFilesAreListedButEveryFolderIsEntered) {
    files.WriteFile("README", "no full stop");
    files.WriteFile("setup.dll", "d");
    files.WriteFile("old.exe\\inner.exe", "i");
    files.WriteFile("old.exe\\inner.txt", "t");

    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 1 Files");
    EXPECT_EQ(ListedNames(), std::vector<std::string>({Folder("old.exe") + "inner.exe"}));

    EXPECT_EQ(Find(files.Root(), "*.*"), "Finish, found 3 Files");
    EXPECT_EQ(ListedNames(),
              std::vector<std::string>({Folder("old.exe") + "inner.exe",
                                        Folder("old.exe") + "inner.txt", Folder() + "setup.dll"}));

    EXPECT_EQ(Find(files.Root(), "*"), "Finish, found 4 Files");
    EXPECT_EQ(Find(files.Root(), "*.exe;*.dll"), "Finish, found 2 Files");
    EXPECT_EQ(Find(files.Root(), "*;^*.txt"), "Finish, found 4 Files") << "the first mask decides";
    EXPECT_EQ(Find(files.Root(), "^*.txt;*"), "Finish, found 3 Files");
    // Masks that name "." and ".." list nothing more and lead nowhere.
    EXPECT_EQ(Find(files.Root(), ".;..;*.exe"), "Finish, found 1 Files");
    EXPECT_EQ(ListedNames(), std::vector<std::string>({Folder("old.exe") + "inner.exe"}));
}

TEST_F(StartSearchTest, MissingOrEmptyFolderFindsNothingWithoutComplaint) {
    ResultList(window.ResultListView).AddRow("left over");
    EXPECT_EQ(Find(files.Path("missing"), "*"), "Finish, found 0 Files");
    EXPECT_EQ(ResultList(window.ResultListView).RowCount(), 0);
    EXPECT_EQ(Find("", "*"), "Finish, found 0 Files");
    EXPECT_EQ(Find(files.Root(), ""), "Finish, found 0 Files");
}

TEST_F(StartSearchTest, CountAndSizeTextsUseTheirGroupedForms) {
    for (int i = 0; i < 1500; ++i) {
        files.WriteFile("many\\f" + std::to_string(i) + ".exe", "");
    }
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 1,500 Files");

    // A file of 3,000,000,000 bytes (sparse where the file system allows it).
    const std::string big = files.Path("big.bin");
    FileHandle file(CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.Get(), INVALID_HANDLE_VALUE);
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 3000000000LL;
    const bool sized =
        SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
    file.Close();
    if (!sized) {
        GTEST_SKIP() << "no room for a file of 3,000,000,000 bytes";
    }
    EXPECT_EQ(Find(files.Root(), "*.bin"), "Finish, found 1 Files");
    EXPECT_EQ(ResultList(window.ResultListView).GetCell(0, SizeColumn), "3000000000");
}

TEST_F(StartSearchTest, WhileSearchingFindIsDisabledAndTheFlagsAreSet) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub\\b.exe", "b");
    MidRunActions inside;
    std::string infoDuring;
    bool findEnabledDuring = true;
    int searchingDuring = -1;
    int stoppedDuring = -1;
    inside.When(Always, [&] {
        infoDuring = window.InfoLabel->GetText();
        findEnabledDuring = IsWindowEnabled(window.FindButton->Handle) != FALSE;
        searchingDuring = window.Searching;
        stoppedDuring = window.SearchStopped;
    });
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 2 Files");
    EXPECT_EQ(infoDuring, "Searching...");
    EXPECT_FALSE(findEnabledDuring);
    EXPECT_EQ(searchingDuring, 1);
    EXPECT_EQ(stoppedDuring, 0);
    EXPECT_TRUE(IsWindowEnabled(window.FindButton->Handle));
    EXPECT_EQ(window.Searching, 0);
    EXPECT_EQ(window.SearchStopped, 1);
}

TEST_F(StartSearchTest, StopEndsTheWalkAfterAtMostOneMoreFile) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("b.exe", "b");
    files.WriteFile("sub1\\c.exe", "c");
    files.WriteFile("sub1\\deep\\d.exe", "d");
    files.WriteFile("sub2\\e.exe", "e");
    MidRunActions inside;
    inside.When(Always, [&] { StopSearch(&window); });

    // The stop is handled at the first folder step: that folder still adds its first file
    // and enters its first subfolder, which adds nothing; then every level ends.
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Searching stopped, found 1 Files");
    EXPECT_EQ(ListedNames(), std::vector<std::string>({Folder() + "a.exe"}));
    EXPECT_EQ(window.SearchStopped, 1);
    EXPECT_EQ(window.Searching, 0);

    // A new search starts from an empty list and runs to its end.
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 5 Files");
}

TEST_F(StartSearchTest, TheListRepaintsItselfAgainAfterTheSearch) {
    files.WriteFile("a.exe", "a");
    ShowWindow(form_->Handle, SW_SHOW);
    ShowWindow(window.ResultListView->Handle, SW_SHOW);
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 1 Files");
    HWND list = window.ResultListView->Handle;
    UpdateWindow(list);
    RECT dirty = {};
    EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE)) << "the found rows were painted";
    ResultList(window.ResultListView).AddRow("b.exe");
    EXPECT_TRUE(GetUpdateRect(list, &dirty, FALSE)) << "a new row makes the list repaint";
}

TEST_F(StartSearchTest, StopWithoutSearchOnlyShowsTheStoppedText) {
    window.InfoLabel->SetText("Finish, found 3 Files");
    StopSearch(&window);
    EXPECT_EQ(window.InfoLabel->GetText(), "Searching Stopped..");
    EXPECT_EQ(window.SearchStopped, 1);
    EXPECT_EQ(window.Searching, 0);
}

TEST_F(StartSearchTest, FindIsRefusedWhileASearchOrARestoreRuns) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub\\b.exe", "b");
    MidRunActions inside;
    int rowsAfterNestedFind = -1;
    inside.When(Always, [] {});  // handled in the first folder, before its files are added
    inside.When(Always, [&] {
        StartSearch(&window);  // a click that was queued before "Find" was disabled
        rowsAfterNestedFind = ResultList(window.ResultListView).RowCount();
    });
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 2 Files");
    EXPECT_EQ(rowsAfterNestedFind, 1) << "the nested click must neither clear nor search";
    EXPECT_EQ(ResultList(window.ResultListView).RowCount(), 2);

    window.RunActive = true;  // another run works on the rows
    window.InfoLabel->SetText("Restoring files..");
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Restoring files..");
    EXPECT_EQ(ResultList(window.ResultListView).RowCount(), 2);
    EXPECT_EQ(window.SearchStopped, 1);
    window.RunActive = false;
}

TEST_F(StartSearchTest, AnAllocationFailureEndsTheSearchCleanly) {
    for (int index = 0; index < 4; ++index) {
        files.WriteFile("sub" + std::to_string(index) + "\\a" + std::to_string(index) + ".exe",
                        "MZ");
    }
    window.FolderEdit->SetText(files.Root());
    window.MaskCombo->SetText("*.exe");
    int errorsSeen = 0;
    // Whichever allocation fails, the search ends, nothing stays locked and the next search
    // works.
    for (size_t failing = 1; failing <= 400; failing += 3) {
        FailAllocationNumber(failing);
        StartSearch(&window);
        const bool failed = AllocationFailed();
        FailAllocationNumber(0);
        const std::string info = window.InfoLabel->GetText();
        if (info.rfind("Searching ended on an error, found ", 0) == 0) {
            ++errorsSeen;
        } else {
            EXPECT_EQ(info.rfind("Finish, found ", 0), 0u)
                << info << " (allocation " << failing << ")";
        }
        EXPECT_EQ(window.Searching, 0) << failing;
        EXPECT_EQ(window.SearchStopped, 1) << failing;
        EXPECT_TRUE(IsWindowEnabled(window.FindButton->Handle)) << failing;
        if (!failed) {
            break;
        }
    }
    EXPECT_GT(errorsSeen, 0);
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 4 Files");
}

TEST_F(StartSearchTest, TheEndOfTheProgramEndsTheSearch) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub1\\b.exe", "b");
    files.WriteFile("sub2\\c.exe", "c");
    PostQuitMessage(0);
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Searching stopped, found 1 Files");
    EXPECT_TRUE(IsTerminated());
}

TEST_F(StartSearchTest, SearchFolderWithoutRecursionListsOneFolder) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub\\b.exe", "b");
    window.SearchStopped = 0;
    SearchFolder(&window, files.Root(), "*.exe", false);
    EXPECT_EQ(ListedNames(), std::vector<std::string>({Folder() + "a.exe"}));
    EXPECT_EQ(window.FoundCount, 1);
    window.SearchStopped = 1;
}

class LinkedTreeTest : public StartSearchTest {
protected:
    void SetUp() override {
        StartSearchTest::SetUp();
        // A search that loops would never end: stop it after a while, so the test fails
        // instead of hanging.
        guard_ = std::make_unique<MidRunActions>();
        guard_->After(30000, [this] { StopSearch(&window); });
    }
    void TearDown() override {
        guard_.reset();
        StartSearchTest::TearDown();
    }

    bool Link(const std::string& link, const std::string& target) {
        return MakeFolderLink(files.Path(link), target);
    }

private:
    std::unique_ptr<MidRunActions> guard_;
};

TEST_F(LinkedTreeTest, ALinkBackToAnAncestorIsNotEntered) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub\\b.exe", "b");
    files.MakeFolder("sub\\deeper");
    if (!Link("sub\\deeper\\up", files.Root()) || !Link("sub\\self", files.Path("sub"))) {
        GTEST_SKIP() << "folder links cannot be made here";
    }
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 2 Files");
    EXPECT_EQ(ListedNames(),
              std::vector<std::string>({Folder() + "a.exe", Folder("sub") + "b.exe"}));
}

TEST_F(LinkedTreeTest, ALinkToAFolderElsewhereIsEntered) {
    scratch::ScratchFolder elsewhere("qf-search-target");
    elsewhere.WriteFile("x.exe", "x");
    elsewhere.WriteFile("inner\\y.exe", "y");
    files.WriteFile("a.exe", "a");
    if (!Link("shortcut", elsewhere.Root())) {
        GTEST_SKIP() << "folder links cannot be made here";
    }
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 3 Files");
    EXPECT_EQ(ListedNames(),
              std::vector<std::string>({Folder() + "a.exe", Folder("shortcut") + "x.exe",
                                        Folder("shortcut\\inner") + "y.exe"}));
    EXPECT_TRUE(scratch::FileExists(elsewhere.Path("inner\\y.exe")));
}

TEST_F(LinkedTreeTest, LinksThatLeadIntoEachOtherEndPromptly) {
    files.WriteFile("one\\a.exe", "a");
    files.WriteFile("two\\b.exe", "b");
    if (!Link("one\\to-two", files.Path("two")) || !Link("two\\to-one", files.Path("one"))) {
        GTEST_SKIP() << "folder links cannot be made here";
    }
    // Each folder's files appear once under their own path and once through the link into
    // it; the walk never comes back into a folder it is inside of.
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 4 Files");
    std::vector<std::string> names = ListedNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              std::vector<std::string>({Folder("one") + "a.exe", Folder("one\\to-two") + "b.exe",
                                        Folder("two") + "b.exe", Folder("two\\to-one") + "a.exe"}));
}

TEST_F(StartSearchTest, BrowseFillsTheFolderOnlyWhenAFolderIsChosen) {
    window.FolderEdit->SetText("C:\\");
    MessageBoxAnswerer answerer(IDCANCEL);
    BrowseSearchFolder(&window);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_FALSE(answerer.Boxes()[0].IsMessageBox);
    EXPECT_EQ(answerer.Boxes()[0].Text, "Select the path to search");
    EXPECT_EQ(window.FolderDialog->Title, "Select the path to search");
    EXPECT_EQ(window.FolderEdit->GetText(), "C:\\");

    // Confirming the chooser's current choice puts that folder, unchanged, into "Look in".
    answerer.Enqueue(IDOK);
    BrowseSearchFolder(&window);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    if (FolderDialogPath(window.FolderDialog).empty()) {
        EXPECT_EQ(window.FolderEdit->GetText(), "C:\\") << "no file-system folder was chosen";
    } else {
        EXPECT_EQ(window.FolderEdit->GetText(), FolderDialogPath(window.FolderDialog));
    }
}

// ---- Names in every script, exact names, refused folders ---------------------------------

const std::string Documents =
    "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";  // Документы
const std::string ReportRu = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.exe";     // отчёт.exe
const std::string ReportCn = "\xE6\x8A\xA5\xE5\x91\x8A.exe";                     // 报告.exe
const std::string Anger = "\xC3\x84rger.exe";                                    // Ärger.exe
const std::string Smile = "x\xF0\x9F\x98\x80.exe";                               // x😀.exe
const std::string Greek = "\xCE\x91\xCE\xB2.EXE";                                // Αβ.EXE

std::wstring Utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                        static_cast<int>(utf8.size()), &wide[0],
                                                        static_cast<int>(wide.size()))));
    return wide;
}

// A cell as the list view holds it, read through the wide API.
std::wstring WideCell(Control* listView, int row, int column) {
    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(listView->Handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

bool CreateWideFolder(const std::string& path) {
    return CreateDirectoryW((L"\\\\?\\" + Utf16(path)).c_str(), nullptr) != FALSE;
}

bool CreateWideFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileW((L"\\\\?\\" + Utf16(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    DWORD written = 0;
    const bool ok = bytes.empty() || WriteFile(file.Get(), bytes.data(),
                                               static_cast<DWORD>(bytes.size()), &written, nullptr);
    file.Close();
    return ok;
}

TEST_F(StartSearchTest, NamesInEveryScriptAreFoundAndShownAsThemselves) {
    const std::string root = files.Path(Documents);
    const std::vector<std::pair<std::string, std::string>> created = {
        {ReportRu, std::string(1234, 'r')},
        {ReportCn, "cn"},
        {Anger, "a"},
        {Smile, "s"},
        {Greek, "g"},
        {"report.exe ", "spaced"},
        {"report.exe", "plain"}};
    ASSERT_TRUE(CreateWideFolder(root));
    for (const auto& file : created) {
        ASSERT_TRUE(CreateWideFile(root + "\\" + file.first, file.second)) << file.first;
    }
    ASSERT_TRUE(CreateWideFolder(root + "\\sub."));
    ASSERT_TRUE(CreateWideFile(root + "\\sub.\\" + ReportRu, "in sub."));
    ASSERT_TRUE(CreateWideFile(root + "\\notes.txt", "not listed"));

    // The folder is typed as UTF-16 text, as a user's keyboard gives it.
    window.MaskCombo->SetText("*.exe*");
    ASSERT_TRUE(SetWindowTextW(window.FolderEdit->Handle, Utf16(root).c_str()));
    StartSearch(&window);
    EXPECT_EQ(window.InfoLabel->GetText(), "Finish, found 8 Files");

    ResultList rows(window.ResultListView);
    ASSERT_EQ(rows.RowCount(), 8);
    std::vector<std::wstring> shown;
    for (int row = 0; row < rows.RowCount(); ++row) {
        const std::wstring name = WideCell(window.ResultListView, row, NameColumn);
        const std::wstring path = WideCell(window.ResultListView, row, PathColumn);
        EXPECT_EQ(Utf16(rows.GetCell(row, NameColumn)), name);
        EXPECT_EQ(Utf16(rows.GetCell(row, PathColumn)), path);
        shown.push_back(path + name);
        if (row > 0) {
            const std::wstring previous = WideCell(window.ResultListView, row - 1, NameColumn);
            EXPECT_LE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1,
                                     name.c_str(), -1),
                      CSTR_EQUAL)
                << row;
        }
        if (name == Utf16(ReportRu) && path == Utf16(root + "\\")) {
            EXPECT_EQ(rows.GetCell(row, SizeColumn), "1,234");
        }
    }
    for (const auto& file : created) {
        EXPECT_NE(std::find(shown.begin(), shown.end(), Utf16(root + "\\" + file.first)),
                  shown.end())
            << file.first;
    }
    EXPECT_NE(std::find(shown.begin(), shown.end(), Utf16(root + "\\sub.\\" + ReportRu)),
              shown.end());
}

// A folder beside the searched one whose own path fits the limit of the ANSI calls and
// holds a file and a subfolder that do not; returns whether the platform takes such paths.
bool MakeTreePastThePathLimit(const scratch::ScratchFolder& files) {
    const std::string nearFolder = files.Path(std::string(240 - files.Root().size() - 1, 'n'));
    CreateWideFolder(nearFolder);
    CreateWideFile(nearFolder + "\\short.exe", "s");
    CreateWideFile(nearFolder + "\\" + std::string(30, 'f') + ".exe", "f");
    CreateWideFolder(nearFolder + "\\" + std::string(30, 'd'));
    CreateWideFile(nearFolder + "\\" + std::string(30, 'd') + "\\deep.exe", "d");
    return GetFileAttributesA((nearFolder + "\\" + std::string(30, 'd')).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

TEST_F(StartSearchTest, FoldersAndFilesThePlatformRefusesAreCountedInTheInformationLine) {
    files.WriteFile("a.exe", "a");
    const bool longPathsWork = MakeTreePastThePathLimit(files);
    if (longPathsWork) {
        EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 4 Files");
        return;
    }
    // The file past the limit and the folder that cannot be listed; the folder's own file
    // is not known, so not counted.
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 2 Files, 2 skipped");
    EXPECT_EQ(window.SkippedCount, 2);
    EXPECT_EQ(ResultList(window.ResultListView).RowCount(), 2);

    // A new search counts afresh; a folder typed beyond the limit is refused as well.
    EXPECT_EQ(Find(files.Root(), "*.doc"), "Finish, found 0 Files, 1 skipped");
    EXPECT_EQ(Find(files.Path(std::string(300, 'm')), "*"), "Finish, found 0 Files, 1 skipped");
    EXPECT_EQ(Find(files.Path("missing"), "*"), "Finish, found 0 Files");
}

TEST_F(StartSearchTest, AStoppedSearchCountsWhatWasSkippedBeforeTheStop) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("zzz\\late.exe", "z");  // in a folder the walk reaches after the stop
    if (MakeTreePastThePathLimit(files)) {
        GTEST_SKIP() << "the platform takes paths past the limit";
    }
    MidRunActions inside;
    inside.When([&] { return window.SkippedCount > 0; }, [&] { StopSearch(&window); });
    const std::string info = Find(files.Root(), "*.exe");
    EXPECT_EQ(info, "Searching stopped, found " + std::to_string(window.FoundCount) + " Files, " +
                        std::to_string(window.SkippedCount) + " skipped");
    EXPECT_GT(window.SkippedCount, 0);
    const std::vector<std::string> names = ListedNames();
    EXPECT_EQ(std::find(names.begin(), names.end(), Folder("zzz") + "late.exe"), names.end())
        << "the walk went on after the stop";
}

// Selects the folder of the pending browse as soon as the chooser is up, and again
// whenever the selection moves elsewhere before the answer arrives: the chooser rebuilds
// its tree when the shell reports late the files that earlier tests made and removed.
std::wstring folderToChoose;
bool selectingFolder = false;
int CALLBACK ChooseFolder(HWND dialog, UINT message, LPARAM item, LPARAM) {
    bool select = message == BFFM_INITIALIZED;
    if (message == BFFM_SELCHANGED && !selectingFolder) {
        wchar_t path[MAX_PATH] = L"";
        select = SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path) == FALSE ||
                 _wcsicmp(path, folderToChoose.c_str()) != 0;
    }
    if (select) {
        selectingFolder = true;
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(folderToChoose.c_str()));
        selectingFolder = false;
    }
    return 0;
}

TEST_F(StartSearchTest, TheChosenFolderReachesLookInWithItsName) {
    const std::string chosen = files.MakeFolder(Documents + "\\" + "\xE6\x8A\xA5\xE5\x91\x8A");
    ASSERT_TRUE(scratch::FolderExists(chosen));
    folderToChoose = Utf16(chosen);
    window.FolderDialog->Callback = ChooseFolder;
    MessageBoxAnswerer answerer(IDOK);
    BrowseSearchFolder(&window);
    window.FolderDialog->Callback = nullptr;
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(window.FolderEdit->GetText(), chosen);
    EXPECT_EQ(FolderDialogPath(window.FolderDialog), chosen);
}

}  // namespace
