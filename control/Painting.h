#pragma once
// Backgrounds of controls: the answer to the colour messages, the background erase of
// forms and group boxes, and transparency with double-buffered parents.
#include <windows.h>

struct Control;

// Called by CreateForm and CreateGroupBox: attaches the background-erase procedure.
void AttachBackgroundErase(Control* control);

// Called by the generic child procedure for a reflected colour message (0xBD32..0xBD38):
// sets text colour and background mode on dc and returns the brush to paint with.
HBRUSH AnswerColourMessage(Control* child, HDC dc);

// Called by SetDoubleBuffered and SetTransparent (on the parent) after the flag changed:
// attaches or keeps the off-screen painting of the control.
void ApplyDoubleBuffering(Control* control);
