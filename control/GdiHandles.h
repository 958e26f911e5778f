#pragma once
// Move-only owners of GDI handles: each releases its handle on every path, none can be
// copied. Header-only; every owner is a thin wrapper around one release call.
#include <windows.h>

// A device context made with CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
public:
    MemoryDc() = default;
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() { Reset(); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    MemoryDc(MemoryDc&& other) noexcept : dc_(other.dc_) { other.dc_ = nullptr; }
    MemoryDc& operator=(MemoryDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = other.dc_;
            other.dc_ = nullptr;
        }
        return *this;
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_)
            DeleteDC(dc_);
        dc_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
};

// A device context of a window taken with GetDC or GetDCEx, given back with ReleaseDC.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~WindowDc() { Reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(other.dc_) {
        other.window_ = nullptr;
        other.dc_ = nullptr;
    }
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = other.window_;
            dc_ = other.dc_;
            other.window_ = nullptr;
            other.dc_ = nullptr;
        }
        return *this;
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_)
            ReleaseDC(window_, dc_);
        window_ = nullptr;
        dc_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// A GDI object (font, brush, bitmap, region) deleted with DeleteObject. Stock objects
// must not be given to it.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // gives up ownership without deleting
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// An object selected into a device context; the previous object is selected back.
class SelectedObject {
public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {
        if (previous_ == HGDI_ERROR)
            previous_ = nullptr;
    }
    ~SelectedObject() { Reset(); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept : dc_(other.dc_), previous_(other.previous_) {
        other.dc_ = nullptr;
        other.previous_ = nullptr;
    }
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = other.dc_;
            previous_ = other.previous_;
            other.dc_ = nullptr;
            other.previous_ = nullptr;
        }
        return *this;
    }
    void Reset() {
        if (dc_ && previous_)
            SelectObject(dc_, previous_);
        dc_ = nullptr;
        previous_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The state of a device context (origins, clipping, colours, modes) saved with SaveDC and
// put back with RestoreDC.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), level_(dc ? SaveDC(dc) : 0) {}
    ~SavedDcState() {
        if (level_ > 0)
            RestoreDC(dc_, level_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    SavedDcState(SavedDcState&& other) noexcept : dc_(other.dc_), level_(other.level_) {
        other.dc_ = nullptr;
        other.level_ = 0;
    }
    SavedDcState& operator=(SavedDcState&&) = delete;

private:
    HDC dc_ = nullptr;
    int level_ = 0;
};

// BeginPaint ... EndPaint of one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) {
        ZeroMemory(&paint_, sizeof(paint_));
        dc_ = BeginPaint(window, &paint_);
    }
    ~PaintScope() { Reset(); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    PaintScope(PaintScope&& other) noexcept
        : window_(other.window_), dc_(other.dc_), paint_(other.paint_) {
        other.window_ = nullptr;
        other.dc_ = nullptr;
    }
    PaintScope& operator=(PaintScope&&) = delete;
    HDC Get() const { return dc_; }
    const RECT& PaintRect() const { return paint_.rcPaint; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (window_)
            EndPaint(window_, &paint_);
        window_ = nullptr;
        dc_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    PAINTSTRUCT paint_;
};
