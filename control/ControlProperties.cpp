#include "control/ControlProperties.h"

#include <algorithm>

#include "control/Control.h"
#include "control/MessageProcedures.h"
#include "control/MouseTracking.h"
#include "control/Painting.h"

namespace {

// The border bits in the stored styles and, when the window exists, in the window's.
void ApplyBorder(Control* control) {
    BorderBits(control, control->Style, control->ExStyle);
    if (!control->Handle)
        return;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control->Handle, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control->Handle, GWL_EXSTYLE));
    BorderBits(control, style, exStyle);
    SetWindowLongPtrA(control->Handle, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrA(control->Handle, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    SetWindowPos(control->Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

void OnFontChanged(Control* owner, GraphicTool* tool) {
    if (!owner)
        return;
    owner->TextColour = tool->Colour;
    if (owner->Handle)
        SendMessageA(owner->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(tool->FontHandle()), TRUE);
    owner->Invalidate();
    if (owner->AutoSize)
        AutoSizeControl(owner);
}

void OnBrushChanged(Control* owner, GraphicTool*) {
    if (owner)
        owner->Invalidate();
}

void BorderBits(const Control* control, DWORD& style, DWORD& exStyle) {
    style &= ~WS_BORDER;
    exStyle &= ~WS_EX_CLIENTEDGE;
    if (!control->HasBorder)
        return;
    if (control->Ctl3D)
        exStyle |= WS_EX_CLIENTEDGE;
    else
        style |= WS_BORDER;
}

// ---------------------------------------------------------------------------------
// Geometry

Control* ControlProperties::SetBounds(const RECT& bounds) {
    Bounds = bounds;
    if (Handle)
        SetWindowPos(Handle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return Self();
}

Control* ControlProperties::SetPosition(int left, int top) {
    const int width = Width();
    const int height = Height();
    Bounds = RECT{left, top, left + width, top + height};
    if (IsForm)
        PositionSet = true;
    if (Handle)
        SetWindowPos(Handle, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return Self();
}

Control* ControlProperties::Resize(int width, int height) {
    if (width == 0)
        width = Width();
    if (height == 0)
        height = Height();
    Bounds.right = Bounds.left + width;
    Bounds.bottom = Bounds.top + height;
    if (Handle)
        SetWindowPos(Handle, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return Self();
}

Control* ControlProperties::SetClientSize(int width, int height) {
    int extraWidth = 0;
    int extraHeight = 0;
    if (Handle) {
        RECT window = {};
        RECT client = {};
        GetWindowRect(Handle, &window);
        GetClientRect(Handle, &client);
        extraWidth = (window.right - window.left) - client.right;
        extraHeight = (window.bottom - window.top) - client.bottom;
    } else {
        RECT frame = {0, 0, 0, 0};
        AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
        extraWidth = frame.right - frame.left;
        extraHeight = frame.bottom - frame.top;
    }
    return Resize(width > 0 ? width + extraWidth : 0, height > 0 ? height + extraHeight : 0);
}

Control* ControlProperties::SetMargin(int margin) {
    Margin = margin;
    return Self();
}

Control* ControlProperties::SetClientOffsets(int top, int bottom, int left, int right) {
    ClientTopOffset = top;
    ClientBottomOffset = bottom;
    ClientLeftOffset = left;
    ClientRightOffset = right;
    return Self();
}

// ---------------------------------------------------------------------------------
// Text

Control* ControlProperties::SetText(const std::string& text) {
    Caption = text;
    if (Handle)
        SendMessageA(Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Caption.c_str()));
    if (IsLabel)
        Invalidate();
    if (AfterTextChange)
        AfterTextChange(Self());
    return Self();
}

std::string ControlProperties::GetText() {
    if (!Handle)
        return Caption;
    const int length = GetWindowTextLengthA(Handle);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(Handle, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

Control* ControlProperties::SetTextAlign(TextAlignment align) {
    if (Actions) {
        const DWORD all = Actions->TextAlignLeftStyle | Actions->TextAlignRightStyle |
                          Actions->TextAlignCentreStyle;
        const DWORD bits = align == TextAlignRight    ? Actions->TextAlignRightStyle
                           : align == TextAlignCentre ? Actions->TextAlignCentreStyle
                                                      : Actions->TextAlignLeftStyle;
        Style = (Style & ~all) | bits;
        if (Handle) {
            const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
            SetWindowLongPtrA(Handle, GWL_STYLE, static_cast<LONG_PTR>((style & ~all) | bits));
        }
    }
    TextAlign = align;
    return Invalidate();
}

// ---------------------------------------------------------------------------------
// Colours and font

Control* ControlProperties::SetColour(ColourValue colour) {
    if (Actions && Actions->SetBackgroundMessage)
        Send(Actions->SetBackgroundMessage, 0, static_cast<LPARAM>(ResolveColour(colour)));
    if (colour == Colour)
        return Self();
    Colour = colour;
    CachedBrush.Reset();
    if (BrushTool)
        BrushTool->SetColour(colour);
    return Invalidate();
}

GraphicTool* ControlProperties::Font() {
    if (!FontTool) {
        FontTool = new GraphicTool(GraphicToolKind::Font);
        FontTool->Colour = TextColour;
        FontTool->Owner = Self();
        FontTool->Changed = OnFontChanged;
    }
    return FontTool;
}

GraphicTool* ControlProperties::Brush() {
    if (!BrushTool) {
        BrushTool = new GraphicTool(GraphicToolKind::Brush);
        BrushTool->Colour = Colour;
        BrushTool->Owner = Self();
        BrushTool->Changed = OnBrushChanged;
    }
    return BrushTool;
}

HBRUSH ControlProperties::BackgroundBrush() {
    if (!CachedBrush)
        CachedBrush.Reset(CreateSolidBrush(ResolveColour(Colour)));
    return CachedBrush.Get();
}

Control* ControlProperties::SetFontColour(ColourValue colour) {
    Font()->SetColour(colour);
    return Self();
}

Control* ControlProperties::SetFontName(const char* name) {
    Font()->SetFaceName(name);
    return Self();
}

Control* ControlProperties::SetFontHeight(int height) {
    Font()->SetHeight(height);
    return Self();
}

Control* ControlProperties::SetFontStyle(unsigned styles) {
    Font()->SetStyle(styles);
    return Self();
}

// ---------------------------------------------------------------------------------
// State

Control* ControlProperties::SetEnabled(bool enabled) {
    if (enabled == Enabled)
        return Self();
    Enabled = enabled;
    if (enabled)
        Style &= ~WS_DISABLED;
    else
        Style |= WS_DISABLED;
    if (Handle)
        EnableWindow(Handle, enabled ? TRUE : FALSE);
    return Invalidate();
}

Control* ControlProperties::SetVisible(bool visible) {
    Visible = visible;
    if (visible)
        Style |= WS_VISIBLE;
    else {
        Style &= ~WS_VISIBLE;
        PendingShow = false;
    }
    if (Handle)
        ShowWindow(Handle, visible ? SW_SHOW : SW_HIDE);
    if (Parent)
        Realign(Parent);
    if (visible)
        Realign(Self());
    return Self();
}

Control* ControlProperties::SetTabStop(bool tabStop) {
    TabStop = tabStop;
    if (tabStop)
        Style |= WS_TABSTOP;
    else
        Style &= ~WS_TABSTOP;
    if (Handle) {
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
        SetWindowLongPtrA(
            Handle, GWL_STYLE,
            static_cast<LONG_PTR>(tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP)));
    }
    if (!tabStop) {
        Control* form = Parent ? Parent->ParentForm() : nullptr;
        if (form && form->FocusedChild == Self())
            form->FocusedChild = nullptr;
    }
    return Self();
}

Control* ControlProperties::SetChecked(bool checked) {
    if (Kind == ControlKind::RadioButton) {
        if (checked) {
            RunClickPath(Self());
        } else {
            Checked = false;
            if (Handle)
                SendMessageA(Handle, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        return Self();
    }
    Checked = checked;
    if (Handle && Kind != ControlKind::Button)
        SendMessageA(Handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return Invalidate();
}

bool ControlProperties::IsChecked() {
    if (Kind == ControlKind::Button)
        return Checked;
    if (Handle)
        return SendMessageA(Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return Checked;
}

Control* ControlProperties::SetCtl3D(bool on) {
    Ctl3D = on;
    ApplyBorder(Self());
    return Self();
}

Control* ControlProperties::SetBorder(bool on) {
    HasBorder = on;
    ApplyBorder(Self());
    return Self();
}

Control* ControlProperties::SetTransparent(bool on) {
    Transparent = on;
    if (on && Parent) {
        Parent->SetDoubleBuffered(true);
        ApplyDoubleBuffering(Parent);
    }
    return Invalidate();
}

Control* ControlProperties::SetDoubleBuffered(bool on) {
    if (on == DoubleBuffered)
        return Self();
    DoubleBuffered = on;
    ApplyDoubleBuffering(Self());
    return Self();
}

Control* ControlProperties::SetFlat(bool on) {
    Flat = on;
    if (on)
        AttachMouseTracking(Self());
    return Invalidate();
}

Control* ControlProperties::SetPressShift(int x, int y) {
    PressShiftX = x;
    PressShiftY = y;
    return Self();
}

// ---------------------------------------------------------------------------------
// Items

Control* ControlProperties::Clear() {
    if (Actions && Actions->Clear)
        Actions->Clear(Self());
    return Self();
}

int ControlProperties::ItemCount() {
    if (!Actions || !Actions->ItemCountMessage)
        return 0;
    return static_cast<int>(Send(Actions->ItemCountMessage));
}

Control* ControlProperties::SetItemText(int index, const std::string& text) {
    if (!Actions || !Actions->DeleteItemMessage || !Actions->InsertItemMessage || index < 0 ||
        !WindowHandle())
        return Self();
    const int selection = CurrentIndex();
    const int count = ItemCount();
    const bool replacing = index < count;
    LRESULT data = 0;
    if (replacing) {
        if (Actions->GetItemDataMessage)
            data = Send(Actions->GetItemDataMessage, static_cast<WPARAM>(index));
        Send(Actions->DeleteItemMessage, static_cast<WPARAM>(index));
    }
    const LRESULT position = Send(Actions->InsertItemMessage,
                                  replacing ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text.c_str()));
    if (replacing && position >= 0 && Actions->SetItemDataMessage)
        Send(Actions->SetItemDataMessage, static_cast<WPARAM>(position), data);
    if (Actions->SetCurrentIndexMessage)
        Send(Actions->SetCurrentIndexMessage, static_cast<WPARAM>(selection));
    return Self();
}

std::string ControlProperties::ItemText(int index) {
    if (!Actions || !Actions->GetItemTextMessage || index < 0 || !WindowHandle())
        return std::string();
    if (Kind == ControlKind::Edit) {
        const LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(index));
        if (start < 0)
            return std::string();
        const LRESULT length = Send(EM_LINELENGTH, static_cast<WPARAM>(start));
        if (length <= 0)
            return std::string();
        std::string line(static_cast<size_t>(std::max<LRESULT>(length, sizeof(WORD))) + 1, '\0');
        *reinterpret_cast<WORD*>(&line[0]) = static_cast<WORD>(length);
        const LRESULT copied =
            Send(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&line[0]));
        line.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(copied, length))));
        return line;
    }
    const LRESULT length = Actions->ItemTextLengthMessage
                               ? Send(Actions->ItemTextLengthMessage, static_cast<WPARAM>(index))
                               : -1;
    if (length < 0)
        return std::string();
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = Send(Actions->GetItemTextMessage, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(&item[0]));
    item.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(copied, length))));
    return item;
}

int ControlProperties::AddItem(const std::string& text) {
    if (!Actions || !Actions->AddItemMessage)
        return -1;
    if (!WindowHandle())
        return -1;
    return static_cast<int>(
        Send(Actions->AddItemMessage, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

Control* ControlProperties::SetCurrentIndex(int index) {
    if (Actions && Actions->SetCurrentIndexMessage)
        Send(Actions->SetCurrentIndexMessage, static_cast<WPARAM>(index));
    return Self();
}

int ControlProperties::CurrentIndex() {
    if (!Actions || !Actions->CurrentIndexMessage)
        return -1;
    return static_cast<int>(Send(Actions->CurrentIndexMessage, Actions->CurrentIndexWParam,
                                 Actions->CurrentIndexLParam));
}
