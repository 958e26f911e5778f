#pragma once
// Message procedures that the control constructors attach: the generic handling of
// every child (reflected colour and command messages), the form's focus handling, the
// reflection of owner-drawn items and the routing of common-control notifications.
#include <windows.h>

#include "control/MessageRecord.h"

struct Control;

// Reflected colour, command and WM_SETFOCUS handling of every child control.
bool GenericChildProcedure(Control* control, MessageRecord& message, LRESULT& result,
                           void* argument);
// WM_SETFOCUS of a form: the focus goes on to the form's focused child.
bool FormFocusProcedure(Control* control, MessageRecord& message, LRESULT& result, void* argument);
// Attached to the parent of an owner-drawn button: WM_DRAWITEM goes on to the item's
// window as ReflectedDrawItem; result 1.
bool OwnerDrawReflectProcedure(Control* control, MessageRecord& message, LRESULT& result,
                               void* argument);

// For a common control (the list view): attaches to its parent the procedure that
// hands every WM_NOTIFY from a window with a Control to that control's attached
// procedures, and to the control the procedure that raises ClickEvent (NM_CLICK,
// NM_RCLICK), LeaveEvent (NM_KILLFOCUS) and EnterEvent (NM_SETFOCUS, NM_RETURN).
// Marks the control as a common control.
void AttachCommonControlNotifications(Control* commonControl);

// Runs the click path of a control: its kind's click action (a radio button checks
// itself), then ClickEvent.
void RunClickPath(Control* control);
