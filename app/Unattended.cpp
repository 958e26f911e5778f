#include "app/Unattended.h"

#include <windows.h>

#include <exception>

#include "app/ConsoleOutput.h"
#include "app/CsvReport.h"
#include "app/StopSignal.h"
#include "app/Unit1.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "recovery/RestoreFiles.h"
#include "search/ResultList.h"
#include "search/RunObserver.h"
#include "search/StartSearch.h"
#include "search/TextHelpers.h"

namespace {

const char* const RowFieldSeparator = "\t";

// Statuses a row ends in when its file failed, and the Information texts that tell of a
// failure after the document was saved.
const char* const FailedStatuses[] = {"Save failed",    "Delete failed", "Rename failed",
                                      "Not Accessible", "Not Supported", "Infected..."};
const char* const FailedInformationStarts[] = {"Save failed", "Delete failed", "Rename failed"};

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The absolute form of a path as given (relative to the current folder); the path
// unchanged when the platform cannot make one.
std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, &filePart);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The folder part of an absolute file path, without the trailing backslash of a folder
// (kept for a drive's root).
std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return std::string();
    }
    if (slash > 0 && path[slash - 1] == ':') {
        return path.substr(0, slash + 1);
    }
    return path.substr(0, slash);
}

// The last line of a message box text: the summary line of the restore's boxes.
std::string LastLine(const std::string& text) {
    const size_t end = text.find_last_of("\r\n");
    return end == std::string::npos ? text : text.substr(end + 1);
}

void PrintUsage(PrintLineProc print, void* context) {
    const std::string usage = UsageText();
    size_t start = 0;
    for (;;) {
        const size_t end = usage.find("\r\n", start);
        print(context,
              usage.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) {
            return;
        }
        start = end + 2;
    }
}

// One search, and for /restore one restore, on a hidden main window.
class UnattendedRun {
public:
    UnattendedRun(const CommandLine& command, PrintLineProc print, void* context)
        : command_(command), print_(print), context_(context) {
        observer_.RowFinished = OnRowFinished;
        observer_.Summary = OnSummary;
        observer_.Context = this;
    }
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;

    int Execute(const std::string& folder, const std::string& reportPath);

private:
    enum class Phase { Idle, Searching, Restoring };

    static void OnRowFinished(void* context, int row);
    static void OnSummary(void* context, const std::string& text);
    static bool OnFormMessage(void* context, Control* sender, MessageRecord& message,
                              LRESULT& result);

    void Print(const std::string& line) const { print_(context_, line); }
    void PrintRow(int row) const;
    // Sets the controls the way a user would before "Find" and "Restore File".
    void FillControls(const std::string& folder);
    // Stops a running search or restore as "Stop" and "Stop Restore" do, and keeps any
    // later step from starting.
    void RequestStop();
    bool StopAsked();
    // Writes the report once (a session that ends writes it early); true when written or
    // none was asked for.
    bool WriteReport();
    int ExitCode(bool reportWritten) const;
    void TearDown();

    const CommandLine& command_;
    PrintLineProc print_;
    void* context_;
    RunObserver observer_;
    MainWindow* window_ = nullptr;
    Phase phase_ = Phase::Idle;
    std::string reportPath_;
    bool stopped_ = false;
    bool restoreSummarized_ = false;
    bool reportDone_ = false;
    bool reportWritten_ = false;
};

void UnattendedRun::OnRowFinished(void* context, int row) {
    auto* run = static_cast<UnattendedRun*>(context);
    const bool printed = run->command_.Action == CommandAction::Find
                             ? run->phase_ == Phase::Searching
                             : run->phase_ == Phase::Restoring;
    if (printed && !run->command_.Quiet) {
        run->PrintRow(row);
    }
}

void UnattendedRun::OnSummary(void* context, const std::string& text) {
    auto* run = static_cast<UnattendedRun*>(context);
    run->restoreSummarized_ = true;
    run->Print(LastLine(text));
}

bool UnattendedRun::OnFormMessage(void* context, Control*, MessageRecord& message,
                                  LRESULT& result) {
    auto* run = static_cast<UnattendedRun*>(context);
    switch (message.Message) {
        case StopRequestMessage:
        case WM_CLOSE:
            run->RequestStop();
            result = 0;
            return true;
        case WM_ENDSESSION:
            // The process ends once this returns: the report is written with the rows as
            // they are now.
            if (message.WParam != 0) {
                run->RequestStop();
                try {
                    run->WriteReport();
                } catch (const std::exception&) {
                    // Out of memory: the session ends without a report.
                }
            }
            result = 0;
            return true;
        default:
            return false;
    }
}

void UnattendedRun::PrintRow(int row) const {
    if (row < 0) {
        return;
    }
    const ResultList rows(window_->ResultListView);
    const std::string file = rows.GetCell(row, PathColumn) + rows.GetCell(row, NameColumn);
    if (TrimBlanks(file).empty()) {
        return;
    }
    Print(rows.GetCell(row, StatusColumn) + RowFieldSeparator + file + RowFieldSeparator +
          rows.GetCell(row, InformationColumn));
}

void UnattendedRun::FillControls(const std::string& folder) {
    window_->FolderEdit->SetText(folder);
    window_->MaskCombo->SetText(command_.Mask);
    if (command_.Delete) {
        // The warning box is for a user who picks the option in the window.
        window_->DeleteInfectedRadio->SetClickEvent(nullptr, nullptr);
        window_->DeleteInfectedRadio->SetChecked(true);
    }
    window_->RenameWithEdit->SetText(command_.RenameText);
}

