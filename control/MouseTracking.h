#pragma once
// Mouse enter and leave: a control with mouse tracking follows whether the cursor is
// inside it, repaints on every change, raises MouseEnterEvent once on entering and
// MouseLeaveEvent once on leaving (also when the platform reports WM_MOUSELEAVE).
// The leave notification is requested with _TrackMouseEvent, looked up at run time in
// comctl32.dll; without it, leaving is still seen on the next mouse message.
#include <windows.h>

struct Control;

// Whether the cursor counts as inside control: its HitTestEvent when set, else the
// cursor position (GetCursorPos) within the client rectangle.
bool IsCursorInside(Control* control);

// Asks for (or, with cancel, withdraws) a WM_MOUSELEAVE for window. False when
// _TrackMouseEvent is not available or fails.
bool RequestMouseLeave(HWND window, bool cancel);

// Called when MouseEnterEvent, MouseLeaveEvent or HitTestEvent is set, or SetFlat(true):
// attaches mouse tracking once.
void AttachMouseTracking(Control* control);
