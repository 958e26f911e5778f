#pragma once
// The properties of a control: geometry, text, colours and font, state and items. Each
// setter keeps the setting in the control and applies it to the window when the window
// exists, and returns the control so that calls chain:
//     CreateButton(bar, "Open", ButtonNoBorder, 0, nullptr, 0)->SetPosition(222, 35)->Resize(64,
//     22);
#include <windows.h>

#include <string>

#include "control/Layout.h"

struct ControlProperties : public ControlLayout {
    // --- geometry --------------------------------------------------------------
    Control* SetPosition(int left, int top);
    // A 0 argument keeps that dimension.
    Control* Resize(int width, int height);
    // Makes the client area width x height; 0 or less keeps that dimension.
    Control* SetClientSize(int width, int height);
    // New bounds relative to the parent's client area (SetWindowPos when the window exists).
    Control* SetBounds(const RECT& bounds);
    Control* SetMargin(int margin);
    Control* SetClientOffsets(int top, int bottom, int left, int right);

    // --- text ----------------------------------------------------------------------
    // Stores the caption (WM_SETTEXT when the window exists); a label repaints; then
    // the after-text-change slot runs.
    Control* SetText(const std::string& text);
    // The window's current text, or the stored caption while there is no window.
    std::string GetText();
    Control* SetTextAlign(TextAlignment align);

    // --- colours and font --------------------------------------------------------
    Control* SetColour(ColourValue colour);
    // The control's font, created on first use with the control's text colour.
    GraphicTool* Font();
    // The control's background brush tool, created on first use.
    GraphicTool* Brush();
    // The control's solid background brush, created on first use and kept until the
    // colour changes.
    HBRUSH BackgroundBrush();
    Control* SetFontColour(ColourValue colour);
    Control* SetFontName(const char* name);
    Control* SetFontHeight(int height);
    // Set of FontStyleFlags.
    Control* SetFontStyle(unsigned styles);

    // --- state ---------------------------------------------------------------------
    Control* SetEnabled(bool enabled);
    Control* SetVisible(bool visible);
    Control* SetTabStop(bool tabStop);
    // Radio button: becomes the checked one of its group and runs its click path.
    // Owner-drawn button keeping its checked state: stores the state and repaints.
    Control* SetChecked(bool checked = true);
    bool IsChecked();
    Control* SetCtl3D(bool on);
    Control* SetBorder(bool on);
    Control* SetTransparent(bool on);
    Control* SetDoubleBuffered(bool on);
    Control* SetFlat(bool on);
    Control* SetPressShift(int x, int y);

    // --- items ---------------------------------------------------------------------
    Control* Clear();
    int ItemCount();
    // Combo box: replaces (or appends at an empty position) the item at index, keeping
    // the selection and the item's data.
    Control* SetItemText(int index, const std::string& text);
    // The item's text; empty when there is none.
    std::string ItemText(int index);
    // Combo box: appends an item; returns its index, -1 on failure.
    int AddItem(const std::string& text);
    Control* SetCurrentIndex(int index);
    int CurrentIndex();
};

// The font's change callback: the font colour becomes the owner's text colour, the font
// is applied to the window, which repaints (and is fitted to its text when auto-sized).
void OnFontChanged(Control* owner, GraphicTool* tool);
// The brush's change callback: the owner repaints.
void OnBrushChanged(Control* owner, GraphicTool* tool);

// Sets the border bits of style and exStyle from the control's 3-D look and border
// settings: WS_EX_CLIENTEDGE with the 3-D look, else WS_BORDER, none without a border.
void BorderBits(const Control* control, DWORD& style, DWORD& exStyle);
