#include "support/WindowCapture.h"

#include "control/GdiHandles.h"

namespace {

// A top-down 32-bit DIB section selected into its own memory DC.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
        BITMAPINFO info;
        ZeroMemory(&info, sizeof(info));
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        if (width > 0 && height > 0)
            bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        selected_ = SelectedObject(dc_.Get(), bitmap_.Get());
    }

    bool Valid() const { return dc_ && bitmap_ && bits_; }
    HDC Dc() const { return dc_.Get(); }

    CapturedImage Image() const {
        CapturedImage image;
        if (!Valid())
            return image;
        GdiFlush();
        image.Width = width_;
        image.Height = height_;
        image.Pixels.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        const DWORD* pixels = static_cast<const DWORD*>(bits_);
        for (size_t i = 0; i < image.Pixels.size(); ++i) {
            const DWORD p = pixels[i];
            image.Pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
        return image;
    }

private:
    int width_;
    int height_;
    MemoryDc dc_;
    BitmapHandle bitmap_;
    SelectedObject selected_;
    void* bits_ = nullptr;
};

}  // namespace

COLORREF CapturedImage::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height)
        return CLR_INVALID;
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
}

int CapturedImage::Count(COLORREF colour, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == colour)
                ++count;
    return count;
}

RECT CapturedImage::BoundsOfOther(COLORREF colour, const RECT& area) const {
    RECT bounds = {0, 0, 0, 0};
    bool found = false;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF pixel = At(x, y);
            if (pixel == colour || pixel == CLR_INVALID)
                continue;
            if (!found) {
                bounds = {x, y, x + 1, y + 1};
                found = true;
            } else {
                if (x < bounds.left)
                    bounds.left = x;
                if (x + 1 > bounds.right)
                    bounds.right = x + 1;
                if (y + 1 > bounds.bottom)
                    bounds.bottom = y + 1;
            }
        }
    }
    return bounds;
}

void RepaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

RECT RectInParent(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ClientAreaIn(HWND window, HWND ancestor) {
    RECT rect;
    GetClientRect(window, &rect);
    MapWindowPoints(window, ancestor, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

CapturedImage CaptureOnScreen(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    if (!top)
        top = window;
    const RECT area = ClientAreaIn(window, top);
    DibCanvas canvas(area.right - area.left, area.bottom - area.top);
    if (!canvas.Valid())
        return CapturedImage();
    WindowDc source(top);
    BitBlt(canvas.Dc(), 0, 0, area.right - area.left, area.bottom - area.top, source.Get(),
           area.left, area.top, SRCCOPY);
    return canvas.Image();
}

CapturedImage CapturePrintClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    DibCanvas canvas(client.right, client.bottom);
    if (!canvas.Valid())
        return CapturedImage();
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    return canvas.Image();
}

CapturedImage CaptureDrawing(int width, int height, COLORREF fill,
                             void (*paint)(HDC dc, void* context), void* context) {
    DibCanvas canvas(width, height);
    if (!canvas.Valid())
        return CapturedImage();
    RECT all = {0, 0, width, height};
    BrushHandle brush(CreateSolidBrush(fill));
    FillRect(canvas.Dc(), &all, brush.Get());
    paint(canvas.Dc(), context);
    return canvas.Image();
}
