#pragma once
// Events of a control: a procedure bound together with a context pointer, raised by the
// control's message procedures. The procedure types say what each kind of event hands
// to its handler.
#include <windows.h>

#include "control/MessageRecord.h"

struct Control;

using NotifyProc = void (*)(void* context, Control* sender);

// Mouse record of the mouse events. Button: 0 none, 1 left, 2 right, 3 middle.
// Shift: the MK_ bits of wParam, plus 0x20 while Alt is down. A handler sets Stop to
// mark the message handled.
struct MouseEventRecord {
    int Button = 0;
    bool Stop = false;
    unsigned Shift = 0;
    int X = 0;
    int Y = 0;
    int WheelDelta = 0;
};
using MouseProc = void (*)(void* context, Control* sender, MouseEventRecord& mouse);
// key by reference: setting it to 0 marks the message handled. shift as MouseEventRecord.
using KeyProc = void (*)(void* context, Control* sender, int& key, unsigned shift);
using PaintProc = void (*)(void* context, Control* sender, HDC dc);

// Draw state 0 normal, 1 disabled, 2 pressed, 3 focused, 4 hot; returns done.
using CustomDrawProc = bool (*)(void* context, Control* sender, int drawState);
// Returns whether the cursor counts as inside the control.
using HitTestProc = bool (*)(void* context, Control* sender);
using ColumnClickProc = void (*)(void* context, Control* sender, int column);
// accept starts true; setting it to false refuses the close.
using CloseQueryProc = void (*)(void* context, Control* sender, bool& accept);
// Offered every message of the control first; returns handled.
using MessageHookProc = bool (*)(void* context, Control* sender, MessageRecord& message, LRESULT& result);

template <class Proc>
struct Event {
    Proc Procedure = nullptr;
    void* Context = nullptr;
    bool IsSet() const { return Procedure != nullptr; }
    void Clear()
    {
        Procedure = nullptr;
        Context = nullptr;
    }
};

// Raises a notify event when it is set.
inline void RaiseEvent(const Event<NotifyProc>& event, Control* sender)
{
    if (event.Procedure)
        event.Procedure(event.Context, sender);
}
