#pragma once
// Painting services of the control layer: owner-drawn buttons, the gradient panel,
// colour messages, background erase, transparency with double-buffered parents, and
// mouse tracking (enter/leave). The control object model calls these hooks; the
// painting modules implement them.
#include <windows.h>

struct Control;

// Called by CreateButton: attaches the owner-drawn painting to the button (it answers the
// reflected WM_DRAWITEM sent on by its parent).
void AttachButtonPainting(Control* button);

// Called by CreateGradientPanel: attaches the gradient painting (WM_PAINT, WM_ERASEBKGND,
// WM_PRINTCLIENT) using the panel's two gradient colours.
void AttachGradientPainting(Control* panel);

// Called by CreateForm and CreateGroupBox: attaches the background-erase procedure.
void AttachBackgroundErase(Control* control);

// Called when MouseEnterEvent, MouseLeaveEvent or HitTestEvent is set, or SetFlat(true):
// attaches mouse tracking once (TrackMouseEvent looked up at run time).
void AttachMouseTracking(Control* control);

// Called by the generic child procedure for a reflected colour message (0xBD32..0xBD38):
// sets text colour and background mode on dc and returns the brush to paint with.
HBRUSH AnswerColourMessage(Control* child, HDC dc);

// Called by SetDoubleBuffered and SetTransparent (on the parent) after the flag changed:
// attaches or keeps the off-screen painting of the control.
void ApplyDoubleBuffering(Control* control);
