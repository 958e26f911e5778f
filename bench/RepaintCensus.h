#pragma once
// What a piece of work on the main window repaints: while a RepaintCensus lives, every
// paint, erase, frame paint, owner draw and print-client message of the thread's windows is
// counted per window, whether sent or taken from the queue.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "app/Unit1.h"
#include "control/Control.h"

namespace bench {

struct PaintCounts {
    int Paint = 0;
    int Erase = 0;
    int FramePaint = 0;
    int DrawItem = 0;
    int PrintClient = 0;
};

class RepaintCensus {
public:
    RepaintCensus() {
        Counts() = {};
        Active() = true;
        sent_ = SetWindowsHookExA(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
        taken_ = SetWindowsHookExA(WH_GETMESSAGE, CountTaken, nullptr, GetCurrentThreadId());
    }
    ~RepaintCensus() { End(); }
    RepaintCensus(const RepaintCensus&) = delete;
    RepaintCensus& operator=(const RepaintCensus&) = delete;

    // Stops counting; the counts stay readable.
    void End() {
        Active() = false;
        if (sent_ != nullptr) {
            UnhookWindowsHookEx(sent_);
            sent_ = nullptr;
        }
        if (taken_ != nullptr) {
            UnhookWindowsHookEx(taken_);
            taken_ = nullptr;
        }
    }
    const std::map<HWND, PaintCounts>& Result() const { return Counts(); }

private:
    static std::map<HWND, PaintCounts>& Counts() {
        static std::map<HWND, PaintCounts> counts;
        return counts;
    }
    static bool& Active() {
        static bool active = false;
        return active;
    }
    static void Count(HWND window, UINT message, LPARAM lParam) {
        if (!Active()) {
            return;
        }
        switch (message) {
            case WM_PAINT:
                ++Counts()[window].Paint;
                break;
            case WM_ERASEBKGND:
                ++Counts()[window].Erase;
                break;
            case WM_NCPAINT:
                ++Counts()[window].FramePaint;
                break;
            case WM_PRINTCLIENT:
                ++Counts()[window].PrintClient;
                break;
            case WM_DRAWITEM:
                if (lParam != 0) {
                    ++Counts()[reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem].DrawItem;
                }
                break;
            default:
                break;
        }
    }
    static LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Count(sent->hwnd, sent->message, sent->lParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK CountTaken(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const MSG* taken = reinterpret_cast<const MSG*>(lParam);
            Count(taken->hwnd, taken->message, taken->lParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK sent_ = nullptr;
    HHOOK taken_ = nullptr;
};

// A readable name for a window of the main window, for the census tables.
inline std::string WindowName(MainWindow* window, HWND handle) {
    const std::pair<Control*, const char*> named[] = {
        {window->MainForm, "form"},
        {window->ResultListView, "result list"},
        {window->InfoLabel, "information line"},
        {window->TopBar, "gradient bar"},
        {window->CommandBar, "command bar"},
        {window->LookInLabel, "label Look in"},
        {window->ExtensionLabel, "label Extention"},
        {window->OptionsGroup, "options group"},
        {window->DeleteInfectedRadio, "radio Delete"},
        {window->RenameWithRadio, "radio Rename"},
        {window->RenameWithEdit, "edit Rename with"},
        {window->FolderEdit, "edit Look in"},
        {window->MaskCombo, "mask box"},
        {window->FindButton, "button Find"},
        {window->StopButton, "button Stop"},
        {window->BrowseButton, "button ..."},
        {window->RestoreButton, "button Restore File"},
        {window->StopRestoreButton, "button Stop Restore"},
        {window->AboutButton, "button About"},
    };
    for (const auto& entry : named) {
        if (entry.first != nullptr && entry.first->Handle == handle) {
            return entry.second;
        }
    }
    if (GetParent(handle) == window->ResultListView->Handle) {
        return "result list header";
    }
    char className[64] = {};
    GetClassNameA(handle, className, sizeof className);
    return std::string("other ") + className;
}

}  // namespace bench
