#include "app/StopSignal.h"

#include <atomic>

namespace {

std::atomic<HWND> stopTarget{nullptr};
std::atomic<bool> stopAsked{false};
HANDLE runFinished = nullptr;  // manual-reset event, created with the handler

// How long the handler of a closing console holds the process for the run to finish its
// file and write the report; the system allows about five seconds.
const DWORD CloseWaitMs = 4500;

BOOL WINAPI ConsoleControlHandler(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT: {
            stopAsked = true;
            const HWND target = stopTarget.load();
            if (target != nullptr) {
                PostMessageA(target, StopRequestMessage, 0, 0);
            }
            if (event == CTRL_CLOSE_EVENT && runFinished != nullptr) {
                WaitForSingleObject(runFinished, CloseWaitMs);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

void InstallConsoleStopHandler() {
    if (runFinished == nullptr) {
        runFinished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    SetConsoleCtrlHandler(ConsoleControlHandler, TRUE);
}

void SetStopTarget(HWND window) {
    stopTarget = window;
}

bool ConsoleStopAsked() {
    return stopAsked.load();
}

void SignalRunFinished() {
    if (runFinished != nullptr) {
        SetEvent(runFinished);
    }
}
