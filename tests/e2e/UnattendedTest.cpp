// quillfix.exe started with arguments: the same search and restore without a window or
// message box, the printed rows and summaries, the CSV report, refusals and exit codes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLineRun.h"
#include "control/UniqueHandle.h"
#include "support/CarrierFiles.h"
#include "support/ProgramTexts.h"
#include "support/ScratchFolder.h"
#include "support/StartedProgram.h"

namespace {

using carriers::Carrier;
using carriers::ExecutableBody;
using carriers::TestDocument;
using scratch::FileExists;
using scratch::ReadWholeFile;

const char* const Bom = "\xEF\xBB\xBF";
const char* const Header = "Name,Path,Size (bytes),Status,Information\r\n";
const std::string UsageFirstLine =
    std::string(ProgramTitle) + ": finds and restores documents hidden in infected files.";

struct Outcome {
    long Code = -1;
    std::vector<std::string> Lines;
};

// The ANSI name of "café.exe" as the program sees it, and its UTF-8 form as printed.
std::string CafeAnsi() {
    char name[32] = {};
    WideCharToMultiByte(CP_ACP, 0, L"caf\u00e9.exe", -1, name, sizeof name, nullptr, nullptr);
    return name;
}
const char* const CafeUtf8 = "caf\xC3\xA9.exe";

class Unattended : public ::testing::Test {
protected:
    Unattended() : files("qf-cli"), reports("qf-cli-report") {}

    Outcome Run(const std::vector<std::string>& arguments) {
        CommandLineRun run;
        Outcome outcome;
        EXPECT_TRUE(run.Start(ProgramPath(), arguments)) << "error " << GetLastError();
        outcome.Code = run.Wait(120000);
        outcome.Lines = run.Lines();
        return outcome;
    }

    // Writes the carriers the find and restore tests share; returns the root with a
    // trailing backslash.
    std::string WriteCarriers() {
        letter = TestDocument("letter.doc");
        budget = TestDocument("budget.xls");
        EXPECT_FALSE(letter.empty());
        EXPECT_FALSE(budget.empty());
        report = Carrier(20480, letter);
        sheet = Carrier(20480, budget);
        memo = Carrier(8192, letter);
        tool = ExecutableBody(20480);
        files.WriteFile("report.exe", report);
        files.WriteFile("plain.exe", letter);  // a document named like a program
        files.WriteFile("notes.txt", "not listed");
        files.WriteFile(CafeAnsi(), memo);
        files.WriteFile("level1\\budget.exe", sheet);
        files.WriteFile("level1\\tool.exe", tool);
        files.WriteFile("old.exe\\inner.exe", report);  // a folder whose name matches the mask
        return files.Root() + "\\";
    }

