#pragma once
// Painting of the owner-drawn push button: its face filled with the control's colour and
// the caption in the font colour, centred, shifted by the press offset while pressed;
// optional frame, edges and focus rectangle. Images are not drawn.
#include <windows.h>

#include <string>

#include "control/Event.h"

struct Control;

// What the painting needs to know about one button.
struct ButtonLook {
    unsigned Options = 0;  // set of ButtonOptions
    int GlyphLayout = 0;   // 4: the image lies over the caption (no opaque face)
    int PressShiftX = 0;
    int PressShiftY = 0;
    int TextAlign = 2;  // 0 left, 1 right, 2 centre
    bool Flat = false;
    bool MouseInside = false;
    bool Transparent = false;
    COLORREF FaceColour = 0;
    COLORREF TextColour = 0;
    HFONT Font = nullptr;  // nullptr keeps the device context's font
    std::string Caption;
};

// State of one paint request.
struct ButtonPaintState {
    bool Pressed = false;
    bool Focused = false;
    bool Disabled = false;
};

// Pressed on ODS_SELECTED or when checked; focused on ODS_FOCUS; disabled on ODS_DISABLED.
ButtonPaintState ButtonPaintStateOf(UINT itemState, bool checked);

// Draw state handed to a custom-draw handler: disabled, else pressed, else hot while the
// mouse is inside, else focused or normal.
ButtonDrawState DrawStateOf(const ButtonPaintState& state, bool mouseInside);

// Paints the button into rect of dc: frame and edges (unless the no-border option), then
// the caption with the face fill. Leaves the device context's objects and modes as found.
void DrawButton(HDC dc, RECT rect, const ButtonLook& look, const ButtonPaintState& state);

// The look of a button control: its options, colours, font, caption and hover state.
ButtonLook ButtonLookOf(Control* button);

// Called by CreateButton: attaches the owner-drawn painting to the button (it answers the
// reflected WM_DRAWITEM sent on by its parent).
void AttachButtonPainting(Control* button);

// Answers one reflected WM_DRAWITEM of button: custom-draw handler first (done ends the
// painting), then DrawButton into the item's device context and rectangle.
void PaintOwnerDrawButton(Control* button, const DRAWITEMSTRUCT& item);
