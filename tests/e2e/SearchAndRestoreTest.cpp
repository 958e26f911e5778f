// A user searches a folder tree for infected files and restores the documents in them.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProgramTest.h"
#include "support/FolderLink.h"

namespace {

using carriers::ExecutableBody;
using carriers::TestDocument;

class SearchAndRestore : public ProgramTest {
protected:
    // A carrier: an executable body of bodySize bytes followed by the document.
    std::string Carrier(size_t bodySize, const std::string& document) {
        const std::string body = ExecutableBody(bodySize);
        EXPECT_EQ(body.size(), bodySize);
        EXPECT_EQ(body.find(carriers::Ole2Bytes), std::string::npos)
            << "the body must not look like a document";
        EXPECT_EQ(body.find(carriers::RtfBytes), std::string::npos);
        return body + document;
    }
};

TEST_F(SearchAndRestore, FindsCarriersAtEveryDepthAndRestoresTheirDocuments) {
    const std::string letter = TestDocument("letter.doc");
    const std::string budget = TestDocument("budget.xls");
    ASSERT_FALSE(letter.empty());
    ASSERT_FALSE(budget.empty());
    const std::string report = Carrier(20480, letter);
    const std::string sheet = Carrier(20480, budget);
    const std::string memo = Carrier(8192, letter);
    const std::string tool = ExecutableBody(20480);
    files.WriteFile("report.exe", report);
    files.WriteFile("plain.exe", letter);  // a document named like a program: not a carrier
    files.WriteFile("notes.txt", "not listed");
    files.WriteFile("level1\\budget.exe", sheet);
    files.WriteFile("level1\\tool.exe", tool);  // a program without a document
    files.WriteFile("level1\\letter.doc", letter);
    files.MakeFolder("level1\\empty");
    files.WriteFile("level1\\level2\\level3\\memo.exe", memo);
    files.WriteFile("old.exe\\inner.exe", report);  // a folder whose name matches the mask

    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 6 Files");

    const std::string root = files.Root() + "\\";
    const std::vector<std::vector<std::string>> expected = {
        {"budget.exe", root + "level1\\", "26,624", "", ""},
        {"inner.exe", root + "old.exe\\", "30,720", "", ""},
        {"memo.exe", root + "level1\\level2\\level3\\", "18,432", "", ""},
        {"plain.exe", root, "10,240", "", ""},
        {"report.exe", root, "30,720", "", ""},
        {"tool.exe", root + "level1\\", "20,480", "", ""},
    };
    EXPECT_EQ(program.Rows(), expected);
    EXPECT_TRUE(program.IsEnabled(program.Button("Find")));

    program.Click("Restore File");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 60000));
    EXPECT_EQ(box.Caption, ProgramTitle);
    EXPECT_EQ(box.Text, "OK... Finish\r\nTotal files infected and restored : 4");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDOK}));
    EXPECT_TRUE(box.HasIcon);
    ASSERT_TRUE(program.Answer(box, IDOK));

    const std::vector<std::vector<std::string>> after = program.Rows();
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[0][3], "OK... Fixed");
    EXPECT_EQ(after[0][4], "Org file renamed to : budget._vrs");
    EXPECT_EQ(after[1][3], "OK... Fixed");
    EXPECT_EQ(after[2][3], "OK... Fixed");
    EXPECT_EQ(after[3][3], "Not Detected");
    EXPECT_EQ(after[3][4], "Microsoft Office Document");
    EXPECT_EQ(after[4][3], "OK... Fixed");
    EXPECT_EQ(after[4][4], "Org file renamed to : report._vrs");
    EXPECT_EQ(after[5][3], "Not Detected");
    EXPECT_EQ(after[5][4], "");

    // Each document is beside its carrier, the carrier renamed with "_vrs".
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("report.doc")), letter);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("report._vrs")), report);
    EXPECT_FALSE(scratch::FileExists(files.Path("report.exe")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\budget.xls")), budget);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\budget._vrs")), sheet);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\level2\\level3\\memo.doc")), letter);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\level2\\level3\\memo._vrs")), memo);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("old.exe\\inner.doc")), letter);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("old.exe\\inner._vrs")), report);
    // Files without an embedded document are left alone.
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("plain.exe")), letter);
    EXPECT_FALSE(scratch::FileExists(files.Path("plain.doc")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\tool.exe")), tool);
    EXPECT_FALSE(scratch::FileExists(files.Path("level1\\tool.dat")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("level1\\letter.doc")), letter);
}

TEST_F(SearchAndRestore, NewerDocumentsAreRestoredAndOtherArchivesLeftAlone) {
    const std::string docx = TestDocument("report.docx");
    const std::string pptx = TestDocument("slides.pptx");
    const std::string pdf = TestDocument("report.pdf");
    const std::string ppt = TestDocument("slides.ppt");
    const std::string unrelated = "an unrelated document of the same name";
    files.WriteFile("memo.exe", Carrier(20480, docx));
    files.WriteFile("memo.docx", unrelated);
    files.WriteFile("talk.exe", Carrier(40960, pptx));
    files.WriteFile("paper.exe", Carrier(20480, pdf));
    files.WriteFile("deck.exe", Carrier(8192, ppt));
    const std::string setup = ExecutableBody(30000) + docx + "trailing installer data";
    files.WriteFile("setup.exe", setup);

    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 5 Files");
    program.Click("Restore File");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 60000));
    EXPECT_EQ(box.Text, "OK... Finish\r\nTotal files infected and restored : 4");
    ASSERT_TRUE(program.Answer(box, IDOK));

    EXPECT_EQ(program.Cell(program.FindRow("memo.exe"), 4),
              "Org file renamed to : memo._vrs, document saved as memo (2).docx");
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("memo.docx")), unrelated);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("memo (2).docx")), docx);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("talk.pptx")), pptx);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("paper.pdf")), pdf);
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("deck.ppt")), ppt);
    EXPECT_EQ(program.Cell(program.FindRow("setup.exe"), 3), "Not Detected");
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("setup.exe")), setup);
    EXPECT_FALSE(scratch::FileExists(files.Path("setup._vrs")));
}