    scratch::ScratchFolder files;
    scratch::ScratchFolder reports;
    std::string letter, budget, report, sheet, memo, tool;
};

TEST_F(Unattended, FindPrintsEachFoundFileAndReportsTheListWithoutTouchingAFile) {
    const std::string root = WriteCarriers();
    const std::string reportPath = reports.Path("found.csv");

    const Outcome found = Run({"-FIND", files.Root(), "/Report", reportPath});
    EXPECT_EQ(found.Code, 0);
    // One line per file as the walk finds it (each folder's files, then its subfolders),
    // fields Status, file and Information separated by tabs; then the summary.
    const std::vector<std::string> expected = {
        "\t" + root + CafeUtf8 + "\t",
        "\t" + root + "plain.exe\t",
        "\t" + root + "report.exe\t",
        "\t" + root + "level1\\budget.exe\t",
        "\t" + root + "level1\\tool.exe\t",
        "\t" + root + "old.exe\\inner.exe\t",
        "Finish, found 6 Files",
    };
    EXPECT_EQ(found.Lines, expected);

    // The report holds the list in its own order, the sizes as the list shows them.
    EXPECT_EQ(ReadWholeFile(reportPath),
              std::string(Bom) + Header + "budget.exe," + root + "level1\\,\"26,624\",,\r\n" +
                  CafeUtf8 + "," + root + ",\"18,432\",,\r\n" + "inner.exe," + root +
                  "old.exe\\,\"30,720\",,\r\n" + "plain.exe," + root + ",\"10,240\",,\r\n" +
                  "report.exe," + root + ",\"30,720\",,\r\n" + "tool.exe," + root +
                  "level1\\,\"20,480\",,\r\n");
    EXPECT_EQ(ReadWholeFile(files.Path("report.exe")), report);
    EXPECT_EQ(ReadWholeFile(files.Path("level1\\budget.exe")), sheet);
    EXPECT_FALSE(FileExists(files.Path("report.doc")));
    EXPECT_FALSE(FileExists(files.Path("report._vrs")));
}

TEST_F(Unattended, RestoreRunsTheWindowsRestoreAndReportsEveryRow) {
    const std::string root = WriteCarriers();
    const std::string reportPath = reports.Path("restored.csv");

    const Outcome restored =
        Run({"/restore", files.Root(), "/mask", "^tool*;*.exe", "/report", reportPath});
    EXPECT_EQ(restored.Code, 0);
    const std::string cafeRenamed = std::string("Org file renamed to : caf\xC3\xA9._vrs");
    const std::vector<std::string> expected = {
        "Finish, found 5 Files",
        "OK... Fixed\t" + root + "level1\\budget.exe\tOrg file renamed to : budget._vrs",
        "OK... Fixed\t" + root + CafeUtf8 + "\t" + cafeRenamed,
        "OK... Fixed\t" + root + "old.exe\\inner.exe\tOrg file renamed to : inner._vrs",
        "Not Detected\t" + root + "plain.exe\tMicrosoft Office Document",
        "OK... Fixed\t" + root + "report.exe\tOrg file renamed to : report._vrs",
        "Total files infected and restored : 4",
    };
    EXPECT_EQ(restored.Lines, expected);
    EXPECT_EQ(
        ReadWholeFile(reportPath),
        std::string(Bom) + Header + "budget.exe," + root +
            "level1\\,\"26,624\",OK... Fixed,Org file renamed to : budget._vrs\r\n" + CafeUtf8 +
            "," + root + ",\"18,432\",OK... Fixed," + cafeRenamed + "\r\n" + "inner.exe," + root +
            "old.exe\\,\"30,720\",OK... Fixed,Org file renamed to : inner._vrs\r\n" + "plain.exe," +
            root + ",\"10,240\",Not Detected,Microsoft Office Document\r\n" + "report.exe," + root +
            ",\"30,720\",OK... Fixed,Org file renamed to : report._vrs\r\n");

    EXPECT_EQ(ReadWholeFile(files.Path("report.doc")), letter);
    EXPECT_EQ(ReadWholeFile(files.Path("report._vrs")), report);
    EXPECT_FALSE(FileExists(files.Path("report.exe")));
    EXPECT_EQ(ReadWholeFile(files.Path("level1\\budget.xls")), budget);
    EXPECT_EQ(ReadWholeFile(files.Path("level1\\budget._vrs")), sheet);
    EXPECT_EQ(ReadWholeFile(files.Path("old.exe\\inner.doc")), letter);
    const std::string cafeAnsi = CafeAnsi();
    EXPECT_EQ(ReadWholeFile(files.Path(cafeAnsi.substr(0, cafeAnsi.size() - 4) + ".doc")), letter);
    // Excluded by the mask, and not a carrier: both untouched.
    EXPECT_EQ(ReadWholeFile(files.Path("level1\\tool.exe")), tool);
    EXPECT_EQ(ReadWholeFile(files.Path("plain.exe")), letter);
    EXPECT_FALSE(FileExists(files.Path("plain.doc")));
}

TEST_F(Unattended, DeleteRenameAndQuietFollowTheOptionsOfTheWindow) {
    const std::string letter = TestDocument("letter.doc");
    const std::string carrier = Carrier(8192, letter);
    files.WriteFile("del\\a.exe", carrier);
    files.WriteFile("del\\b.exe", carrier);
    files.WriteFile("ren\\c.exe", carrier);

    const Outcome deleted = Run({"/restore", files.Path("del"), "/delete", "/quiet"});
    EXPECT_EQ(deleted.Code, 0);
    EXPECT_EQ(deleted.Lines, std::vector<std::string>({"Finish, found 2 Files",
                                                       "Total files infected and restored : 2"}));
    EXPECT_EQ(ReadWholeFile(files.Path("del\\a.doc")), letter);
    EXPECT_EQ(ReadWholeFile(files.Path("del\\b.doc")), letter);
    EXPECT_FALSE(FileExists(files.Path("del\\a.exe")));
    EXPECT_FALSE(FileExists(files.Path("del\\b.exe")));

    const Outcome renamed = Run({"/restore", files.Path("ren"), "/rename", "vir"});
    EXPECT_EQ(renamed.Code, 0);
    ASSERT_EQ(renamed.Lines.size(), 3u);
    EXPECT_EQ(renamed.Lines[1],
              "OK... Fixed\t" + files.Path("ren\\c.exe") + "\tOrg file renamed to : c.vir");
    EXPECT_EQ(ReadWholeFile(files.Path("ren\\c.vir")), carrier);
    EXPECT_EQ(ReadWholeFile(files.Path("ren\\c.doc")), letter);
}

TEST_F(Unattended, AFileThatFailsGivesExitCodeOneAndKeepsWhatWasThere) {
    const std::string letter = TestDocument("letter.doc");
    const std::string carrier = Carrier(8192, letter);
    files.WriteFile("report.exe", carrier);
    files.WriteFile("report._vrs", "already here");  // the rename target exists

    const Outcome outcome = Run({"/restore", files.Root()});
    EXPECT_EQ(outcome.Code, 1);
    ASSERT_EQ(outcome.Lines.size(), 3u);
    EXPECT_NE(outcome.Lines[1].find("\tRename failed, "), std::string::npos) << outcome.Lines[1];
    EXPECT_EQ(ReadWholeFile(files.Path("report._vrs")), "already here");
    EXPECT_EQ(ReadWholeFile(files.Path("report.exe")), carrier);
    EXPECT_EQ(ReadWholeFile(files.Path("report.doc")), letter);
}

TEST_F(Unattended, BadArgumentsAMissingFolderAndAnExistingReportTouchNothing) {
    const std::string letter = TestDocument("letter.doc");
    const std::string carrier = Carrier(8192, letter);
    files.WriteFile("report.exe", carrier);
    const std::string existing = reports.WriteFile("old.csv", "keep me");
    const auto untouched = [&]() {
        EXPECT_EQ(ReadWholeFile(files.Path("report.exe")), carrier);
        EXPECT_FALSE(FileExists(files.Path("report.doc")));
        EXPECT_FALSE(FileExists(files.Path("report._vrs")));
    };

    const struct {
        std::vector<std::string> Arguments;
        std::string Reason;
    } refused[] = {
        {{"/restore", files.Root(), "/rename", "a:b"},
         "The extension may not contain \\ / : * ? \" < > |"},
        {{"/restore", files.Root(), "/force"}, "Unknown switch: /force"},
        {{"/restore", files.Root(), "/report", existing},
         "The report file already exists: " + existing},
    };
    for (const auto& test : refused) {
        const Outcome outcome = Run(test.Arguments);
        EXPECT_EQ(outcome.Code, 2) << test.Reason;
        ASSERT_GE(outcome.Lines.size(), 3u);
        EXPECT_EQ(outcome.Lines.front(), UsageFirstLine);
        EXPECT_EQ(outcome.Lines.back(), test.Reason);
        untouched();
    }
    EXPECT_EQ(ReadWholeFile(existing), "keep me");

    const std::string newReport = reports.Path("new.csv");
    const Outcome missing = Run({"/restore", files.Path("missing"), "/report", newReport});
    EXPECT_EQ(missing.Code, 3);
    EXPECT_EQ(missing.Lines,
              std::vector<std::string>({"The folder does not exist: " + files.Path("missing")}));
    EXPECT_FALSE(FileExists(newReport));

    const Outcome usage = Run({"/?"});
    EXPECT_EQ(usage.Code, 0);
    ASSERT_FALSE(usage.Lines.empty());
    EXPECT_EQ(usage.Lines.front(), UsageFirstLine);
    untouched();
}

// Asks the program to end through its hidden main window once the first row is
// printed, as a task scheduler (WM_CLOSE) or the end of the session (WM_ENDSESSION)
// does; ask receives that window.
template <class Ask>
Outcome RunAndAskToEndAfterFirstRow(const std::vector<std::string>& arguments, bool& windowHidden,
                                    Ask ask) {
    CommandLineRun run;
    Outcome outcome;
    EXPECT_TRUE(run.Start(ProgramPath(), arguments));
    HWND window = nullptr;
    const DWORD start = GetTickCount();
    while ((window = run.TopLevelWindow("obj_Form")) == nullptr && GetTickCount() - start < 60000) {
        Sleep(2);
    }
    EXPECT_NE(window, nullptr);
    std::string line;
    EXPECT_TRUE(run.NextLine(line, 60000));
    while (line.compare(0, 7, "Finish,") == 0 && run.NextLine(line, 60000)) {
    }
    ask(window);
    windowHidden = window != nullptr && !IsWindowVisible(window);
    outcome.Code = run.Wait(120000);
    outcome.Lines = run.Lines();
    return outcome;
}

void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Writes carriers f1000.exe and on; checks the report of a run stopped part way: every
// row is listed, the done ones completely, the others untouched.
class StoppedRestore {
public:
    StoppedRestore(const scratch::ScratchFolder& files, int total)
        : files_(files),
          total_(total),
          letter_(TestDocument("letter.doc")),
          carrier_(Carrier(90000, letter_)) {
        for (int index = 0; index < total; ++index) {
            files.WriteFile(Name(index) + ".exe", carrier_);
        }
    }

