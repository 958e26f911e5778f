#include "control/ControlEvents.h"

#include <windowsx.h>

#include "control/Control.h"
#include "control/MouseTracking.h"

namespace {

unsigned AltState() {
    return GetKeyState(VK_MENU) < 0 ? AltKeyDown : 0u;
}

// The MK_ bits of the keyboard and mouse state, plus AltKeyDown while Alt is down.
unsigned KeyboardShiftState() {
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= MK_CONTROL;
    if (GetKeyState(VK_LBUTTON) < 0)
        shift |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        shift |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0)
        shift |= MK_MBUTTON;
    return shift | AltState();
}

// Raises the mouse events; a handler that sets Stop marks the message handled.
bool MouseProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    Event<MouseProc>* event = nullptr;
    MouseEventRecord mouse;
    switch (message.Message) {
        case WM_LBUTTONDOWN:
            event = &control->MouseDownEvent;
            mouse.Button = MouseButton::Left;
            break;
        case WM_RBUTTONDOWN:
            event = &control->MouseDownEvent;
            mouse.Button = MouseButton::Right;
            break;
        case WM_MBUTTONDOWN:
            event = &control->MouseDownEvent;
            mouse.Button = MouseButton::Middle;
            break;
        case WM_LBUTTONUP:
            event = &control->MouseUpEvent;
            mouse.Button = MouseButton::Left;
            break;
        case WM_RBUTTONUP:
            event = &control->MouseUpEvent;
            mouse.Button = MouseButton::Right;
            break;
        case WM_MBUTTONUP:
            event = &control->MouseUpEvent;
            mouse.Button = MouseButton::Middle;
            break;
        case WM_LBUTTONDBLCLK:
            event = &control->MouseDoubleClickEvent;
            mouse.Button = MouseButton::Left;
            break;
        case WM_RBUTTONDBLCLK:
            event = &control->MouseDoubleClickEvent;
            mouse.Button = MouseButton::Right;
            break;
        case WM_MBUTTONDBLCLK:
            event = &control->MouseDoubleClickEvent;
            mouse.Button = MouseButton::Middle;
            break;
        case WM_MOUSEMOVE:
            event = &control->MouseMoveEvent;
            break;
        case WM_MOUSEWHEEL:
            event = &control->MouseWheelEvent;
            mouse.WheelDelta = GET_WHEEL_DELTA_WPARAM(message.WParam);
            break;
        default:
            return false;
    }
    if (!event->IsSet())
        return false;
    mouse.Shift = static_cast<unsigned>(LOWORD(message.WParam)) | AltState();
    POINT point = {GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (message.Message == WM_MOUSEWHEEL && control->Handle)
        ScreenToClient(control->Handle, &point);
    mouse.X = point.x;
    mouse.Y = point.y;
    event->Procedure(event->Context, control, mouse);
    if (!mouse.Stop)
        return false;
    result = 0;
    return true;
}

// Keyboard handler: raises KeyDownEvent, KeyUpEvent, CharEvent; a key set to 0 marks
// the message handled, another key replaces wParam.
bool KeyHandler(Control* control, MessageRecord& message, LRESULT& result) {
    Event<KeyProc>* event = nullptr;
    switch (message.Message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            event = &control->KeyDownEvent;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            event = &control->KeyUpEvent;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            event = &control->CharEvent;
            break;
        default:
            return false;
    }
    if (!event->IsSet())
        return false;
    int key = static_cast<int>(message.WParam);
    event->Procedure(event->Context, control, key, KeyboardShiftState());
    if (key == 0) {
        message.WParam = 0;
        result = 0;
        return true;
    }
    message.WParam = static_cast<WPARAM>(key);
    return false;
}

bool ResizeProcedure(Control* control, MessageRecord& message, LRESULT&, void*) {
    if (message.Message == WM_SIZE)
        RaiseEvent(control->ResizeEvent, control);
    return false;
}

// The close path: asks CloseQueryEvent; a refusal while the run loop runs keeps the
// window. An accepted close removes the event (it is not asked again) and, for the
// main window, posts the quit message; default processing then destroys the window.
bool CloseProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_CLOSE || !control->CloseQueryEvent.IsSet())
        return false;
    bool accept = true;
    control->CloseQueryEvent.Procedure(control->CloseQueryEvent.Context, control, accept);
    if (!accept && IsRunLoopRunning()) {
        result = 0;
        return true;
    }
    control->CloseQueryEvent.Clear();
    if (control == ApplicationObject())
        PostQuitMessage(0);
    return false;
}

