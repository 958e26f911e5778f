#include "control/GradientPanel.h"

#include "control/Control.h"
#include "control/GdiHandles.h"

namespace {

int Channel(int first, int second, int line, int lineCount) {
    return (first + (second - first) * line / lineCount) & 0xFF;
}

}  // namespace

COLORREF GradientLineColour(COLORREF first, COLORREF second, int line, int lineCount) {
    if (lineCount <= 0)
        return first;
    return RGB(Channel(GetRValue(first), GetRValue(second), line, lineCount),
               Channel(GetGValue(first), GetGValue(second), line, lineCount),
               Channel(GetBValue(first), GetBValue(second), line, lineCount));
}

bool IsOlderWindowsFamily() {
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // the version word is what tells the two families apart
#endif
    static const bool older = (GetVersion() & 0x80000000u) != 0;
    return older;
}

bool PaintGradientStretched(HDC dc, const RECT& area, COLORREF first, COLORREF second,
                            bool horizontal) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int lines = horizontal ? width : height;
    if (width <= 0 || height <= 0)
        return true;

    // A top-down 32-bit line of pixels: one pixel wide for a vertical gradient, one high
    // for a horizontal one.
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = horizontal ? lines : 1;
    info.bmiHeader.biHeight = horizontal ? -1 : -lines;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle line(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!line || !bits)
        return false;
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < lines; ++i) {
        const COLORREF colour = GradientLineColour(first, second, i, lines);
        pixels[i] = (static_cast<DWORD>(GetRValue(colour)) << 16) |
                    (static_cast<DWORD>(GetGValue(colour)) << 8) | GetBValue(colour);
    }
    GdiFlush();

    // The stretch goes into a bitmap of the whole area, which has neither clipping nor an
    // origin of its own: a HALFTONE stretch onto a clipped or shifted device context
    // samples between the lines and blurs the colours. The result is then copied 1:1.
    MemoryDc source(dc);
    MemoryDc target(dc);
    BitmapHandle stretched(source && target ? CreateCompatibleBitmap(dc, width, height) : nullptr);
    if (!stretched)
        return false;
    SelectedObject selectedLine(source.Get(), line.Get());
    SelectedObject selectedTarget(target.Get(), stretched.Get());
    SetStretchBltMode(target.Get(), HALFTONE);
    SetBrushOrgEx(target.Get(), 0, 0, nullptr);
    if (!StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, horizontal ? lines : 1,
                    horizontal ? 1 : lines, SRCCOPY))
        return false;
    return BitBlt(dc, area.left, area.top, width, height, target.Get(), 0, 0, SRCCOPY) != FALSE;
}

void PaintGradientByLines(HDC dc, const RECT& area, COLORREF first, COLORREF second,
                          bool horizontal) {
    const int lines = horizontal ? area.right - area.left : area.bottom - area.top;
    for (int i = 0; i < lines; ++i) {
        RECT lineRect = area;
        if (horizontal) {
            lineRect.left = area.left + i;
            lineRect.right = lineRect.left + 1;
        } else {
            lineRect.top = area.top + i;
            lineRect.bottom = lineRect.top + 1;
        }
        BrushHandle brush(CreateSolidBrush(GradientLineColour(first, second, i, lines)));
        if (brush)
            FillRect(dc, &lineRect, brush.Get());
    }
}

void PaintGradient(HDC dc, const RECT& area, COLORREF first, COLORREF second, bool horizontal) {
    if (!IsOlderWindowsFamily() && PaintGradientStretched(dc, area, first, second, horizontal))
        return;
    PaintGradientByLines(dc, area, first, second, horizontal);
}

void PaintGradientPanel(Control* panel, HDC dc) {
    if (!panel->Handle || !dc)
        return;
    RECT client;
    GetClientRect(panel->Handle, &client);
    PaintGradient(dc, client, ResolveColour(panel->GradientColour1),
                  ResolveColour(panel->GradientColour2), panel->GradientHorizontal);
    if (panel->PaintEvent.IsSet())
        panel->PaintEvent.Procedure(panel->PaintEvent.Context, panel, dc);
}

namespace {

bool GradientPaintingProc(Control* panel, MessageRecord& message, LRESULT& result, void* argument) {
    (void)argument;
    switch (message.Message) {
        case WM_ERASEBKGND:
            // the gradient covers the whole client area when painted
            result = 1;
            return true;
        case WM_PAINT:
            if (message.WParam) {
                PaintGradientPanel(panel, reinterpret_cast<HDC>(message.WParam));
            } else {
                PaintScope paint(panel->Handle);
                PaintGradientPanel(panel, paint.Get());
            }
            result = 0;
            return true;
        case WM_PRINTCLIENT:
            PaintGradientPanel(panel, reinterpret_cast<HDC>(message.WParam));
            result = 0;
            return true;
        case WM_SIZE:
            // the lines depend on the height (or width): the whole panel is painted again
            if (panel->Handle)
                InvalidateRect(panel->Handle, nullptr, FALSE);
            return false;
        default:
            return false;
    }
}

}  // namespace

void AttachGradientPainting(Control* panel) {
    if (panel && !panel->HasMessageProc(GradientPaintingProc))
        panel->AttachMessageProc(GradientPaintingProc);
}
