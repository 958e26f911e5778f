#pragma once
// Message procedures that the control constructors attach (implemented with the
// dispatch in control/MessageLoop.cpp and control/ComboBox.cpp).
#include <windows.h>

#include "control/Control.h"

// Reflected colour, command and WM_SETFOCUS handling of every child control.
bool GenericChildProcedure(Control* control, MessageRecord& message, LRESULT& result, void* argument);
// WM_SETFOCUS of a form: the focus goes on to the form's focused child.
bool FormFocusProcedure(Control* control, MessageRecord& message, LRESULT& result, void* argument);
// Attached to the parent of an owner-drawn button: WM_DRAWITEM goes on to the item's
// window as ReflectedDrawItem; result 1.
bool OwnerDrawReflectProcedure(Control* control, MessageRecord& message, LRESULT& result, void* argument);
// The combo box's own procedure: drop-down sizing, close-up, posted selection change,
// clean-up of the subclassed inner windows.
bool ComboBoxProcedure(Control* control, MessageRecord& message, LRESULT& result, void* argument);
// Subclasses the combo box's edit field and list (after-create hook of the kind).
void SubclassComboBoxWindows(Control* combo);

// Offers the message to the control's attached procedures, newest first, while holding
// the control; true when one handled it.
bool RunAttachedProcs(Control* control, MessageRecord& message, LRESULT& result);

// The control whose CreateWindowExA call is in progress (bound to the first window
// that reaches CommonWindowProc without a control).
void SetBeingCreated(Control* control);
