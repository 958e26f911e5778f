#pragma once
// Pixel captures of real windows for painting tests: what a window shows on screen (read
// back from its top-level window's device context) or what it paints on WM_PRINTCLIENT.
#include <windows.h>

#include <vector>

#include "support/MessagePump.h"

// A 32-bit copy of an area, row by row from the top; colours as RGB() values.
struct CapturedImage {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;

    bool Empty() const { return Pixels.empty(); }
    // the colour at x, y; CLR_INVALID outside the image
    COLORREF At(int x, int y) const;
    // number of pixels of area (image coordinates) with exactly this colour
    int Count(COLORREF colour, const RECT& area) const;
    // the smallest rectangle holding every pixel of area that differs from colour;
    // empty (all zero) when there is none
    RECT BoundsOfOther(COLORREF colour, const RECT& area) const;
};

// Invalidates window and all its children, paints them now and dispatches what follows.
void RepaintNow(HWND window);

// The window's rectangle relative to its parent's client area.
RECT RectInParent(HWND window);

// The client rectangle of window in the client coordinates of ancestor.
RECT ClientAreaIn(HWND window, HWND ancestor);

// What window shows on screen in its client area (read from its top-level window).
CapturedImage CaptureOnScreen(HWND window);

// What window paints into a 32-bit bitmap on WM_PRINTCLIENT (PRF_CLIENT).
CapturedImage CapturePrintClient(HWND window);

// Calls paint(dc) on a fresh 32-bit bitmap of width x height, filled with fill first,
// and returns the pixels.
CapturedImage CaptureDrawing(int width, int height, COLORREF fill,
                             void (*paint)(HDC dc, void* context), void* context);
