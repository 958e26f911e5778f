#include "control/MouseTracking.h"

#include <commctrl.h>

#include "control/Control.h"

namespace {

using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// _TrackMouseEvent of the loaded comctl32.dll, looked up once; nullptr when missing.
TrackMouseEventProc TrackMouseEventFunction() {
    static bool looked = false;
    static TrackMouseEventProc function = nullptr;
    if (!looked) {
        HMODULE module = GetModuleHandleA("comctl32.dll");
        if (module) {
            looked = true;
            function = reinterpret_cast<TrackMouseEventProc>(
                reinterpret_cast<void*>(GetProcAddress(module, "_TrackMouseEvent")));
        }
    }
    return function;
}

void Repaint(Control* control) {
    if (control->Handle)
        InvalidateRect(control->Handle, nullptr, TRUE);
}

}  // namespace

bool IsCursorInside(Control* control) {
    if (control->HitTestEvent.IsSet())
        return control->HitTestEvent.Procedure(control->HitTestEvent.Context, control);
    if (!control->Handle)
        return false;
    POINT cursor;
    if (!GetCursorPos(&cursor) || !ScreenToClient(control->Handle, &cursor))
        return false;
    RECT client;
    GetClientRect(control->Handle, &client);
    return PtInRect(&client, cursor) != FALSE;
}

bool RequestMouseLeave(HWND window, bool cancel) {
    TrackMouseEventProc track = TrackMouseEventFunction();
    if (!track || !window)
        return false;
    TRACKMOUSEEVENT request;
    ZeroMemory(&request, sizeof(request));
    request.cbSize = sizeof(request);
    request.dwFlags = cancel ? TME_CANCEL | TME_LEAVE : TME_LEAVE;
    request.hwndTrack = window;
    request.dwHoverTime = HOVER_DEFAULT;
    return track(&request) != FALSE;
}

namespace {

// Follows the cursor on every mouse message and on WM_MOUSELEAVE; never marks a message
// handled, so the mouse events and default processing still see it.
bool MouseTrackingProc(Control* control, MessageRecord& message, LRESULT& result, void* argument) {
    (void)result;
    (void)argument;
    if (message.Message >= WM_MOUSEFIRST && message.Message <= WM_MOUSELAST) {
        const bool inside = IsCursorInside(control);
        if (inside == control->MouseInside)
            return false;
        control->MouseInside = inside;
        Repaint(control);
        if (inside) {
            RaiseEvent(control->MouseEnterEvent, control);
            RequestMouseLeave(control->Handle, false);
        } else {
            RequestMouseLeave(control->Handle, true);
            RaiseEvent(control->MouseLeaveEvent, control);
        }
        return false;
    }
    if (message.Message == WM_MOUSELEAVE && control->MouseInside) {
        control->MouseInside = false;
        RaiseEvent(control->MouseLeaveEvent, control);
        Repaint(control);
    }
    return false;
}

}  // namespace

void AttachMouseTracking(Control* control) {
    if (!control || control->HasMessageProc(MouseTrackingProc))
        return;
    InitCommonControls();
    control->AttachMessageProc(MouseTrackingProc);
}
