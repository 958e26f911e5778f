#pragma once
// One window message as the layer hands it around, the message procedures that can be
// attached to a control, and the layer's private message numbers.
#include <windows.h>

struct Control;

// One window message as handed to WindowProc and to attached procedures.
struct MessageRecord {
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

// An attached message procedure: returns true when it handled the message (result then
// becomes the window procedure's result). argument is the value given to
// AttachMessageProc; while the message machinery terminates only procedures attached
// with a non-null argument are called.
using MessageProc = bool (*)(Control* control, MessageRecord& message, LRESULT& result,
                             void* argument);

struct AttachedProc {
    MessageProc Procedure;
    void* Argument;
};

// Private messages of the layer: what a parent receives for a child is handed on to the
// child's own window under these numbers.
const UINT ReflectedCommand = 0xB005;     // WM_COMMAND handed to the child
const UINT ReflectedColourBase = 0xBC00;  // WM_CTLCOLOR* + 0xBC00 (0xBD32..0xBD38)
const UINT ReflectedDrawItem = WM_DRAWITEM + ReflectedColourBase;  // 0xBC2B
const WORD ComboSelectionChangeCode = 0x0F;                        // posted after CBN_SELCHANGE

// The last keyboard message that the layer hands to its keyboard handler: WM_KEYDOWN up
// to this one (WM_KEYLAST of the headers before WM_UNICHAR was added).
const UINT LastKeyMessage = 0x0108;