TEST_F(SearchAndRestore, MaskListAndFolderWithoutBackslashGiveTheSamePathCells) {
    files.WriteFile("a.EXE", "a");
    files.WriteFile("b.dll", "bb");
    files.WriteFile("c.txt", "ccc");
    files.WriteFile("README", "no full stop");
    files.WriteFile("sub\\d.scr", "dddd");

    EXPECT_EQ(Find(files.Root() + "\\", "*.exe;*.dll;*.scr"), "Finish, found 3 Files");
    const std::string root = files.Root() + "\\";
    const std::vector<std::vector<std::string>> expected = {
        {"a.EXE", root, "1", "", ""},
        {"b.dll", root, "2", "", ""},
        {"d.scr", root + "sub\\", "4", "", ""},
    };
    EXPECT_EQ(program.Rows(), expected);

    // A new search starts from an empty list; "*" finds names without a full stop too.
    EXPECT_EQ(Find(files.Root(), "*"), "Finish, found 5 Files");
    EXPECT_EQ(program.RowCount(), 5);
    EXPECT_GE(program.FindRow("README"), 0);

    EXPECT_EQ(Find(files.Path("missing"), "*"), "Finish, found 0 Files");
    EXPECT_EQ(program.RowCount(), 0);
}

TEST_F(SearchAndRestore, StopEndsALongSearchAndTheWindowRefusesToCloseMeanwhile) {
    const int folders = 40;
    const int perFolder = 40;
    for (int i = 0; i < folders; ++i) {
        for (int j = 0; j < perFolder; ++j) {
            const std::string name = "n" + std::to_string(i * perFolder + j);
            files.WriteFile(
                "d" + std::to_string(i) + "\\e" + std::to_string(j) + "\\" + name + ".exe", "x");
        }
    }
    const int total = folders * perFolder;

    ASSERT_TRUE(program.Type(program.FolderEdit(), files.Root()));
    ASSERT_TRUE(program.Type(program.MaskCombo(), "*.exe"));
    program.Click("Find");
    const DWORD start = GetTickCount();
    while (program.RowCount() < 20 && GetTickCount() - start < 60000) {
        Sleep(5);
    }
    ASSERT_GE(program.RowCount(), 20);
    EXPECT_EQ(program.Text(program.InfoLabel()), "Searching...");
    EXPECT_FALSE(program.IsEnabled(program.Button("Find")));

    // Closing is refused while the search runs.
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Caption, ProgramTitle);
    EXPECT_EQ(box.Text, "Before Close this window, Stop the searching First");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDOK}));
    EXPECT_TRUE(box.HasIcon);
    ASSERT_TRUE(program.Answer(box, IDOK));
    EXPECT_FALSE(program.HasExited());

    program.Click("Stop");
    const std::string stopped = program.WaitForInfo({FinishedPrefix, StoppedPrefix}, 60000);
    ASSERT_EQ(stopped.compare(0, std::string(StoppedPrefix).size(), StoppedPrefix), 0) << stopped;
    const int found = program.RowCount();
    EXPECT_LT(found, total);
    EXPECT_EQ(stopped, StoppedPrefix + GroupedNumber(found) + " Files");
    EXPECT_TRUE(program.IsEnabled(program.Button("Find")));
    Sleep(300);
    EXPECT_EQ(program.RowCount(), found) << "rows were added after the search ended";

    // "Find" again starts afresh and lists the whole tree.
    ASSERT_TRUE(program.ClickAndWait("Find", 120000));
    EXPECT_EQ(program.Text(program.InfoLabel()), "Finish, found 1,600 Files");
    EXPECT_EQ(program.RowCount(), total);
}

