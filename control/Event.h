#pragma once
// Events of a control: a procedure bound together with a context pointer, raised by the
// control's message procedures. The procedure types say what each kind of event hands
// to its handler.
#include <windows.h>

#include "control/MessageRecord.h"

struct Control;

using NotifyProc = void (*)(void* context, Control* sender);

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 3 };

// Set in a shift state beside the MK_ bits while Alt is down.
constexpr unsigned AltKeyDown = 0x20;

// Mouse record of the mouse events: the button of a button message (None for moves and
// the wheel), Shift the MK_ bits of wParam plus AltKeyDown. A handler sets Stop to mark
// the message handled.
struct MouseEventRecord {
    MouseButton Button = MouseButton::None;
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

// The state an owner-drawn button is painted in; Hot: the mouse is inside while the
// button is normal or focused.
enum class ButtonDrawState { Normal = 0, Disabled = 1, Pressed = 2, Focused = 3, Hot = 4 };
// Returns done: the handler painted the button itself.
using CustomDrawProc = bool (*)(void* context, Control* sender, ButtonDrawState drawState);
// Returns whether the cursor counts as inside the control.
using HitTestProc = bool (*)(void* context, Control* sender);
using ColumnClickProc = void (*)(void* context, Control* sender, int column);
// accept starts true; setting it to false refuses the close.
using CloseQueryProc = void (*)(void* context, Control* sender, bool& accept);
// Offered every message of the control first; returns handled.
using MessageHookProc = bool (*)(void* context, Control* sender, MessageRecord& message,
                                 LRESULT& result);

template <class Proc>
struct Event {
    Proc Procedure = nullptr;
    void* Context = nullptr;
    bool IsSet() const { return Procedure != nullptr; }
    void Clear() {
        Procedure = nullptr;
        Context = nullptr;
    }
};

// Raises a notify event when it is set.
inline void RaiseEvent(const Event<NotifyProc>& event, Control* sender) {
    if (event.Procedure)
        event.Procedure(event.Context, sender);
}
