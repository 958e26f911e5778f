#pragma once
// An observer of the search and the restore for runs without a user: told of every row
// as it is finished, and given the summary text that would otherwise end the run in a
// message box. The main window sets none; the command-line mode sets one.
#include <string>

struct RunObserver {
    // A row of the result list is finished: found by the search, or worked on by the
    // restore. The row index is valid during the call.
    void (*RowFinished)(void* context, int row) = nullptr;
    // The summary of a finished or stopped restore, shown instead of a message box.
    void (*Summary)(void* context, const std::string& text) = nullptr;
    void* Context = nullptr;
};

// Tells the observer (when there is one) that row is finished.
inline void TellRowFinished(const RunObserver* observer, int row) {
    if (observer != nullptr && observer->RowFinished != nullptr) {
        observer->RowFinished(observer->Context, row);
    }
}

// Hands the summary to the observer; false when there is none to take it, so the caller
// shows it itself.
inline bool TellSummary(const RunObserver* observer, const std::string& text) {
    if (observer == nullptr || observer->Summary == nullptr) {
        return false;
    }
    observer->Summary(observer->Context, text);
    return true;
}
