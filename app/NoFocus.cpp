#include "app/NoFocus.h"

#include <windows.h>

#include "control/Control.h"

namespace {

// The window that had the focus before the button took it for a click.
struct NoFocusState {
    HWND PreviousFocus = nullptr;
};

bool NoFocusProc(Control* control, MessageRecord& message, LRESULT& result, void* argument) {
    auto* state = static_cast<NoFocusState*>(argument);
    switch (message.Message) {
        case WM_SETFOCUS: {
            HWND previous = reinterpret_cast<HWND>(message.WParam);
            if (previous != control->Handle)
                state->PreviousFocus = previous;
            result = 0;
            return true;
        }
        case WM_CAPTURECHANGED:
            // lParam is the window that takes the capture; none means the click has ended.
            if (message.LParam == 0 && state->PreviousFocus) {
                HWND previous = state->PreviousFocus;
                state->PreviousFocus = nullptr;
                if (IsWindow(previous) && GetFocus() == control->Handle)
                    SetFocus(previous);
            }
            return false;
        default:
            return false;
    }
}

}  // namespace

void MakeNoFocus(Control* button) {
    button->SetTabStop(false);
    button->Style &= ~static_cast<DWORD>(WS_TABSTOP);
    if (button->Handle)
        SetWindowLongPtrA(
            button->Handle, GWL_STYLE,
            GetWindowLongPtrA(button->Handle, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP));
    auto* state = new NoFocusState();
    RegisterOwnedObject(button, state);
    button->AttachMessageProc(NoFocusProc, state);
}
