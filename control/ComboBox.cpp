#include "control/ComboBox.h"

#include <algorithm>

#include "control/Control.h"
#include "control/InternalError.h"

namespace {

const char PreviousProcProperty[] = "PREV_PROC";

// Gives a subclassed window its previous procedure back and forgets it.
void RestoreInnerWindow(HWND window) {
    HANDLE previous = GetPropA(window, PreviousProcProperty);
    if (!previous)
        return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, PreviousProcProperty);
}

// The combo box's handling of a message to one of its inner windows: hooks, Escape and
// Enter on a dropped-down list, the focus. True when the message is handled (result
// then is the answer); otherwise the inner window's own procedure gets it.
bool HandleInnerMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* combo = ControlFromWindow(GetParent(window));
    if (!combo || combo->Kind != ControlKind::ComboBox || combo->IsDestroying || !combo->Handle)
        return false;
    MessageRecord record{window, message, wParam, lParam};
    if (combo->MessageHook.IsSet() &&
        combo->MessageHook.Procedure(combo->MessageHook.Context, combo, record, result))
        return true;
    HWND comboWindow = combo->Handle;
    switch (message) {
        case WM_KEYDOWN:
            if ((wParam == VK_ESCAPE || wParam == VK_RETURN) &&
                SendMessageA(comboWindow, CB_GETDROPPEDSTATE, 0, 0)) {
                SendMessageA(comboWindow, CB_SHOWDROPDOWN, FALSE, 0);
                if (wParam == VK_ESCAPE)
                    SendMessageA(comboWindow, CB_SETCURSEL,
                                 static_cast<WPARAM>(combo->SavedSelection), 0);
                result = 0;
                return true;
            }
            break;
        case WM_SETFOCUS:
            if (Control* form = combo->ParentForm())
                form->SetFocusedChild(combo);
            break;
        default:
            break;
    }
    return false;
}

LRESULT CALLBACK InnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(window, PreviousProcProperty));
    if (!previous)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RestoreInnerWindow(window);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (HandleInnerMessage(window, message, wParam, lParam, result))
            return result;
    } catch (...) {
        // Nothing crosses into the platform; the inner window's own procedure still gets
        // the message.
        ReportCaughtException("Combo box subclass procedure failed: ", __FILE__, __LINE__);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

void SubclassInnerWindow(HWND window) {
    if (!window || GetPropA(window, PreviousProcProperty))
        return;
    LONG_PTR previous = GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (!previous)
        return;
    SetPropA(window, PreviousProcProperty, reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InnerWindowProc));
}

// Sizes the combo box's window so that the list shows up to eight items.
void SizeForDropDown(Control* combo) {
    RECT rect = {};
    if (!GetWindowRect(combo->Handle, &rect))
        return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int items = std::max(1, std::min(8, combo->ItemCount()));
    SetWindowPos(combo->Handle, nullptr, 0, 0, width, (items + 1) * height + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetWindowPos(
        combo->Handle, nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

void SubclassComboBoxWindows(Control* combo) {
    for (HWND child = GetWindow(combo->Handle, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        SubclassInnerWindow(child);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(combo->Handle, &info) && info.hwndList &&
        GetParent(info.hwndList) == combo->Handle)
        SubclassInnerWindow(info.hwndList);
}

bool ComboBoxProcedure(Control* combo, MessageRecord& message, LRESULT&, void*) {
    if (message.Message == WM_DESTROY) {
        for (HWND child = GetWindow(message.Window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            RestoreInnerWindow(child);
        return false;
    }
    if (message.Message != ReflectedCommand || !combo->Handle)
        return false;
    switch (HIWORD(message.WParam)) {
        case CBN_DROPDOWN:
            combo->DroppedDown = true;
            combo->SavedSelection =
                static_cast<int>(SendMessageA(combo->Handle, CB_GETCURSEL, 0, 0));
            SizeForDropDown(combo);
            RaiseEvent(combo->DropDownEvent, combo);
            break;
        case CBN_CLOSEUP:
            combo->DroppedDown = false;
            RaiseEvent(combo->CloseUpEvent, combo);
            break;
        case CBN_SELCHANGE:
            PostMessageA(combo->Handle, ReflectedCommand,
                         MAKEWPARAM(combo->ControlId, ComboSelectionChangeCode),
                         reinterpret_cast<LPARAM>(combo->Handle));
            break;
        default:
            break;
    }
    return false;
}
