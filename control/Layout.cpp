#include "control/Layout.h"

#include <algorithm>

#include "control/Control.h"

namespace {

// Realigning does nothing until the first SetAlign of the program.
bool realignInstalled = false;

bool InPass(ControlAlign align, int pass) {
    switch (pass) {
        case 0:
            return align == AlignTop || align == AlignBottom;
        case 1:
            return align == AlignLeft || align == AlignRight;
        default:
            return align == AlignClient;
    }
}

bool TakesPart(const Control* child, const Control* parent) {
    return child->Parent == parent && !child->AlignLocked && !child->IsDestroying &&
           (child->Visible || child->PendingShow) && child->Align != AlignNone;
}

// Places one aligned child within the free area and shrinks the free area.
RECT PlaceChild(const Control* child, RECT& free, int margin) {
    RECT r = child->Bounds;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    switch (child->Align) {
        case AlignTop:
            r.left = free.left + margin;
            r.right = free.right - margin;
            r.top = free.top + margin;
            r.bottom = r.top + height;
            free.top += margin + height;
            break;
        case AlignBottom:
            r.left = free.left + margin;
            r.right = free.right - margin;
            r.bottom = free.bottom - margin;
            r.top = r.bottom - height;
            free.bottom -= margin + height;
            break;
        case AlignLeft:
            r.top = free.top + margin;
            r.bottom = free.bottom - margin;
            r.left = free.left + margin;
            r.right = r.left + width;
            free.left += margin + width;
            break;
        case AlignRight:
            r.top = free.top + margin;
            r.bottom = free.bottom - margin;
            r.right = free.right - margin;
            r.left = r.right - width;
            free.right -= margin + width;
            break;
        case AlignClient:
            r.left = free.left + margin;
            r.top = free.top + margin;
            r.right = free.right - margin;
            r.bottom = free.bottom - margin;
            break;
        default:
            break;
    }
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

bool AnchorProcedure(Control* parent, MessageRecord& message, LRESULT&, void*) {
    if (message.Message != WM_SIZE || !parent->Handle || IsIconic(parent->Handle))
        return false;
    const int width = LOWORD(message.LParam);
    const int height = HIWORD(message.LParam);
    for (size_t i = 0; i < parent->Children.size(); ++i) {
        Control* child = parent->Children[i];
        if (!(child->AnchorLeft || child->AnchorTop || child->AnchorRight || child->AnchorBottom))
            continue;
        const int dw = width - child->AnchorParentWidth;
        const int dh = height - child->AnchorParentHeight;
        RECT r = child->Bounds;
        if (dw != 0 && child->AnchorRight) {
            if (child->AnchorLeft)
                r.right += dw;
            else
                OffsetRect(&r, dw, 0);
        }
        if (dh != 0 && child->AnchorBottom) {
            if (child->AnchorTop)
                r.bottom += dh;
            else
                OffsetRect(&r, 0, dh);
        }
        child->AnchorParentWidth = width;
        child->AnchorParentHeight = height;
        if (!EqualRect(&r, &child->Bounds))
            child->SetBounds(r);
    }
    return false;
}

}  // namespace

void Realign(Control* parent) {
    if (!realignInstalled || !parent || parent->Realigning || parent->IsDestroying ||
        parent->WindowGone)
        return;
    const bool anyAligned =
        std::any_of(parent->Children.begin(), parent->Children.end(),
                    [parent](const Control* child) { return TakesPart(child, parent); });
    if (!anyAligned)
        return;
    RECT free = parent->ClientRect();
    if (free.right - free.left <= 0)
        return;
    parent->Realigning = true;
    const int margin = parent->Margin;
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t i = 0; i < parent->Children.size(); ++i) {
            Control* child = parent->Children[i];
            if (!TakesPart(child, parent) || !InPass(child->Align, pass))
                continue;
            const RECT placed = PlaceChild(child, free, margin);
            if (EqualRect(&placed, &child->Bounds))
                continue;
            const bool resized = (placed.right - placed.left) != child->Width() ||
                                 (placed.bottom - placed.top) != child->Height();
            child->SetBounds(placed);
            if (resized)
                Realign(child);
        }
    }
    parent->Realigning = false;
}

SIZE MeasureCaption(Control* control) {
    SIZE size = {0, 0};
    std::string text = control->GetText();
    if (text.empty())
        return size;
    GraphicTool* font = control->Font();
    if (font->Italic)
        text += ' ';
    MemoryDc dc(nullptr);
    if (!dc)
        return size;
    SelectedObject selected(dc.Get(), font->FontHandle());
    if (control->WordWrap && control->Align != AlignClient) {
        RECT rect = {0, 0, control->Width(), 0};
        if (control->Handle) {
            RECT client = {};
            GetClientRect(control->Handle, &client);
            rect.right = client.right;
        }
        UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
        if (control->TextAlign == TextAlignRight)
            format |= DT_RIGHT;
        else if (control->TextAlign == TextAlignCentre)
            format |= DT_CENTER;
        DrawTextA(dc.Get(), text.c_str(), -1, &rect, format);
        size.cx = rect.right - rect.left;
        size.cy = rect.bottom - rect.top;
        return size;
    }
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void AutoSizeControl(Control* control) {
    if (!control || !control->AutoSize || control->IsDestroying)
        return;
    const SIZE text = MeasureCaption(control);
    int width = control->Width();
    int height = control->Height();
    const ControlAlign align = control->Align;
    if (align == AlignNone || align == AlignLeft || align == AlignRight)
        width = std::max(static_cast<int>(text.cx) + control->AutoSizePaddingX, control->MinWidth);
    if (align == AlignNone || align == AlignTop || align == AlignBottom)
        height =
            std::max(static_cast<int>(text.cy) + control->AutoSizePaddingY, control->MinHeight);
    if (width == control->Width() && height == control->Height())
        return;
    RECT bounds = control->Bounds;
    bounds.right = bounds.left + width;
    bounds.bottom = bounds.top + height;
    control->SetBounds(bounds);
    if (control->Parent)
        Realign(control->Parent);
    Realign(control);
}

Control* ControlLayout::SetAlign(ControlAlign align) {
    realignInstalled = true;
    if (align == Align)
        return Self();
    Align = align;
    if (!AlignLocked && Parent)
        Realign(Parent);
    return Self();
}

Control* ControlLayout::SetAnchors(bool left, bool top, bool right, bool bottom) {
    AnchorLeft = left;
    AnchorTop = top;
    AnchorRight = right;
    AnchorBottom = bottom;
    if (!Parent)
        return Self();
    RECT client = {0, 0, 0, 0};
    if (HWND parentWindow = Parent->WindowHandle())
        GetClientRect(parentWindow, &client);
    AnchorParentWidth = client.right;
    AnchorParentHeight = client.bottom;
    Parent->AttachMessageProc(AnchorProcedure);
    return Self();
}

Control* ControlLayout::SetAutoSize(bool on) {
    AutoSize = on;
    AfterTextChange = on ? AutoSizeControl : nullptr;
    if (on)
        AutoSizeControl(Self());
    return Self();
}

Control* ControlLayout::SetWordWrap(bool on) {
    WordWrap = on;
    if (AutoSize)
        AutoSizeControl(Self());
    return Self();
}

Control* ControlLayout::SetMinSize(int width, int height) {
    MinWidth = width;
    MinHeight = height;
    if (AutoSize)
        AutoSizeControl(Self());
    return Self();
}