template <class Proc>
void Bind(Event<Proc>& event, Proc procedure, void* context) {
    event.Procedure = procedure;
    event.Context = context;
}

}  // namespace

Control* ControlEvents::SetClickEvent(NotifyProc procedure, void* context) {
    Bind(ClickEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetMouseDownEvent(MouseProc procedure, void* context) {
    Bind(MouseDownEvent, procedure, context);
    return Self()->AttachMessageProc(MouseProcedure);
}

Control* ControlEvents::SetMouseUpEvent(MouseProc procedure, void* context) {
    Bind(MouseUpEvent, procedure, context);
    return Self()->AttachMessageProc(MouseProcedure);
}

Control* ControlEvents::SetMouseMoveEvent(MouseProc procedure, void* context) {
    Bind(MouseMoveEvent, procedure, context);
    return Self()->AttachMessageProc(MouseProcedure);
}

Control* ControlEvents::SetMouseDoubleClickEvent(MouseProc procedure, void* context) {
    Bind(MouseDoubleClickEvent, procedure, context);
    return Self()->AttachMessageProc(MouseProcedure);
}

Control* ControlEvents::SetMouseWheelEvent(MouseProc procedure, void* context) {
    Bind(MouseWheelEvent, procedure, context);
    return Self()->AttachMessageProc(MouseProcedure);
}

Control* ControlEvents::SetChangeEvent(NotifyProc procedure, void* context) {
    Bind(ChangeEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetEnterEvent(NotifyProc procedure, void* context) {
    Bind(EnterEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetLeaveEvent(NotifyProc procedure, void* context) {
    Bind(LeaveEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetCharEvent(KeyProc procedure, void* context) {
    Bind(CharEvent, procedure, context);
    KeyboardHandler = KeyHandler;
    return Self();
}

Control* ControlEvents::SetKeyUpEvent(KeyProc procedure, void* context) {
    Bind(KeyUpEvent, procedure, context);
    KeyboardHandler = KeyHandler;
    return Self();
}

Control* ControlEvents::SetKeyDownEvent(KeyProc procedure, void* context) {
    Bind(KeyDownEvent, procedure, context);
    KeyboardHandler = KeyHandler;
    return Self();
}

Control* ControlEvents::SetPaintEvent(PaintProc procedure, void* context) {
    Bind(PaintEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetDropDownEvent(NotifyProc procedure, void* context) {
    Bind(DropDownEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetCloseUpEvent(NotifyProc procedure, void* context) {
    Bind(CloseUpEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetSelectionChangeEvent(NotifyProc procedure, void* context) {
    Bind(SelectionChangeEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetResizeEvent(NotifyProc procedure, void* context) {
    Bind(ResizeEvent, procedure, context);
    return Self()->AttachMessageProc(ResizeProcedure);
}

Control* ControlEvents::SetCustomDrawEvent(CustomDrawProc procedure, void* context) {
    Bind(CustomDrawEvent, procedure, context);
    return Self();
}

Control* ControlEvents::SetMouseLeaveEvent(NotifyProc procedure, void* context) {
    Bind(MouseLeaveEvent, procedure, context);
    AttachMouseTracking(Self());
    return Self();
}

Control* ControlEvents::SetMouseEnterEvent(NotifyProc procedure, void* context) {
    Bind(MouseEnterEvent, procedure, context);
    AttachMouseTracking(Self());
    return Self();
}

Control* ControlEvents::SetHitTestEvent(HitTestProc procedure, void* context) {
    Bind(HitTestEvent, procedure, context);
    AttachMouseTracking(Self());
    return Self();
}

Control* ControlEvents::SetCloseQueryEvent(CloseQueryProc procedure, void* context) {
    Bind(CloseQueryEvent, procedure, context);
    return Self()->AttachMessageProc(CloseProcedure);
}

Control* ControlEvents::SetMessageHook(MessageHookProc procedure, void* context) {
    Bind(MessageHook, procedure, context);
    return Self();
}
