#pragma once
// The event setters of a control. Each binds a procedure and its context to one event
// slot (see control/Event.h) and, where a message procedure raises the event, attaches
// that procedure: the mouse procedure, the key handler, the resize procedure, the close
// procedure or mouse tracking. ClickEvent is a plain slot, raised by the generic child
// procedure.
#include "control/ControlProperties.h"

struct ControlEvents : public ControlProperties {
    Control* SetClickEvent(NotifyProc procedure, void* context);
    Control* SetMouseDownEvent(MouseProc procedure, void* context);
    Control* SetMouseUpEvent(MouseProc procedure, void* context);
    Control* SetMouseMoveEvent(MouseProc procedure, void* context);
    Control* SetMouseDoubleClickEvent(MouseProc procedure, void* context);
    Control* SetMouseWheelEvent(MouseProc procedure, void* context);
    Control* SetChangeEvent(NotifyProc procedure, void* context);
    Control* SetEnterEvent(NotifyProc procedure, void* context);
    Control* SetLeaveEvent(NotifyProc procedure, void* context);
    Control* SetCharEvent(KeyProc procedure, void* context);
    Control* SetKeyUpEvent(KeyProc procedure, void* context);
    Control* SetKeyDownEvent(KeyProc procedure, void* context);
    Control* SetPaintEvent(PaintProc procedure, void* context);
    Control* SetDropDownEvent(NotifyProc procedure, void* context);
    Control* SetCloseUpEvent(NotifyProc procedure, void* context);
    Control* SetSelectionChangeEvent(NotifyProc procedure, void* context);
    Control* SetResizeEvent(NotifyProc procedure, void* context);
    Control* SetCustomDrawEvent(CustomDrawProc procedure, void* context);
    Control* SetMouseLeaveEvent(NotifyProc procedure, void* context);
    Control* SetMouseEnterEvent(NotifyProc procedure, void* context);
    Control* SetHitTestEvent(HitTestProc procedure, void* context);
    Control* SetCloseQueryEvent(CloseQueryProc procedure, void* context);
    Control* SetMessageHook(MessageHookProc procedure, void* context);
};