void UnattendedRun::RequestStop() {
    stopped_ = true;
    if (window_ == nullptr) {
        return;
    }
    if (window_->Searching != 0) {
        StopSearch(window_);
    }
    if (RestoreRunning(window_)) {
        StopRestore(window_);
    }
}

bool UnattendedRun::StopAsked() {
    if (ConsoleStopAsked()) {
        stopped_ = true;
    }
    return stopped_;
}

bool UnattendedRun::WriteReport() {
    if (reportDone_) {
        return reportWritten_;
    }
    reportDone_ = true;
    if (reportPath_.empty()) {
        reportWritten_ = true;
        return true;
    }
    std::vector<std::vector<std::string>> cells;
    const ResultList rows(window_->ResultListView);
    const int count = rows.RowCount();
    for (int row = 0; row < count; ++row) {
        cells.push_back({rows.GetCell(row, NameColumn), rows.GetCell(row, PathColumn),
                         rows.GetCell(row, SizeColumn), rows.GetCell(row, StatusColumn),
                         rows.GetCell(row, InformationColumn)});
    }
    std::string failure;
    reportWritten_ = WriteNewFile(reportPath_, CsvReportText(cells), failure);
    if (!reportWritten_) {
        Print(failure);
    }
    return reportWritten_;
}

int UnattendedRun::ExitCode(bool reportWritten) const {
    if (stopped_ || !reportWritten) {
        return ExitFailure;
    }
    const ResultList rows(window_->ResultListView);
    const int count = rows.RowCount();
    for (int row = 0; row < count; ++row) {
        if (RowEndedInFailure(rows.GetCell(row, StatusColumn),
                              rows.GetCell(row, InformationColumn))) {
            return ExitFailure;
        }
    }
    return ExitNoFailure;
}

void UnattendedRun::TearDown() {
    SetStopTarget(nullptr);
    window_->Observer = nullptr;
    window_->MainForm->SetMessageHook(nullptr, nullptr);
    // The form releases the window object and every control; the close is accepted
    // since no search runs. Terminate clears a variable of its own, not the object's.
    Control* form = window_->MainForm;
    Terminate(form);
    window_ = nullptr;
}

int UnattendedRun::Execute(const std::string& folder, const std::string& reportPath) {
    reportPath_ = reportPath;
    BuildMainWindow(&window_, nullptr);
    window_->MainForm->SetVisible(false);
    window_->Observer = &observer_;
    window_->MainForm->SetMessageHook(OnFormMessage, this);
    SetStopTarget(window_->MainForm->Handle);
    FillControls(folder);

    if (!StopAsked()) {
        phase_ = Phase::Searching;
        StartSearch(window_);
        phase_ = Phase::Idle;
        Print(window_->InfoLabel->GetText());
    }
    if (command_.Action == CommandAction::Restore) {
        // A stop that waits in the queue is seen before the restore begins.
        ProcessAllMessages(ApplicationObject());
        if (!StopAsked()) {
            phase_ = Phase::Restoring;
            RestoreFiles(window_);
            phase_ = Phase::Idle;
            if (!restoreSummarized_) {
                Print("Total files infected and restored : 0");
            }
        }
    }

    const bool reportWritten = WriteReport();
    const int code = ExitCode(reportWritten);
    TearDown();
    return code;
}

}  // namespace

bool RowEndedInFailure(const std::string& status, const std::string& information) {
    for (const char* failed : FailedStatuses) {
        if (status == failed) {
            return true;
        }
    }
    for (const char* start : FailedInformationStarts) {
        if (StartsWith(information, start)) {
            return true;
        }
    }
    return false;
}

int RunUnattended(const CommandLine& command, PrintLineProc print, void* context) {
    auto refuse = [&](const std::string& reason) {
        PrintUsage(print, context);
        print(context, "");
        print(context, reason);
        return static_cast<int>(ExitBadArguments);
    };

    switch (command.Action) {
        case CommandAction::Usage:
            PrintUsage(print, context);
            return ExitNoFailure;
        case CommandAction::Invalid:
            return refuse(command.Reason);
        case CommandAction::Interactive:
            return refuse("No command given");
        case CommandAction::Find:
        case CommandAction::Restore:
            break;
    }

    std::string reportPath;
    if (!command.ReportPath.empty()) {
        reportPath = FullPath(command.ReportPath);
        if (Exists(reportPath)) {
            return refuse("The report file already exists: " + reportPath);
        }
        if (!IsFolder(FolderOf(reportPath))) {
            return refuse("The report file's folder does not exist: " + reportPath);
        }
    }
    const std::string folder = FullPath(command.Folder);
    if (!IsFolder(folder)) {
        print(context, "The folder does not exist: " + folder);
        return ExitFolderMissing;
    }
    return UnattendedRun(command, print, context).Execute(folder, reportPath);
}

int RunCommandLine(const std::vector<std::string>& arguments, const std::string& argumentFault) {
    ConsoleOutput output;
    output.Open();
    if (output.HasConsole()) {
        InstallConsoleStopHandler();
    }
    CommandLine command;
    if (argumentFault.empty()) {
        command = ParseCommandLine(arguments);
    } else {
        command.Action = CommandAction::Invalid;
        command.Reason = argumentFault;
    }
    int code = ExitFailure;
    try {
        code = RunUnattended(
            command,
            [](void* context, const std::string& line) {
                static_cast<ConsoleOutput*>(context)->WriteLine(line);
            },
            &output);
    } catch (const std::exception&) {
        output.WriteLine("Not enough memory to go on");
    }
    SignalRunFinished();
    return code;
}