    // Returns the number of rows done; a row still in progress ("Analyzing..." or
    // "Infected...") is allowed when inProgressAllowed, and its files are not checked.
    size_t Check(const std::string& report, bool inProgressAllowed) const {
        size_t fixed = 0;
        size_t inProgress = 0;
        for (int index = 0; index < total_; ++index) {
            const std::string name = Name(index);
            const std::string row = name + ".exe," + files_.Root() + "\\,\"100,240\",";
            if (report.find(row + "OK... Fixed,Org file renamed to : " + name + "._vrs\r\n") !=
                std::string::npos) {
                ++fixed;
                EXPECT_EQ(ReadWholeFile(files_.Path(name + ".doc")), letter_) << name;
                EXPECT_EQ(ReadWholeFile(files_.Path(name + "._vrs")), carrier_) << name;
            } else if (inProgressAllowed &&
                       (report.find(row + "Analyzing...,\r\n") != std::string::npos ||
                        report.find(row + "Infected...,\r\n") != std::string::npos)) {
                ++inProgress;
            } else {
                EXPECT_NE(report.find(row + ",\r\n"), std::string::npos) << name;
                EXPECT_EQ(ReadWholeFile(files_.Path(name + ".exe")), carrier_) << name;
                EXPECT_FALSE(FileExists(files_.Path(name + ".doc"))) << name;
            }
        }
        EXPECT_LE(inProgress, 1u);
        return fixed;
    }

private:
    static std::string Name(int index) { return "f" + std::to_string(1000 + index); }

