#pragma once
// How a window message reaches its Control: the window procedure of every "obj_" class
// finds the control through the window's user data (or binds the control whose window
// is being created), holds it while its WindowProc runs, and releases a form without
// owner whose window is gone once its last handler has returned.
#include <windows.h>

#include "control/MessageRecord.h"

struct Control;

// Window procedure of every "obj_" class.
LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The Control of a window of the layer, nullptr for any other window.
Control* ControlFromWindow(HWND window);

// Offers the message to the control's attached procedures, newest first, while holding
// the control; true when one handled it. While the message machinery terminates, only
// procedures attached with a non-null argument are called.
bool RunAttachedProcs(Control* control, MessageRecord& message, LRESULT& result);

// The control whose CreateWindowExA call is in progress (bound to the first window
// that reaches CommonWindowProc without a control).
void SetBeingCreated(Control* control);
