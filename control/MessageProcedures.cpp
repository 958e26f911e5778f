#include "control/MessageProcedures.h"

#include <commctrl.h>

#include "control/Control.h"
#include "control/Painting.h"

namespace {

// The parent's side of common-control notifications: WM_NOTIFY from a window with a
// Control goes to that control's attached procedures.
bool NotifyRoutingProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_NOTIFY || !message.LParam)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    Control* sender = ControlFromWindow(header->hwndFrom);
    if (!sender || sender == control)
        return false;
    MessageRecord routed = message;
    routed.Window = sender->Handle;
    return RunAttachedProcs(sender, routed, result);
}

// The common control's own notifications: clicks, focus changes, Enter.
bool CommonControlProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_NOTIFY || !message.LParam)
        return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->hwndFrom != control->Handle)
        return false;
    Event<NotifyProc>* event = nullptr;
    switch (header->code) {
        case NM_CLICK:
        case NM_RCLICK:
            control->RightClick = header->code == static_cast<UINT>(NM_RCLICK);
            event = &control->ClickEvent;
            break;
        case NM_KILLFOCUS:
            event = &control->LeaveEvent;
            break;
        case NM_SETFOCUS:
        case NM_RETURN:
            event = &control->EnterEvent;
            break;
        default:
            return false;
    }
    if (!event->IsSet())
        return false;
    RaiseEvent(*event, control);
    result = 0;
    return true;
}

}  // namespace

void RunClickPath(Control* control) {
    if (control->ClickAction)
        control->ClickAction(control);
    RaiseEvent(control->ClickEvent, control);
}

bool GenericChildProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message >= WM_CTLCOLORMSGBOX + ReflectedColourBase &&
        message.Message <= WM_CTLCOLORSTATIC + ReflectedColourBase) {
        result = reinterpret_cast<LRESULT>(
            AnswerColourMessage(control, reinterpret_cast<HDC>(message.WParam)));
        return true;
    }
    if (message.Message == ReflectedCommand) {
        const ControlActions* actions = control->Actions;
        if (!actions)
            return false;
        const std::uint32_t code = HIWORD(message.WParam);
        if (code == actions->ClickCode) {
            if (control->FocusChangeDepth == 0 && control->TabStop) {
                HWND focusWindow = control->InnerHandle ? control->InnerHandle : control->Handle;
                if (focusWindow)
                    SetFocus(focusWindow);
                if (Control* form = control->ParentForm())
                    form->SetFocusedChild(control);
            }
            RunClickPath(control);
        } else if (code == actions->EnterCode) {
            RaiseEvent(control->EnterEvent, control);
        } else if (code == actions->LeaveCode) {
            RaiseEvent(control->LeaveEvent, control);
        } else if (code == actions->ChangeCode) {
            RaiseEvent(control->ChangeEvent, control);
        } else if (code == actions->SelectionChangeCode) {
            if (control->SelectionChangeEvent.IsSet())
                RaiseEvent(control->SelectionChangeEvent, control);
            else
                RaiseEvent(control->ChangeEvent, control);
        } else {
            return false;
        }
        if (control->Handle)
            result = control->DefaultProcessing(message);
        return true;
    }
    if (message.Message == WM_SETFOCUS) {
        if (Control* form = control->ParentForm())
            form->SetFocusedChild(control);
    }
    return false;
}

bool FormFocusProcedure(Control* control, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_SETFOCUS)
        return false;
    Control* application = ApplicationObject();
    if (application && application != control && application->IsForm)
        application->FocusedChild = control;
    Control* child = control->FocusedChild;
    if (!child)
        return false;
    HWND window = child->WindowHandle();
    if (!window)
        return false;
    SetFocus(child->InnerHandle ? child->InnerHandle : window);
    result = 0;
    return true;
}

bool OwnerDrawReflectProcedure(Control*, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_DRAWITEM || !message.LParam)
        return false;
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (!ControlFromWindow(item->hwndItem))
        return false;
    SendMessageA(item->hwndItem, ReflectedDrawItem, message.WParam, message.LParam);
    result = 1;
    return true;
}

void AttachCommonControlNotifications(Control* commonControl) {
    if (!commonControl)
        return;
    commonControl->IsCommonControl = true;
    commonControl->AttachMessageProc(CommonControlProcedure);
    if (commonControl->Parent)
        commonControl->Parent->AttachMessageProc(NotifyRoutingProcedure);
}
