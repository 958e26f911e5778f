#pragma once
// Docking, anchors and auto-size of controls: the layout operations of a control and
// the routines behind them.
#include <windows.h>

#include "control/ControlWindow.h"

struct ControlLayout : public ControlWindow {
    // Stores the alignment; when it changed and the control is not locked, realigns the parent.
    Control* SetAlign(ControlAlign align);
    // Records the parent's client size and attaches the anchor procedure to the parent.
    Control* SetAnchors(bool left, bool top, bool right, bool bottom);
    // On: fits the control to its caption now and after every text change.
    Control* SetAutoSize(bool on);
    Control* SetWordWrap(bool on);
    Control* SetMinSize(int width, int height);
};

// Lays out the aligned children of parent in three passes (top and bottom, then left
// and right, then client) within its ClientRect, keeping the parent's margin. Does
// nothing before the first SetAlign in the process, while the client width is 0, or
// while a realign of the same parent is running.
void Realign(Control* parent);

// The caption's extent in the control's font (an italic font measures one extra
// space); 0 x 0 for an empty caption.
SIZE MeasureCaption(Control* control);

// Fits the control to its caption plus the kind's padding (see SetAutoSize); realigns
// the parent and the control when the size changed.
void AutoSizeControl(Control* control);
