#include "control/OwnerDrawButton.h"

#include "control/Control.h"
#include "control/GdiHandles.h"

ButtonPaintState ButtonPaintStateOf(UINT itemState, bool checked) {
    ButtonPaintState state;
    state.Pressed = (itemState & ODS_SELECTED) != 0 || checked;
    state.Focused = (itemState & ODS_FOCUS) != 0;
    state.Disabled = (itemState & ODS_DISABLED) != 0;
    return state;
}

ButtonDrawState DrawStateOf(const ButtonPaintState& state, bool mouseInside) {
    if (state.Disabled)
        return ButtonDrawState::Disabled;
    if (state.Pressed)
        return ButtonDrawState::Pressed;
    if (mouseInside)
        return ButtonDrawState::Hot;
    return state.Focused ? ButtonDrawState::Focused : ButtonDrawState::Normal;
}

namespace {

void DrawFrameAndEdges(HDC dc, RECT& rect, const ButtonLook& look, const ButtonPaintState& state) {
    if (state.Focused && !(look.Options & ButtonDottedFocus)) {
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    if (look.Flat && state.Pressed) {
        RECT edge = rect;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT | BF_FLAT);
    }
    if (!look.Flat || look.MouseInside || state.Focused) {
        DrawEdge(dc, &rect, state.Pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        InflateRect(&rect, -1, -1);
    }
}

void DrawCaption(HDC dc, const RECT& face, const ButtonLook& look, const ButtonPaintState& state) {
    SelectedObject font(dc, look.Font);
    const COLORREF previousText = SetTextColor(dc, look.TextColour);
    const bool opaque = !look.Transparent && look.GlyphLayout != 4;
    const int previousMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    const COLORREF previousBack = opaque ? SetBkColor(dc, look.FaceColour) : CLR_INVALID;

    const int length = static_cast<int>(look.Caption.size());
    SIZE extent = {0, 0};
    if (length > 0)
        GetTextExtentPoint32A(dc, look.Caption.c_str(), length, &extent);
    const int faceWidth = face.right - face.left;
    const int faceHeight = face.bottom - face.top;
    int y = face.top + (faceHeight - extent.cy) / 2;
    int x = face.left;
    if (look.TextAlign == TextAlignRight)
        x = face.right - extent.cx;
    else if (look.TextAlign == TextAlignCentre)
        x = face.left + (faceWidth - extent.cx) / 2;
    if (state.Pressed) {
        x += look.PressShiftX;
        y += look.PressShiftY;
    }
    if (y < 0)
        y = 0;
    if (x < face.left)
        x = face.left;

    const UINT options = opaque ? ETO_OPAQUE | ETO_CLIPPED : ETO_CLIPPED;
    ExtTextOutA(dc, x, y, options, &face, look.Caption.c_str(), static_cast<UINT>(length), nullptr);

    if (opaque)
        SetBkColor(dc, previousBack);
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousText);
}

}  // namespace

void DrawButton(HDC dc, RECT rect, const ButtonLook& look, const ButtonPaintState& state) {
    if (!(look.Options & ButtonNoBorder))
        DrawFrameAndEdges(dc, rect, look, state);
    DrawCaption(dc, rect, look, state);
    if ((look.Options & ButtonDottedFocus) && state.Focused)
        DrawFocusRect(dc, &rect);
}

ButtonLook ButtonLookOf(Control* button) {
    ButtonLook look;
    look.Options = button->ButtonOptionSet;
    look.GlyphLayout = button->GlyphLayout;
    look.PressShiftX = button->PressShiftX;
    look.PressShiftY = button->PressShiftY;
    look.TextAlign = button->TextAlign;
    look.Flat = button->Flat;
    look.MouseInside = button->MouseInside;
    look.Transparent = button->Transparent;
    look.FaceColour = ResolveColour(button->Colour);
    look.TextColour = ResolveColour(button->TextColour);
    look.Font = button->Font()->FontHandle();
    look.Caption = button->Handle ? button->GetText() : button->Caption;
    return look;
}

void PaintOwnerDrawButton(Control* button, const DRAWITEMSTRUCT& item) {
    const bool checked = (button->ButtonOptionSet & ButtonKeepsChecked) != 0 && button->Checked;
    const ButtonPaintState state = ButtonPaintStateOf(item.itemState, checked);
    button->Pressed = state.Pressed;
    if (button->CustomDrawEvent.IsSet() &&
        button->CustomDrawEvent.Procedure(button->CustomDrawEvent.Context, button,
                                          DrawStateOf(state, button->MouseInside)))
        return;
    SavedDcState saved(item.hDC);
    DrawButton(item.hDC, item.rcItem, ButtonLookOf(button), state);
}

namespace {

// The button's own procedure: paints on the reflected WM_DRAWITEM and turns the second
// press of a double click into a press.
bool ButtonPaintingProc(Control* button, MessageRecord& message, LRESULT& result, void* argument) {
    (void)argument;
    if (message.Message == ReflectedDrawItem) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (!item)
            return false;
        PaintOwnerDrawButton(button, *item);
        result = TRUE;
        return true;
    }
    if (message.Message == WM_LBUTTONDBLCLK && message.Window) {
        result = SendMessageA(message.Window, WM_LBUTTONDOWN, message.WParam, message.LParam);
        return true;
    }
    return false;
}

}  // namespace

void AttachButtonPainting(Control* button) {
    if (button && !button->HasMessageProc(ButtonPaintingProc))
        button->AttachMessageProc(ButtonPaintingProc);
}