    const scratch::ScratchFolder& files_;
    int total_;
    std::string letter_;
    std::string carrier_;
};

TEST_F(Unattended, AskedToEndItFinishesTheFileInProgressAndReportsWhatWasDone) {
    const StoppedRestore carriers(files, 150);
    const std::string reportPath = reports.Path("stopped.csv");

    bool hidden = false;
    const Outcome outcome = RunAndAskToEndAfterFirstRow(
        {"/restore", files.Root(), "/report", reportPath}, hidden, PostClose);
    EXPECT_TRUE(hidden) << "the main window must never be shown";
    EXPECT_EQ(outcome.Code, 1);
    ASSERT_GE(outcome.Lines.size(), 3u);
    EXPECT_EQ(outcome.Lines.front(), "Finish, found 150 Files");
    EXPECT_EQ(outcome.Lines.back(), "Restoring files were stopped");
    const size_t restoredRows = outcome.Lines.size() - 2;
    EXPECT_LT(restoredRows, 150u);
    EXPECT_EQ(carriers.Check(ReadWholeFile(reportPath), false), restoredRows);
}

TEST_F(Unattended, TheEndOfTheSessionWritesTheReportBeforeTheProcessIsEnded) {
    const StoppedRestore carriers(files, 150);
    const std::string reportPath = reports.Path("session.csv");

    bool hidden = false;
    std::string reportAtEnd;
    const Outcome outcome = RunAndAskToEndAfterFirstRow(
        {"/restore", files.Root(), "/report", reportPath}, hidden, [&](HWND window) {
            DWORD_PTR result = 0;
            SetLastError(0);
            EXPECT_NE(
                SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 30000, &result), 0)
                << GetLastError();
            reportAtEnd = ReadWholeFile(reportPath);
        });
    // The report was there when the message returned, with the rows as they were then:
    // the system ends the process at that point. It is not written a second time.
    ASSERT_FALSE(reportAtEnd.empty());
    EXPECT_EQ(ReadWholeFile(reportPath), reportAtEnd);
    EXPECT_EQ(outcome.Code, 1);
    EXPECT_EQ(outcome.Lines.back(), "Restoring files were stopped");
    EXPECT_GE(carriers.Check(reportAtEnd, true), 1u);
}