TEST_F(SearchAndRestore, ClosingTheWindowDuringARestoreEndsTheProgramCleanly) {
    const std::string document = TestDocument("letter.doc");
    const std::string carrier = Carrier(20480, document);
    const char* const names[] = {"a", "b", "c", "d", "e"};
    for (const char* name : names) {
        files.WriteFile(std::string(name) + ".exe", carrier);
    }
    ASSERT_EQ(Find(files.Root(), "*.exe"), "Finish, found 5 Files");
    ASSERT_TRUE(program.IsEnabled(program.Button("Find")));

    // The close request waits in the queue behind the click and reaches the program while
    // the restore handles its first messages.
    program.Click("Restore File");
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    bool boxWithoutWindow = false;
    const DWORD start = GetTickCount();
    while (!program.HasExited()) {
        ASSERT_LT(GetTickCount() - start, 60000u) << "the program did not end";
        ProgramBox box;
        if (program.WaitForBox(box, 100)) {
            boxWithoutWindow = boxWithoutWindow || !program.WindowShown(ProgramTitle);
            PostMessageA(box.Window, WM_COMMAND, IDOK, 0);
        }
    }
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_FALSE(boxWithoutWindow) << "a message box was shown after the window had gone";

    // Every carrier is either restored completely or left exactly as it was.
    int restored = 0;
    for (const char* name : names) {
        const std::string base = files.Path(name);
        if (scratch::FileExists(base + ".doc")) {
            ++restored;
            EXPECT_EQ(scratch::ReadWholeFile(base + ".doc"), document) << name;
            EXPECT_EQ(scratch::ReadWholeFile(base + "._vrs"), carrier) << name;
            EXPECT_FALSE(scratch::FileExists(base + ".exe")) << name;
        } else {
            EXPECT_EQ(scratch::ReadWholeFile(base + ".exe"), carrier) << name;
            EXPECT_FALSE(scratch::FileExists(base + "._vrs")) << name;
        }
    }
    EXPECT_GE(restored, 1);
    EXPECT_LT(restored, 5);
}

TEST_F(SearchAndRestore, ALinkBackToAnAncestorDoesNotRepeatTheTree) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("sub\\b.exe", "b");
    if (!MakeFolderLink(files.Path("sub\\loop"), files.Root())) {
        GTEST_SKIP() << "folder links cannot be made here";
    }
    const std::string root = files.Root() + "\\";
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 2 Files");
    const std::vector<std::vector<std::string>> expected = {
        {"a.exe", root, "1", "", ""},
        {"b.exe", root + "sub\\", "1", "", ""},
    };
    EXPECT_EQ(program.Rows(), expected);
}

// The names below as UTF-8 (the test program runs with the program's manifest) and as
// the UTF-16 the platform stores and shows.
struct ScriptName {
    std::string Utf8;
    std::wstring Utf16;
};
const ScriptName Documents = {
    "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B",
    L"\x0414\x043E\x043A\x0443\x043C\x0435\x043D\x0442\x044B"};  // Документы
const ScriptName ReportRu = {"\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82",
                             L"\x043E\x0442\x0447\x0451\x0442"};            // отчёт
const ScriptName ReportCn = {"\xE6\x8A\xA5\xE5\x91\x8A", L"\x62A5\x544A"};  // 报告
const ScriptName Anger = {"\xC3\x84rger", L"\x00C4rger"};                   // Ärger
const ScriptName Smile = {"x\xF0\x9F\x98\x80", L"x\xD83D\xDE00"};           // x😀

