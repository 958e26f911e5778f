#include "recovery/RestoreFiles.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <exception>

#include "control/Control.h"
#include "control/ManagedObject.h"
#include "control/MessageBox.h"
#include "control/MessageLoop.h"
#include "control/RedrawBatch.h"
#include "control/RowInProgress.h"
#include "control/RunScope.h"
#include "control/StringList.h"
#include "control/SystemErrorText.h"
#include "recovery/ByteStream.h"
#include "recovery/ExtractDocument.h"
#include "recovery/LocateDocument.h"
#include "recovery/ModernDocument.h"
#include "recovery/ProgramImage.h"
#include "search/ExactPath.h"
#include "search/FileNameExtension.h"
#include "search/ResultList.h"
#include "search/TextHelpers.h"

namespace {

// The first bytes of a file read at once: its signature and a program's headers.
constexpr int32_t HeadSize = 4096;
const DWORD RedrawIntervalMs = 250;  // pause between two repaints of the list during a run

// Counts as a running window procedure of the control layer while it lives, so that
// destruction requested meanwhile waits until the command has returned.
class MessageHandlingScope {
public:
    MessageHandlingScope() { EnterMessageHandling(); }
    ~MessageHandlingScope() { LeaveMessageHandling(); }
    MessageHandlingScope(const MessageHandlingScope&) = delete;
    MessageHandlingScope& operator=(const MessageHandlingScope&) = delete;
};

// How the carrier is disposed of once its document is saved.
struct DisposalOptions {
    bool Delete = false;     // "Delete infected files" is selected
    std::string RenameText;  // the "Rename with" text, free of characters that leave the folder
};

// One "Restore File" run over the rows of the result list. The window may be closed
// while the run handles a message; from then on no control is touched again, the file
// in progress is finished and the run ends without a summary.
class RestoreRun {
public:
    explicit RestoreRun(RestoreWindow* window) : window_(window), list_(window->ResultListView) {}

    // False, with the information line telling why, when the options forbid a run.
    bool CheckOptions();
    void Execute();

private:
    bool WindowGone() const;
    // Handles at most one waiting message; notes when the window went away meanwhile.
    void Pump();
    void SetInfo(const std::string& text);
    // The options as the window shows them now; a rename text that would leave the folder
    // keeps the one the run was started with.
    DisposalOptions ReadDisposalOptions() const;

    void RestoreRow(int row);
    int32_t ChooseOffset(ByteStream& carrier, const std::string& filePath, int32_t imageEnd,
                         std::string& extension);
    // The second search, for a file in which no OLE2 or RTF document was found: an Office
    // package or a PDF document that runs to the end of the file.
    int32_t ChooseModernOffset(ByteStream& carrier, int32_t imageEnd, std::string& extension);
    // Writes a cell of the row that holds the file, which may have moved or gone while
    // messages were handled.
    void WriteCell(int& row, const std::string& path, const std::string& name, int column,
                   const std::string& text);
    int FindFileRow(int row, const std::string& path, const std::string& name) const;

