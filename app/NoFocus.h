#pragma once
// Push buttons that never keep the keyboard focus: clicking them leaves the focus where
// it was (for example in the "Look in" box).
struct Control;

// Clears the button's tab stop (flag and WS_TABSTOP) and attaches a message procedure
// that swallows WM_SETFOCUS, remembers the window that lost the focus, and gives the
// focus back to it once the mouse capture is released.
void MakeNoFocus(Control* button);
