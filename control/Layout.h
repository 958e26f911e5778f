#pragma once
// Docking, anchors and auto-size of controls. SetAlign, SetAnchors and SetAutoSize are
// members of Control; these are the routines behind them.
#include <windows.h>

struct Control;

// Lays out the aligned children of parent in three passes (top and bottom, then left
// and right, then client) within its ClientRect, keeping the parent's margin. Does
// nothing before the first SetAlign of the program, while the client width is 0, or
// while a realign of the same parent is running.
void Realign(Control* parent);

// The caption's extent in the control's font (an italic font measures one extra
// space); 0 x 0 for an empty caption.
SIZE MeasureCaption(Control* control);

// Fits the control to its caption plus the kind's padding (see SetAutoSize); realigns
// the parent and the control when the size changed.
void AutoSizeControl(Control* control);