TEST_F(Unattended, AskedToEndDuringTheSearchItStopsLikeStop) {
    for (int index = 0; index < 300; ++index) {
        files.WriteFile("d" + std::to_string(1000 + index) + "\\x.exe", "x");
    }
    bool hidden = false;
    const Outcome outcome = RunAndAskToEndAfterFirstRow({"/find", files.Root()}, hidden, PostClose);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(outcome.Code, 1);
    ASSERT_GE(outcome.Lines.size(), 2u);
    const size_t rows = outcome.Lines.size() - 1;
    EXPECT_LT(rows, 300u);
    EXPECT_EQ(outcome.Lines.back(), "Searching stopped, found " + std::to_string(rows) + " Files");
}

}  // namespace

namespace {

// A console of the test's own, which the program started from it attaches to; the
// test's standard output (not a console) is left as it is.
class OwnConsole {
public:
    OwnConsole() {
        FreeConsole();
        created_ = AllocConsole() != 0;
        screen_.Reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
        const COORD size = {160, 2000};
        SetConsoleScreenBufferSize(screen_.Get(), size);
    }
    ~OwnConsole() {
        SetConsoleCtrlHandler(nullptr, FALSE);
        screen_.Close();
        FreeConsole();
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;

    bool Created() const { return created_ && screen_.IsValid(); }

    // The screen's lines up to the cursor, trailing blanks removed.
    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        if (!GetConsoleScreenBufferInfo(screen_.Get(), &info)) {
            return lines;
        }
        for (SHORT y = 0; y < info.dwCursorPosition.Y; ++y) {
            std::wstring line(static_cast<size_t>(info.dwSize.X), L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(screen_.Get(), &line[0], static_cast<DWORD>(line.size()),
                                        COORD{0, y}, &read);
            line.erase(line.find_last_not_of(L' ') + 1);
            lines.push_back(line);
        }
        return lines;
    }

private:
    bool created_ = false;
    FileHandle screen_;
};

TEST_F(Unattended, PrintsToTheConsoleItWasStartedFromAndStopsOnCtrlC) {
    for (int index = 0; index < 300; ++index) {
        files.WriteFile("d" + std::to_string(1000 + index) + "\\x.exe", "x");
    }
    files.WriteFile(CafeAnsi(), "c");
    OwnConsole console;
    ASSERT_TRUE(console.Created());

    StartedProgram program;
    const std::string path = ProgramPath();
    std::string commandLine = QuotedCommandLine(path, {"/find", files.Root()});
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    CloseHandle(info.hThread);
    // Ctrl+C once a subfolder's file is printed; the test itself ignores it.
    const DWORD start = GetTickCount();
    bool subfolderSeen = false;
    while (!subfolderSeen && GetTickCount() - start < 60000 &&
           WaitForSingleObject(info.hProcess, 2) != WAIT_OBJECT_0) {
        for (const std::wstring& line : console.Lines()) {
            subfolderSeen = subfolderSeen || line.find(L"\\x.exe") != std::wstring::npos;
        }
    }
    SetConsoleCtrlHandler(nullptr, TRUE);
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    EXPECT_EQ(code, 1u);

    const std::vector<std::wstring> lines = console.Lines();
    ASSERT_GE(lines.size(), 3u);
    // The name's e acute reaches the console as the character itself.
    EXPECT_NE(lines[0].find(L"\\caf\u00e9.exe"), std::wstring::npos) << lines[0].size();
    const size_t rows = lines.size() - 1;
    EXPECT_LT(rows, 301u);
    EXPECT_EQ(lines.back(), L"Searching stopped, found " + std::to_wstring(rows) + L" Files");
}

}  // namespace
