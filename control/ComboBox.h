#pragma once
// The combo box's own behaviour: its inner windows (edit field and list) are subclassed
// so that Escape and Enter close a dropped-down list and the focus is tracked; the
// drop-down list is sized for up to eight items; a selection change is reported after
// the list has closed.
#include <windows.h>

#include "control/MessageRecord.h"

struct Control;

// The combo box's own procedure: drop-down sizing, close-up, posted selection change,
// clean-up of the subclassed inner windows.
bool ComboBoxProcedure(Control* combo, MessageRecord& message, LRESULT& result, void* argument);
// Subclasses the combo box's edit field and list (after-create hook of the kind).
void SubclassComboBoxWindows(Control* combo);