    RestoreWindow* window_;
    ResultList list_;
    bool gone_ = false;
    bool rowChecked_ = false;        // the row index was confirmed after the last message handling
    ByteStreamPtr document_;         // the memory that holds each extracted document in turn
    RedrawBatch* redraw_ = nullptr;  // the list's batched repainting while rows are worked on
    int32_t restoredCount_ = 0;
    std::string startRenameText_;  // the checked "Rename with" text at the start of the run
};

bool RestoreRun::WindowGone() const {
    const Control* form = window_->MainForm;
    if (form == nullptr) {
        return false;
    }
    if (form->WindowGone || form->IsDestroyScheduled()) {
        return true;
    }
    return form->Handle != nullptr && !IsWindow(form->Handle);
}

void RestoreRun::Pump() {
    if (gone_) {
        return;
    }
    if (redraw_ != nullptr) {
        redraw_->Changed();
        redraw_->ShowIfDue();
    }
    ProcessPendingMessages(ApplicationObject());
    gone_ = WindowGone();
    rowChecked_ = false;
}

void RestoreRun::SetInfo(const std::string& text) {
    if (!gone_ && window_->InfoLabel != nullptr) {
        window_->InfoLabel->SetText(text);
    }
}

DisposalOptions RestoreRun::ReadDisposalOptions() const {
    DisposalOptions options;
    options.Delete =
        window_->DeleteInfectedRadio != nullptr && window_->DeleteInfectedRadio->IsChecked();
    options.RenameText = startRenameText_;
    if (window_->RenameWithEdit != nullptr) {
        const std::string text = window_->RenameWithEdit->GetText();
        if (ExtensionTextAllowed(TrimBlanks(text))) {
            options.RenameText = text;
        }
    }
    return options;
}

bool RestoreRun::CheckOptions() {
    const bool deleting =
        window_->DeleteInfectedRadio != nullptr && window_->DeleteInfectedRadio->IsChecked();
    const std::string text =
        window_->RenameWithEdit != nullptr ? window_->RenameWithEdit->GetText() : "";
    if (!ExtensionTextAllowed(TrimBlanks(text))) {
        if (!deleting) {
            SetInfo(ExtensionRefusedText);
            return false;
        }
        startRenameText_.clear();
    } else {
        startRenameText_ = text;
    }
    return true;
}

int RestoreRun::FindFileRow(int row, const std::string& path, const std::string& name) const {
    if (list_.GetCell(row, NameColumn) == name && list_.GetCell(row, PathColumn) == path) {
        return row;
    }
    const int count = list_.RowCount();
    for (int other = 0; other < count; ++other) {
        if (other != row && list_.GetCell(other, NameColumn) == name &&
            list_.GetCell(other, PathColumn) == path) {
            return other;
        }
    }
    return -1;
}

void RestoreRun::WriteCell(int& row, const std::string& path, const std::string& name, int column,
                           const std::string& text) {
    if (gone_) {
        return;
    }
    if (!rowChecked_) {
        row = FindFileRow(row, path, name);
        rowChecked_ = true;
    }
    if (row >= 0) {
        list_.SetCell(row, column, text);
    }
}

// Deletes or renames the carrier; returns the text for the Information cell.
std::string DisposeOfCarrier(const std::string& filePath, const std::string& name,
                             const DisposalOptions& options) {
    if (options.Delete) {
        if (DeleteFileA(ExactPath(filePath).c_str())) {
            return "Virus was deleted";
        }
        return "Delete failed, " + SystemErrorText(GetLastError());
    }
    const std::string text = TrimBlanks(options.RenameText);
    const std::string extension = text.empty() ? "._vrs" : "." + text;
    const std::string target = ReplaceFileNameExtension(filePath, extension);
    if (MoveFileA(ExactPath(filePath).c_str(), ExactPath(target).c_str())) {
        return "Org file renamed to : " + ReplaceFileNameExtension(name, extension);
    }
    return "Rename failed, " + SystemErrorText(GetLastError());
}

// The offset of the document in carrier, after the program image (imageEnd, 0 for a file
// that is no program): the offsets listed from earlier files first, then a scan.
int32_t RestoreRun::ChooseOffset(ByteStream& carrier, const std::string& filePath, int32_t imageEnd,
                                 std::string& extension) {
    RestoreWindow* window = window_;
    if (window->OffsetList == nullptr) {
        // Without an offset list the file is scanned on its own.
        window->CurrentOffset = LocateDocument(window, filePath, imageEnd);
        return window->CurrentOffset;
    }
    if (StringListCount(window->OffsetList) == 0) {
        LocateDocument(window, filePath, imageEnd);
    }
    window->CurrentOffset = 0;
    const int count = StringListCount(window->OffsetList);
    for (int index = 0; index < count; ++index) {
        window->CurrentOffset = ParseLeadingInteger(StringListItem(window->OffsetList, index));
        unsigned char head[5] = {0, 0, 0, 0, 0};
        // A signature inside the program's own image is part of the program.
        if (window->CurrentOffset >= imageEnd &&
            StreamSeek(carrier, window->CurrentOffset, FromBeginning) == window->CurrentOffset) {
            StreamRead(carrier, head, sizeof head);
        }
        if (BytesEqual(head, Ole2Signature, sizeof head)) {
            break;
        }
        if (BytesEqual(head, RtfSignature, sizeof head)) {
            extension = ".doc";
            break;
        }
        window->CurrentOffset = 0;
    }
    // A list released while the seeding scan handled messages leaves the scan alone.
    if ((window->OffsetList == nullptr || StringListCount(window->OffsetList) != 0) &&
        window->CurrentOffset == 0) {
        window->CurrentOffset = LocateDocument(window, filePath, imageEnd);
    }
    return window->CurrentOffset;
}

int32_t RestoreRun::ChooseModernOffset(ByteStream& carrier, int32_t imageEnd,
                                       std::string& extension) {
    RestoreWindow* window = window_;
    const DocumentEnd end = ReadDocumentEnd(carrier, imageEnd);
    if (!end.Package && !end.Pdf) {
        return -1;
    }
    // Offsets of such documents in earlier files count only after the same checks.
    const int count = window->OffsetList != nullptr ? StringListCount(window->OffsetList) : 0;
    for (int index = 0; index < count; ++index) {
        const int32_t offset = ParseLeadingInteger(StringListItem(window->OffsetList, index));
        if (offset >= imageEnd && offset > 0) {
            extension = ModernDocumentAt(carrier, offset, end);
            if (!extension.empty()) {
                return offset;
            }
        }
    }
    // Lets the window paint the row's latest status before the scan, as the locator does.
    Pump();
    const int32_t offset = FindModernDocument(carrier, imageEnd, end, extension);
    if (offset >= 0 && window->OffsetList != nullptr && !IsOffsetListed(window, offset)) {
        StringListAdd(window->OffsetList, IntegerText(offset));
    }
    return offset;
}

// True when the file, whose first bytes are head, itself begins with a document: it is a
// document, not a carrier.
bool StartsWithDocument(ByteStream& file, const unsigned char* head, int32_t headSize) {
    unsigned char start[5] = {0, 0, 0, 0, 0};
    std::memcpy(start, head, static_cast<size_t>(headSize < 5 ? headSize : 5));
    if (BytesEqual(start, Ole2Signature, sizeof start) ||
        BytesEqual(start, RtfSignature, sizeof start)) {
        return true;
    }
    // The end of the file is read only for a head that may start a newer document.
    if (start[0] == 'P' || start[0] == '%') {
        return !ModernDocumentAt(file, 0, ReadDocumentEnd(file, 0)).empty();
    }
    return false;
}

void RestoreRun::RestoreRow(int row) {
    const std::string path = list_.GetCell(row, PathColumn);
    const std::string name = list_.GetCell(row, NameColumn);
    const std::string filePath = path + name;
    if (TrimBlanks(filePath).empty()) {
        return;
    }
    rowChecked_ = true;
    // Taken now so that the carrier is disposed of as chosen even if the window closes
    // while this file is in progress; read again before use while the window exists.
    DisposalOptions options = ReadDisposalOptions();

    MarkRowInProgress(list_.View(), row);
    list_.SetCell(row, StatusColumn, "Analyzing...");
    Pump();

    ByteStreamPtr carrier = OpenFileStreamForRead(filePath);
    if (!carrier) {
        return;
    }
    if (!carrier->Handle.IsValid()) {
        // Left at "Analyzing..." the row would not tell that its file was never read.
        const DWORD error = GetLastError();
        FreeStream(carrier);
        const std::string reason = SystemErrorText(error);
        WriteCell(row, path, name, StatusColumn, "Not Accessible");
        WriteCell(row, path, name, InformationColumn,
                  reason.empty() ? "Error " + IntegerText(static_cast<int32_t>(error)) : reason);
        return;
    }
    const int64_t size = StreamSize64(*carrier);
    if (size > LargestSupportedFileSize) {
        FreeStream(carrier);
        WriteCell(row, path, name, StatusColumn, "Not Supported");
        WriteCell(row, path, name, InformationColumn, "File is 2 GB or larger");
        return;
    }
    if (size <= 0) {
        return;
    }

    // The file's first bytes, read once (it was just opened), tell a document and hold a
    // program's headers.
    unsigned char head[HeadSize];
    const int32_t headSize = StreamRead(*carrier, head, HeadSize);
    if (StartsWithDocument(*carrier, head, headSize)) {
        FreeStream(carrier);
        WriteCell(row, path, name, StatusColumn, "Not Detected");
        WriteCell(row, path, name, InformationColumn, "Microsoft Office Document");
        return;
    }
    const int64_t imageEnd = ProgramImageEnd(*carrier, head, headSize);
    if (imageEnd >= size) {
        // A program with nothing after its image carries no document.
        FreeStream(carrier);
        WriteCell(row, path, name, StatusColumn, "Not Detected");
        return;
    }
    std::string extension;
    int32_t offset = ChooseOffset(*carrier, filePath, static_cast<int32_t>(imageEnd), extension);
    // The locator handles messages too.
    gone_ = gone_ || WindowGone();
    rowChecked_ = false;
    if (offset == -1) {
        offset = ChooseModernOffset(*carrier, static_cast<int32_t>(imageEnd), extension);
        window_->CurrentOffset = offset;
    }
    if (offset < 1) {
        FreeStream(carrier);
        WriteCell(row, path, name, StatusColumn, "Not Detected");
        if (offset == 0) {
            WriteCell(row, path, name, InformationColumn, "Microsoft Office Document");
        }
        return;
    }

    Pump();
    WriteCell(row, path, name, StatusColumn, "Infected...");
    Pump();

    if (!document_) {
        document_ = NewMemoryStream();
    }
    ExtractionResult result;
    if (document_) {
        result = ExtractDocument(*carrier, offset, extension, filePath, *document_);
    } else {
        result.ErrorCode = ERROR_NOT_ENOUGH_MEMORY;
    }
    FreeStream(carrier);
    if (!result.Saved) {
        // The carrier holds the only copy of the document: it stays as it is.
        WriteCell(row, path, name, StatusColumn, "Save failed");
        WriteCell(row, path, name, InformationColumn, SaveFailureText(result));
        Pump();
        return;
    }
    ++restoredCount_;

    if (!gone_) {
        options = ReadDisposalOptions();
    }
    std::string information = DisposeOfCarrier(filePath, name, options);
    if (result.OutputPath != result.PreferredPath) {
        information += ", document saved as " + FileNameOf(result.OutputPath);
    }
    WriteCell(row, path, name, StatusColumn, "OK... Fixed");
    WriteCell(row, path, name, InformationColumn, information);
    Pump();
}

void RestoreRun::Execute() {
    {
        // The run is active and "Restore File" disabled exactly while rows are worked on;
        // both are undone on every way out, before the summary is shown.
        RunScope run(window_->RunActive, window_->RestoreButton);
        window_->CurrentOffset = 0;
        StringListClear(window_->OffsetList);
        window_->RestoreStopRequested = 0;
        SetInfo("Restoring files..");

        // Repainting the list after every cell write would cost more than the restore itself;
        // the rows' progress is shown a few times a second instead.
        RedrawBatch redraw(window_->ResultListView, RedrawIntervalMs, RedrawBatch::CellsChanged);
        redraw_ = &redraw;
        bool failed = false;
        try {
            const int rowCount = list_.RowCount();
            for (int row = 0; row < rowCount && !gone_; ++row) {
                if (window_->RestoreStopRequested != 0) {
                    SetInfo("Restore files were stopped");
                    break;
                }
                RestoreRow(row);
                if (!gone_) {
                    TellRowFinished(window_->Observer, row);
                }
            }
        } catch (...) {
            // Out of memory or another failure between two files: the run ends where it is.
            failed = true;
            gone_ = gone_ || WindowGone();
            SetInfo("Restoring ended on an error");
        }
        redraw_ = nullptr;
        if (failed) {
            window_->RestoreStopRequested = 0;
            return;
        }
    }

    if (gone_) {
        window_->RestoreStopRequested = 0;
        return;
    }
    if (window_->RestoreStopRequested != 0) {
        if (!TellSummary(window_->Observer, "Restoring files were stopped")) {
            ShowMessageBox("Restoring files were stopped", 0);
        }
    } else {
        const std::string finish =
            "OK... Finish\r\nTotal files infected and restored : " + IntegerText(restoredCount_);
        if (!TellSummary(window_->Observer, finish)) {
            ShowMessageBox(finish, MB_ICONINFORMATION);
        }
    }
    window_->RestoreStopRequested = 0;
}

}  // namespace

void RestoreFiles(RestoreWindow* window) {
    if (window == nullptr || window->ResultListView == nullptr) {
        return;
    }
    if (ResultList(window->ResultListView).RowCount() == 0) {
        return;
    }
    if (window->Searching != 0) {
        if (window->InfoLabel != nullptr) {
            window->InfoLabel->SetText("Stop the searching first");
        }
        return;
    }
    // A run further up the stack (this click came from its message handling) goes on alone.
    if (window->RunActive) {
        return;
    }
    // Controls that a close destroys meanwhile stay valid objects until the run returns.
    MessageHandlingScope keepControls;
    try {
        RestoreRun run(window);
        if (run.CheckOptions()) {
            run.Execute();
        }
    } catch (...) {
        // A failure before or after the rows (e.g. no memory for the summary): the run's state
        // is undone by its scopes; nothing leaves this handler.
    }
}

void StopRestore(RestoreWindow* window) {
    if (window == nullptr) {
        return;
    }
    window->RestoreStopRequested = 1;
    if (window->RestoreButton != nullptr) {
        window->RestoreButton->SetEnabled(true);
    }
}
