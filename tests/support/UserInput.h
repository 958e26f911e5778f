#pragma once
// A user's clicks on controls of the test's own windows, as real window messages.
#include <windows.h>

#include "control/Control.h"

// Clicks a button with BM_CLICK (pressed and released, as the platform does for a mouse
// click); returns once its command has returned.
void Click(Control* button);

// Clicks the header of the list view's column with the mouse messages a user's click
// produces (move, press, release), then dispatches what follows.
void ClickColumnHeader(Control* listView, int column);

// The scan code of the Tab key on a standard keyboard.
const UINT TabScanCode = 0x0F;

// The lParam of a keyboard message for one stroke of the key with this scan code: a
// repeat count of 1, the scan code, and for the release the previous-state and
// transition bits.
constexpr LPARAM KeyStroke(UINT scanCode, bool released) {
    return static_cast<LPARAM>(1u | (scanCode & 0xFFu) << 16 | (released ? 3u << 30 : 0u));
}
