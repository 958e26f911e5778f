#include "control/Painting.h"

#include <algorithm>
#include <vector>

#include "control/Control.h"
#include "control/GdiHandles.h"

// How transparency works: a transparent control paints nothing of its own background.
// Instead, every paint of it goes through an off-screen bitmap: first the surface of its
// parent under it (the parent's erase and client painting, recursively through parents
// that are transparent themselves), then its own client painting with a hollow brush,
// then one BitBlt to the screen. A double-buffered parent paints its own surface the
// same way (one BitBlt, no visible erase) and afterwards invalidates the transparent
// children lying in the repainted area, so that they compose themselves again over the
// new background.

namespace {

// Controls whose surface is being rendered into an off-screen bitmap right now (their
// WM_ERASEBKGND then fills the bitmap instead of being skipped).
std::vector<const Control*>& OffscreenRendering() {
    static std::vector<const Control*> controls;
    return controls;
}

bool IsRenderingOffscreen(const Control* control) {
    const std::vector<const Control*>& controls = OffscreenRendering();
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

bool SeesThrough(const Control* control) {
    return control->Transparent && control->Parent != nullptr;
}

// Sends the control's erase and client painting into dc (its client coordinates as dc's
// logical coordinates).
void RenderSurface(Control* control, HDC dc) {
    if (!control->Handle)
        return;
    OffscreenRendering().push_back(control);
    SendMessageA(control->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    OffscreenRendering().pop_back();
}

// Renders into dc the part of the parent's surface that lies under control.
void PaintParentBackground(Control* control, HDC dc) {
    Control* parent = control->Parent;
    if (!parent || !parent->Handle || !control->Handle)
        return;
    RECT client;
    GetClientRect(control->Handle, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    POINT origin = {0, 0};
    MapWindowPoints(control->Handle, parent->Handle, &origin, 1);

    SavedDcState saved(dc);
    LPtoDP(dc, corners, 2);
    RegionHandle clip(CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y));
    if (clip)
        ExtSelectClipRgn(dc, clip.Get(), RGN_AND);
    OffsetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    RenderSurface(parent, dc);
}

// Rectangle of child in the client coordinates of its parent's window.
RECT ChildRectInParent(HWND child, HWND parent) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Transparent children that overlap area (client coordinates of control) repaint over
// the background just painted.
void InvalidateTransparentChildren(Control* control, const RECT& area) {
    for (Control* child : control->Children) {
        if (!child->Transparent || !child->Handle || !IsWindowVisible(child->Handle))
            continue;
        RECT childRect = ChildRectInParent(child->Handle, control->Handle);
        RECT overlap;
        if (!IntersectRect(&overlap, &childRect, &area))
            continue;
        OffsetRect(&overlap, -childRect.left, -childRect.top);
        RedrawWindow(child->Handle, &overlap, nullptr, RDW_INVALIDATE);
    }
}

// The update region of control minus the windows of its opaque visible children, in
// client coordinates; nullptr when there is no update region.
RegionHandle RegionToRender(Control* control) {
    RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (!region || GetUpdateRgn(control->Handle, region.Get(), FALSE) <= NULLREGION)
        return RegionHandle();
    for (Control* child : control->Children) {
        if (child->Transparent || !child->Handle || !IsWindowVisible(child->Handle))
            continue;
        const RECT childRect = ChildRectInParent(child->Handle, control->Handle);
        RegionHandle childRegion(CreateRectRgnIndirect(&childRect));
        if (childRegion)
            CombineRgn(region.Get(), region.Get(), childRegion.Get(), RGN_DIFF);
    }
    return region;
}

// WM_PAINT of a transparent or double-buffered control: everything is rendered into a
// bitmap of the repainted area and copied to the screen at once.
void PaintOffscreen(Control* control) {
    RegionHandle region = RegionToRender(control);
    PaintScope paint(control->Handle);
    if (!paint)
        return;
    const RECT area = paint.PaintRect();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;

    MemoryDc memory(paint.Get());
    BitmapHandle bitmap(memory ? CreateCompatibleBitmap(paint.Get(), width, height) : nullptr);
    if (!bitmap) {
        RenderSurface(control, paint.Get());
    } else {
        SelectedObject selected(memory.Get(), bitmap.Get());
        {
            SavedDcState saved(memory.Get());
            if (region) {
                OffsetRgn(region.Get(), -area.left, -area.top);
                ExtSelectClipRgn(memory.Get(), region.Get(), RGN_COPY);
            }
            SetWindowOrgEx(memory.Get(), area.left, area.top, nullptr);
            RenderSurface(control, memory.Get());
        }
        BitBlt(paint.Get(), area.left, area.top, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
    paint.Reset();
    InvalidateTransparentChildren(control, area);
}

bool SurfacePaintProc(Control* control, MessageRecord& message, LRESULT& result, void* argument) {
    (void)argument;
    const bool seesThrough = SeesThrough(control);
    if (!seesThrough && !control->DoubleBuffered)
        return false;
    switch (message.Message) {
        case WM_ERASEBKGND:
            // On screen the background comes with the off-screen paint; off-screen an opaque
            // control fills it as usual, a transparent one keeps what its parent painted.
            if (!seesThrough && IsRenderingOffscreen(control))
                return false;
            result = 1;
            return true;
        case WM_PAINT:
            if (message.WParam)
                return false;
            PaintOffscreen(control);
            result = 0;
            return true;
        case WM_PRINTCLIENT:
            if (seesThrough)
                PaintParentBackground(control, reinterpret_cast<HDC>(message.WParam));
            return false;
        default:
            return false;
    }
}

void AttachSurfacePainting(Control* control) {
    if (!control->HasMessageProc(SurfacePaintProc))
        control->AttachMessageProc(SurfacePaintProc);
}

bool BackgroundEraseProc(Control* control, MessageRecord& message, LRESULT& result,
                         void* argument) {
    (void)result;
    (void)argument;
    if (message.Message != WM_ERASEBKGND || !control->Handle)
        return false;
    const std::vector<Control*> children = control->Children;
    for (Control* child : children) {
        if (!child->Handle && !child->WindowGone)
            child->CreateWindowHandle();
    }
    if (!control->Transparent) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ResolveColour(control->Colour));
        SetBrushOrgEx(dc, 0, 0, nullptr);
        RECT client;
        GetClientRect(control->Handle, &client);
        FillRect(dc, &client, control->BackgroundBrush());
    }
    return false;
}

}  // namespace

HBRUSH AnswerColourMessage(Control* child, HDC dc) {
    SetTextColor(dc, ResolveColour(child->TextColour));
    if (child->Transparent) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ResolveColour(child->Colour));
    return child->BackgroundBrush();
}

void AttachBackgroundErase(Control* control) {
    if (control && !control->HasMessageProc(BackgroundEraseProc))
        control->AttachMessageProc(BackgroundEraseProc);
}

void ApplyDoubleBuffering(Control* control) {
    if (!control)
        return;
    if (control->DoubleBuffered || SeesThrough(control))
        AttachSurfacePainting(control);
    for (Control* child : control->Children) {
        if (child->Transparent)
            AttachSurfacePainting(child);
    }
    if (control->Handle)
        RedrawWindow(control->Handle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