std::wstring WideOf(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

TEST_F(SearchAndRestore, NamesInEveryScriptAreFoundShownAndRestoredByThemselves) {
    const std::string letter = TestDocument("letter.doc");
    const std::string budget = TestDocument("budget.xls");
    const std::string carrier = Carrier(20480, letter);
    const std::string book = Carrier(20480, budget);
    const std::string tool = ExecutableBody(20480);
    const std::string folder = Documents.Utf8 + "\\";
    files.WriteFile(folder + ReportRu.Utf8 + ".exe", carrier);
    files.WriteFile(folder + ReportCn.Utf8 + ".exe", book);
    files.WriteFile(folder + Anger.Utf8 + ".exe", carrier);
    files.WriteFile(folder + Smile.Utf8 + ".exe", carrier);
    files.WriteFile(folder + "report.exe ", carrier);  // beside its plain twin, a program
    files.WriteFile(folder + "report.exe", tool);

    const std::string root = files.Path(Documents.Utf8);
    EXPECT_EQ(Find(root, "*.exe*"), "Finish, found 6 Files");

    // The rows show the names themselves, not what another code page makes of them.
    const std::wstring rootShown = WideOf(files.Root()) + L"\\" + Documents.Utf16 + L"\\";
    std::vector<std::wstring> names;
    for (int row = 0; row < program.RowCount(); ++row) {
        names.push_back(program.CellAsShown(row, 0));
        EXPECT_EQ(program.CellAsShown(row, 1), rootShown);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::wstring> expected = {ReportRu.Utf16 + L".exe", ReportCn.Utf16 + L".exe",
                                          Anger.Utf16 + L".exe",    Smile.Utf16 + L".exe",
                                          L"report.exe ",           L"report.exe"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    program.Click("Restore File");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 60000));
    EXPECT_EQ(box.Text, "OK... Finish\r\nTotal files infected and restored : 5");
    ASSERT_TRUE(program.Answer(box, IDOK));

    const int russian = program.FindRow(ReportRu.Utf8 + ".exe");
    ASSERT_GE(russian, 0);
    EXPECT_EQ(program.CellAsShown(russian, 4),
              L"Org file renamed to : " + ReportRu.Utf16 + L"._vrs");
    EXPECT_EQ(program.Cell(program.FindRow("report.exe"), 3), "Not Detected");
    const std::string at = files.Path(folder);
    for (const ScriptName& name : {ReportRu, Anger, Smile}) {
        EXPECT_EQ(scratch::ReadWholeFile(at + name.Utf8 + ".doc"), letter) << name.Utf8;
        EXPECT_EQ(scratch::ReadWholeFile(at + name.Utf8 + "._vrs"), carrier) << name.Utf8;
        EXPECT_FALSE(scratch::FileExists(at + name.Utf8 + ".exe")) << name.Utf8;
        // Stored under the very UTF-16 name.
        const std::wstring stored =
            WideOf(files.Root()) + L"\\" + Documents.Utf16 + L"\\" + name.Utf16 + L".doc";
        EXPECT_NE(GetFileAttributesW(stored.c_str()), INVALID_FILE_ATTRIBUTES) << name.Utf8;
    }
    EXPECT_EQ(scratch::ReadWholeFile(at + ReportCn.Utf8 + ".xls"), budget);
    EXPECT_EQ(scratch::ReadWholeFile(at + ReportCn.Utf8 + "._vrs"), book);
    EXPECT_EQ(scratch::ReadWholeFile(at + "report.doc"), letter);
    EXPECT_EQ(scratch::ReadWholeFile(at + "report._vrs"), carrier);
    EXPECT_FALSE(scratch::FileExists(at + "report.exe "));
    EXPECT_EQ(scratch::ReadWholeFile(at + "report.exe"), tool) << "the plain twin is untouched";
}

TEST_F(SearchAndRestore, FoldersAndFilesBeyondThePathLimitAreCountedAsSkipped) {
    files.WriteFile("a.exe", "a");
    const std::wstring nearFolder = L"\\\\?\\" + WideOf(files.Root()) + L"\\" +
                                    std::wstring(240 - files.Root().size() - 1, L'n');
    ASSERT_TRUE(CreateDirectoryW(nearFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((nearFolder + L"\\" + std::wstring(30, L'd')).c_str(), nullptr));
    const std::wstring longFile = nearFolder + L"\\" + std::wstring(30, L'f') + L".exe";
    HANDLE file = CreateFileW(longFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    if (GetFileAttributesA(std::string(longFile.begin() + 4, longFile.end()).c_str()) !=
        INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "the platform takes paths past the limit";
    }
    EXPECT_EQ(Find(files.Root(), "*.exe"), "Finish, found 1 Files, 2 skipped");
    EXPECT_EQ(program.RowCount(), 1);
}

}  // namespace
