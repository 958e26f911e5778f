#pragma once
// Gradient painting: line i of n gets, per 8-bit channel, c1 + (c2 - c1) * i / n
// (truncated), so the first line is colour 1 and the last one is a step short of colour 2.
#include <windows.h>

struct Control;

// Colour of line `line` (0 <= line < lineCount) between two RGB colours (0x00BBGGRR).
// Returns `first` when lineCount is 0 or less.
COLORREF GradientLineColour(COLORREF first, COLORREF second, int line, int lineCount);

// Paints the gradient over `area` of dc: rows from top to bottom when vertical, columns from
// left to right when horizontal. Chooses the stretched-bitmap way on the NT family and the
// line-by-line way on the older family.
void PaintGradient(HDC dc, const RECT& area, COLORREF first, COLORREF second, bool horizontal);

// The NT-family way: one bitmap line of the colours stretched over the area with HALFTONE.
// Returns false when the bitmap cannot be made (nothing is drawn then).
bool PaintGradientStretched(HDC dc, const RECT& area, COLORREF first, COLORREF second,
                            bool horizontal);

// The older-family way: every line filled with its own solid brush.
void PaintGradientByLines(HDC dc, const RECT& area, COLORREF first, COLORREF second,
                          bool horizontal);

// True on the older (non-NT) Windows family: the high bit of GetVersion, read once.
bool IsOlderWindowsFamily();

// Called by CreateGradientPanel: attaches the gradient painting (WM_PAINT, WM_ERASEBKGND,
// WM_PRINTCLIENT) using the panel's two gradient colours.
void AttachGradientPainting(Control* panel);

// Paints a gradient panel's client area into dc (its two colours, its direction), then
// raises its PaintEvent with dc.
void PaintGradientPanel(Control* panel, HDC dc);
