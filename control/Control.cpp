#include "control/Control.h"

#include <algorithm>

#include "control/MessageProcedures.h"
#include "control/Painting.h"

namespace {

const DWORD FormStyle = 0x16CF0000;  // WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS
const DWORD LabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
const DWORD GroupBoxStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX;
const DWORD ButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_OWNERDRAW;
const DWORD RadioStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_NOTIFY | BS_RADIOBUTTON;
const DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
const DWORD ComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;

void ClearComboItems(Control* control)
{
    control->Send(CB_RESETCONTENT);
}

void CheckRadioAction(Control* radio)
{
    Control* parent = radio->Parent;
    if (!parent)
        return;
    for (Control* sibling : parent->Children) {
        if (sibling->Kind == ControlKind::RadioButton && sibling->ControlId >= parent->FirstRadioId &&
            sibling->ControlId <= parent->LastRadioId)
            sibling->Checked = (sibling == radio);
    }
    if (parent->Handle)
        CheckRadioButton(parent->Handle, parent->FirstRadioId, parent->LastRadioId, radio->ControlId);
}

void ApplyRadioCheck(Control* radio)
{
    SendMessageA(radio->Handle, BM_SETCHECK, radio->Checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

ControlActions MakeButtonActions()
{
    ControlActions actions;
    actions.Clear = ClearTextOf;
    actions.ClickCode = BN_CLICKED;
    actions.EnterCode = BN_SETFOCUS;
    actions.LeaveCode = BN_KILLFOCUS;
    actions.TextAlignLeftStyle = BS_LEFT;
    actions.TextAlignRightStyle = BS_RIGHT;
    actions.TextAlignCentreStyle = BS_CENTER;
    return actions;
}

ControlActions MakeRadioActions()
{
    ControlActions actions = MakeButtonActions();
    actions.AfterCreate = ApplyRadioCheck;
    return actions;
}

const ControlActions& RadioActions()
{
    static const ControlActions actions = MakeRadioActions();
    return actions;
}

const ControlActions& FormActions()
{
    static const ControlActions actions;
    return actions;
}

void OnFontChanged(Control* owner, GraphicTool* tool)
{
    if (!owner)
        return;
    owner->TextColour = tool->Colour;
    if (owner->Handle)
        SendMessageA(owner->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(tool->FontHandle()), TRUE);
    owner->Invalidate();
    if (owner->AutoSize)
        AutoSizeControl(owner);
}

void OnBrushChanged(Control* owner, GraphicTool*)
{
    if (owner)
        owner->Invalidate();
}

GraphicTool* CopyTool(const GraphicTool* source, Control* owner)
{
    GraphicTool* tool = new GraphicTool(source->Kind);
    tool->Assign(*source);
    tool->Owner = owner;
    tool->Changed = source->Kind == GraphicToolKind::Font ? OnFontChanged : OnBrushChanged;
    return tool;
}

// Border bits of a child from its 3-D look and border settings.
void BorderBits(const Control* control, DWORD& style, DWORD& exStyle)
{
    style &= ~WS_BORDER;
    exStyle &= ~WS_EX_CLIENTEDGE;
    if (!control->HasBorder)
        return;
    if (control->Ctl3D)
        exStyle |= WS_EX_CLIENTEDGE;
    else
        style |= WS_BORDER;
}

void ApplyBorder(Control* control)
{
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

Control* NewChild(Control* parent, ControlKind kind, const char* baseClassName, DWORD style,
                  const ControlActions* actions, bool uses3D, int width, int height, int paddingX,
                  int paddingY)
{
    Control* control = CreateChildControl(parent, kind, baseClassName, style, actions, uses3D, width, height);
    control->AutoSizePaddingX = paddingX;
    control->AutoSizePaddingY = paddingY;
    return control;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Action records

void ClearTextOf(Control* control)
{
    control->SetText(std::string());
}

const ControlActions& ButtonActions()
{
    static const ControlActions actions = MakeButtonActions();
    return actions;
}

const ControlActions& StaticActions()
{
    static const ControlActions actions = [] {
        ControlActions a;
        a.Clear = ClearTextOf;
        a.ClickCode = STN_CLICKED;
        a.TextAlignRightStyle = SS_RIGHT;
        a.TextAlignCentreStyle = SS_CENTER;
        return a;
    }();
    return actions;
}

const ControlActions& EditActions()
{
    static const ControlActions actions = [] {
        ControlActions a;
        a.Clear = ClearTextOf;
        a.EnterCode = EN_SETFOCUS;
        a.LeaveCode = EN_KILLFOCUS;
        a.ChangeCode = EN_CHANGE;
        a.ItemCountMessage = EM_GETLINECOUNT;
        a.ItemTextLengthMessage = EM_LINELENGTH;
        a.GetItemTextMessage = EM_GETLINE;
        a.CurrentIndexMessage = EM_LINEINDEX;
        a.CurrentIndexWParam = static_cast<WPARAM>(-1);
        a.TextLimitMessage = EM_LIMITTEXT;
        a.ItemRectMessage = EM_POSFROMCHAR;
        a.TextAlignRightStyle = ES_RIGHT;
        a.TextAlignCentreStyle = ES_CENTER;
        return a;
    }();
    return actions;
}

const ControlActions& ComboBoxActions()
{
    static const ControlActions actions = [] {
        ControlActions a;
        a.Clear = ClearComboItems;
        a.ClickCode = CBN_DBLCLK;
        a.EnterCode = CBN_SETFOCUS;
        a.LeaveCode = CBN_KILLFOCUS;
        a.ChangeCode = CBN_EDITCHANGE;
        a.SelectionChangeCode = ComboSelectionChangeCode;
        a.ItemCountMessage = CB_GETCOUNT;
        a.ItemTextLengthMessage = CB_GETLBTEXTLEN;
        a.GetItemTextMessage = CB_GETLBTEXT;
        a.GetItemDataMessage = CB_GETITEMDATA;
        a.SetItemDataMessage = CB_SETITEMDATA;
        a.AddItemMessage = CB_ADDSTRING;
        a.DeleteItemMessage = CB_DELETESTRING;
        a.InsertItemMessage = CB_INSERTSTRING;
        a.FindExactMessage = CB_FINDSTRINGEXACT;
        a.FindMessage = CB_FINDSTRING;
        a.CurrentIndexMessage = CB_GETCURSEL;
        a.SetCurrentIndexMessage = CB_SETCURSEL;
        a.TextLimitMessage = CB_LIMITTEXT;
        a.AfterCreate = SubclassComboBoxWindows;
        return a;
    }();
    return actions;
}

WORD NextControlId()
{
    static WORD next = 0x8000;
    return next++;
}

// ---------------------------------------------------------------------------------
// Object model

Control::Control() = default;

Control::~Control() = default;

void Control::Init()
{
    ClassStyle = CS_OWNDC;
    Style = FormStyle;
    ExStyle = WS_EX_CONTROLPARENT;
    Visible = true;
    Enabled = true;
    HasBorder = true;
    Ctl3DChildren = true;
    TextColour = 0x00000008;
    Colour = ColourBtnFace;
    Margin = 2;
    Actions = &FormActions();
}

void Control::Construct(Control* parent)
{
    Init();
    if (parent)
        Colour = parent->Colour;
    SetParentControl(parent);
}

void Control::SetParentControl(Control* parent)
{
    if (parent == Parent)
        return;
    if (Parent) {
        auto& siblings = Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        Parent->UnregisterOwned(this);
        if (Parent->FocusedChild == this)
            Parent->FocusedChild = nullptr;
    }
    Parent = parent;
    if (!parent)
        return;
    parent->Children.push_back(this);
    parent->RegisterOwned(this);
    if (Handle && parent->Handle)
        ::SetParent(Handle, parent->Handle);
}

Control* Control::ParentForm()
{
    for (Control* control = this; control; control = control->Parent) {
        if (control->IsForm)
            return control;
    }
    return nullptr;
}

void Control::SetFocusedChild(Control* child)
{
    FocusedChild = child;
}

void Control::Destroy()
{
    IsDestroying = true;
    if (Control* form = Parent ? Parent->ParentForm() : nullptr) {
        if (form->FocusedChild == this)
            form->FocusedChild = nullptr;
    }
    if (Handle)
        ShowWindow(Handle, SW_HIDE);

    ManagedObject::Destroy();

    if (FontTool) {
        FontTool->Release();
        FontTool = nullptr;
    }
    if (BrushTool) {
        BrushTool->Release();
        BrushTool = nullptr;
    }
    if (SmallIcon && !IconShared)
        DestroyIcon(SmallIcon);
    SmallIcon = nullptr;
    if (Handle) {
        HWND window = Handle;
        Handle = nullptr;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (!WindowNotOwned) {
            // The rest of the window's life goes to the standard procedure alone, so
            // that it frees its own data.
            WNDPROC last = DefaultProc ? DefaultProc : DefWindowProcA;
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(last));
            DestroyWindow(window);
        }
    }
    WindowGone = true;
    CachedBrush.Reset();
    if (Parent) {
        auto& siblings = Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        Parent->UnregisterOwned(this);
        if (Parent->FocusedChild == this)
            Parent->FocusedChild = nullptr;
        Parent = nullptr;
    }
    for (Control* child : Children)
        child->Parent = nullptr;
    Children.clear();
    MessageProcs.clear();
    FocusedChild = nullptr;
    Caption.clear();
}

// ---------------------------------------------------------------------------------
// Constructors

Control* CreateChildControl(Control* parent, ControlKind kind, const char* baseClassName, DWORD style,
                            const ControlActions* actions, bool uses3D, int width, int height)
{
    Control* control = new Control();
    control->Construct(parent);
    control->Kind = kind;
    control->BaseClassName = baseClassName;
    control->Actions = actions ? actions : &FormActions();
    control->IsChildWindow = true;
    control->Style = style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (uses3D && (!parent || parent->Ctl3DChildren)) {
        control->Ctl3D = true;
        BorderBits(control, control->Style, control->ExStyle);
    }
    control->Visible = (control->Style & WS_VISIBLE) != 0;
    control->TabStop = (control->Style & WS_TABSTOP) != 0;
    if (Control* form = parent ? parent->ParentForm() : nullptr) {
        control->TabOrder = form->TabOrderCounter++;
        if (control->TabStop && !form->FocusedChild)
            form->FocusedChild = control;
    }
    control->ControlId = NextControlId();
    int left = 0;
    int top = 0;
    if (parent) {
        control->TextColour = parent->TextColour;
        control->Colour = parent->Colour;
        if (parent->FontTool)
            control->FontTool = CopyTool(parent->FontTool, control);
        if (parent->BrushTool)
            control->BrushTool = CopyTool(parent->BrushTool, control);
        control->Margin = parent->Margin;
        control->Ctl3DChildren = parent->Ctl3DChildren;
        left = parent->Margin + parent->ClientLeftOffset;
        top = parent->Margin + parent->ClientTopOffset;
    }
    control->Bounds = RECT{left, top, left + width, top + height};
    control->AttachMessageProc(GenericChildProcedure);
    return control;
}

Control* CreateForm(Control* parent, const std::string& caption)
{
    Control* form = new Control();
    form->Construct(parent);
    form->Kind = ControlKind::Form;
    form->BaseClassName = "Form";
    form->IsForm = true;
    form->ClassStyle = CS_OWNDC | CS_DBLCLKS;
    form->Style = FormStyle;
    form->ExStyle = WS_EX_CONTROLPARENT;
    form->Caption = caption;
    form->AttachMessageProc(FormFocusProcedure);
    AttachBackgroundErase(form);
    return form;
}

Control* CreateLabel(Control* parent, const std::string& caption)
{
    Control* label = NewChild(parent, ControlKind::Label, "STATIC", LabelStyle, &StaticActions(), false, 64, 22, 1, 1);
    label->IsLabel = true;
    label->Caption = caption;
    return label;
}

Control* CreatePanel(Control* parent, PanelEdge edge)
{
    DWORD style = LabelStyle;
    if (edge == PanelRaised)
        style |= WS_DLGFRAME;
    else if (edge == PanelLowered)
        style |= SS_SUNKEN;
    return NewChild(parent, ControlKind::Panel, "STATIC", style, &StaticActions(), false, 100, 100, 1, 1);
}

Control* CreateGradientPanel(Control* parent, ColourValue colour1, ColourValue colour2)
{
    Control* panel =
        NewChild(parent, ControlKind::GradientPanel, "STATIC", LabelStyle, &StaticActions(), false, 40, 40, 1, 1);
    panel->GradientColour1 = colour1;
    panel->GradientColour2 = colour2;
    AttachGradientPainting(panel);
    return panel;
}

Control* CreateGroupBox(Control* parent, const std::string& caption)
{
    Control* group =
        NewChild(parent, ControlKind::GroupBox, "BUTTON", GroupBoxStyle, &ButtonActions(), false, 100, 100, 1, 1);
    group->Caption = caption;
    group->TabStop = false;
    group->ClientTopOffset = 22;
    group->ClientBottomOffset = 2;
    group->ClientLeftOffset = 2;
    group->ClientRightOffset = 2;
    AttachBackgroundErase(group);
    return group;
}

Control* CreateButton(Control* parent, const std::string& caption, unsigned options, int glyphCount,
                      HANDLE image, int glyphLayout)
{
    Control* button =
        NewChild(parent, ControlKind::Button, "BUTTON", ButtonStyle, &ButtonActions(), false, 64, 22, 8, 8);
    button->Caption = caption;
    button->ButtonOptionSet = options;
    button->GlyphCount = glyphCount;
    button->Image = image;
    button->GlyphLayout = glyphLayout;
    button->TextAlign = TextAlignCentre;
    if (parent)
        parent->AttachMessageProc(OwnerDrawReflectProcedure);
    AttachButtonPainting(button);
    return button;
}

Control* CreateRadioButton(Control* parent, const std::string& caption)
{
    Control* radio =
        NewChild(parent, ControlKind::RadioButton, "BUTTON", RadioStyle, &RadioActions(), false, 72, 22, 24, 6);
    radio->Caption = caption;
    radio->ClickAction = CheckRadioAction;
    if (parent) {
        if (parent->FirstRadioId == 0) {
            parent->FirstRadioId = radio->ControlId;
            radio->Checked = true;
        }
        parent->LastRadioId = radio->ControlId;
    }
    return radio;
}

Control* CreateEdit(Control* parent, unsigned options)
{
    static const DWORD optionStyles[12] = {0, 0, ES_LOWERCASE, ES_MULTILINE, ES_NOHIDESEL, ES_OEMCONVERT,
                                           ES_PASSWORD, ES_READONLY, ES_UPPERCASE, ES_WANTRETURN, 0, ES_NUMBER};
    DWORD style = EditStyle;
    if (!(options & EditNoAutoHScroll))
        style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (!(options & EditNoAutoVScroll))
        style |= ES_AUTOVSCROLL | WS_VSCROLL;
    for (unsigned bit = 2; bit < 12; ++bit) {
        if (options & (1u << bit))
            style |= optionStyles[bit];
    }
    const bool multiline = (options & EditMultiline) != 0;
    if (!multiline)
        style &= ~(WS_HSCROLL | WS_VSCROLL);
    return NewChild(parent, ControlKind::Edit, "EDIT", style, &EditActions(), true, multiline ? 200 : 100,
                    multiline ? 200 : 22, 0, 6);
}

Control* CreateComboBox(Control* parent, unsigned options)
{
    static const DWORD optionStyles[11] = {CBS_DROPDOWNLIST, 0, CBS_DISABLENOSCROLL, CBS_LOWERCASE,
                                           CBS_NOINTEGRALHEIGHT, CBS_OEMCONVERT, CBS_SORT, CBS_UPPERCASE,
                                           CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE, CBS_SIMPLE};
    DWORD style = ComboStyle;
    if (!(options & (ComboDropDownList | ComboSimple)))
        style |= CBS_DROPDOWN;
    if (!(options & ComboNoAutoScroll))
        style |= CBS_AUTOHSCROLL;
    for (unsigned bit = 0; bit < 11; ++bit) {
        if (options & (1u << bit))
            style |= optionStyles[bit];
    }
    Control* combo =
        NewChild(parent, ControlKind::ComboBox, "COMBOBOX", style, &ComboBoxActions(), true, 100, 22, 0, 6);
    combo->ClassStyle |= CS_DBLCLKS;
    combo->AttachMessageProc(ComboBoxProcedure);
    return combo;
}

// ---------------------------------------------------------------------------------
// Window creation

bool Control::CreateWindowHandle()
{
    if (WindowGone || IsDestroying)
        return false;
    if (Parent && !Parent->Handle) {
        if (!Parent->WindowHandle())
            return false;
        if (Handle)
            return true;  // created together with the parent's children
    }
    if (Handle) {
        for (size_t i = 0; i < Children.size(); ++i)
            Children[i]->CreateWindowHandle();
        if (PendingShow) {
            PendingShow = false;
            SetVisible(true);
        }
        return true;
    }

    const std::string className = CustomClassName ? BaseClassName : "obj_" + BaseClassName;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    if (BaseClassName != "Form" && !CustomClassName) {
        if (!GetClassInfoA(nullptr, BaseClassName.c_str(), &windowClass))
            return false;
        windowClass.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
        if (!DefaultProc)
            DefaultProc = windowClass.lpfnWndProc;
    } else {
        windowClass.style = ClassStyle;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    HWND parentWindow = Parent ? Parent->Handle : nullptr;
    if ((Style & WS_CHILD) && !parentWindow)
        return false;
    WNDCLASSA registered = {};
    if (!GetClassInfoA(instance, className.c_str(), &registered)) {
        windowClass.lpfnWndProc = CommonWindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = className.c_str();
        windowClass.lpszMenuName = nullptr;
        if (!RegisterClassA(&windowClass))
            return false;
    }

    int x = Bounds.left;
    int y = Bounds.top;
    int width = Width();
    int height = Height();
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;
    if (IsForm && !PositionSet) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    HMENU menuOrId = IsChildWindow ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ControlId)) : nullptr;
    SetBeingCreated(this);
    HWND window = CreateWindowExA(ExStyle, className.c_str(), Caption.c_str(), Style, x, y, width, height,
                                  parentWindow, menuOrId, instance, nullptr);
    SetBeingCreated(nullptr);
    if (!window)
        return false;
    Handle = window;

    SendMessageA(window, WM_UPDATEUISTATE, 0x10002, 0);
    if (GetWindowLongPtrA(window, GWLP_USERDATA) == 0)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (IsForm) {
        Control* application = ApplicationObject();
        if (application == this || !application) {
            if (application == this && !SmallIcon) {
                SmallIcon = LoadIconA(instance, "MAINICON");
                IconShared = true;
            }
        } else if (application->SmallIcon && !SmallIcon) {
            SmallIcon = static_cast<HICON>(CopyImage(application->SmallIcon, IMAGE_ICON, 0, 0, 0));
            IconShared = false;
        }
        if (SmallIcon)
            SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(SmallIcon));
    }
    if (Actions && Actions->AfterCreate)
        Actions->AfterCreate(this);
    if (!Handle)
        return false;
    if (FontTool)
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontTool->FontHandle()), FALSE);
    for (size_t i = 0; i < Children.size(); ++i)
        Children[i]->CreateWindowHandle();
    return Handle != nullptr;
}

HWND Control::WindowHandle()
{
    if (Handle)
        return Handle;
    if (WindowGone || IsDestroying)
        return nullptr;
    if (Visible) {
        Visible = false;
        Style &= ~WS_VISIBLE;
        PendingShow = true;
    }
    CreateWindowHandle();
    return Handle;
}

RECT Control::ClientRect()
{
    RECT rect = {0, 0, 0, 0};
    if (HWND window = WindowHandle())
        GetClientRect(window, &rect);
    rect.top += ClientTopOffset;
    rect.bottom -= ClientBottomOffset;
    rect.left += ClientLeftOffset;
    rect.right -= ClientRightOffset;
    return rect;
}

Control* Control::Invalidate()
{
    if (Handle)
        InvalidateRect(Handle, nullptr, TRUE);
    return this;
}

LRESULT Control::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = WindowHandle();
    if (!window)
        return 0;
    return SendMessageA(window, message, wParam, lParam);
}

Control* Control::AttachMessageProc(MessageProc procedure, void* argument)
{
    if (procedure && !HasMessageProc(procedure))
        MessageProcs.push_back(AttachedProc{procedure, argument});
    return this;
}

Control* Control::DetachMessageProc(MessageProc procedure)
{
    MessageProcs.erase(std::remove_if(MessageProcs.begin(), MessageProcs.end(),
                                      [procedure](const AttachedProc& p) { return p.Procedure == procedure; }),
                       MessageProcs.end());
    return this;
}

bool Control::HasMessageProc(MessageProc procedure) const
{
    return std::any_of(MessageProcs.begin(), MessageProcs.end(),
                       [procedure](const AttachedProc& p) { return p.Procedure == procedure; });
}

// ---------------------------------------------------------------------------------
// Geometry

Control* Control::SetBounds(const RECT& bounds)
{
    Bounds = bounds;
    if (Handle)
        SetWindowPos(Handle, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return this;
}

Control* Control::SetPosition(int left, int top)
{
    const int width = Width();
    const int height = Height();
    Bounds = RECT{left, top, left + width, top + height};
    if (IsForm)
        PositionSet = true;
    if (Handle)
        SetWindowPos(Handle, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return this;
}

Control* Control::Resize(int width, int height)
{
    if (width == 0)
        width = Width();
    if (height == 0)
        height = Height();
    Bounds.right = Bounds.left + width;
    Bounds.bottom = Bounds.top + height;
    if (Handle)
        SetWindowPos(Handle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return this;
}

Control* Control::SetClientSize(int width, int height)
{
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

Control* Control::SetMargin(int margin)
{
    Margin = margin;
    return this;
}

Control* Control::SetClientOffsets(int top, int bottom, int left, int right)
{
    ClientTopOffset = top;
    ClientBottomOffset = bottom;
    ClientLeftOffset = left;
    ClientRightOffset = right;
    return this;
}

// ---------------------------------------------------------------------------------
// Text

Control* Control::SetText(const std::string& text)
{
    Caption = text;
    if (Handle)
        SendMessageA(Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Caption.c_str()));
    if (IsLabel)
        Invalidate();
    if (AfterTextChange)
        AfterTextChange(this);
    return this;
}

std::string Control::GetText()
{
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

Control* Control::SetTextAlign(TextAlignment align)
{
    if (Actions) {
        const DWORD all = Actions->TextAlignLeftStyle | Actions->TextAlignRightStyle | Actions->TextAlignCentreStyle;
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

Control* Control::SetColour(ColourValue colour)
{
    if (Actions && Actions->SetBackgroundMessage)
        Send(Actions->SetBackgroundMessage, 0, static_cast<LPARAM>(ResolveColour(colour)));
    if (colour == Colour)
        return this;
    Colour = colour;
    CachedBrush.Reset();
    if (BrushTool)
        BrushTool->SetColour(colour);
    return Invalidate();
}

GraphicTool* Control::Font()
{
    if (!FontTool) {
        FontTool = new GraphicTool(GraphicToolKind::Font);
        FontTool->Colour = TextColour;
        FontTool->Owner = this;
        FontTool->Changed = OnFontChanged;
    }
    return FontTool;
}

GraphicTool* Control::Brush()
{
    if (!BrushTool) {
        BrushTool = new GraphicTool(GraphicToolKind::Brush);
        BrushTool->Colour = Colour;
        BrushTool->Owner = this;
        BrushTool->Changed = OnBrushChanged;
    }
    return BrushTool;
}

HBRUSH Control::BackgroundBrush()
{
    if (!CachedBrush)
        CachedBrush.Reset(CreateSolidBrush(ResolveColour(Colour)));
    return CachedBrush.Get();
}

Control* Control::SetFontColour(ColourValue colour)
{
    Font()->SetColour(colour);
    return this;
}

Control* Control::SetFontName(const char* name)
{
    Font()->SetFaceName(name);
    return this;
}

Control* Control::SetFontHeight(int height)
{
    Font()->SetHeight(height);
    return this;
}

Control* Control::SetFontStyle(unsigned styles)
{
    Font()->SetStyle(styles);
    return this;
}

// ---------------------------------------------------------------------------------
// State

Control* Control::SetEnabled(bool enabled)
{
    if (enabled == Enabled)
        return this;
    Enabled = enabled;
    if (enabled)
        Style &= ~WS_DISABLED;
    else
        Style |= WS_DISABLED;
    if (Handle)
        EnableWindow(Handle, enabled ? TRUE : FALSE);
    return Invalidate();
}

Control* Control::SetVisible(bool visible)
{
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
        Realign(this);
    return this;
}

Control* Control::SetTabStop(bool tabStop)
{
    TabStop = tabStop;
    if (tabStop)
        Style |= WS_TABSTOP;
    else
        Style &= ~WS_TABSTOP;
    if (Handle) {
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle, GWL_STYLE));
        SetWindowLongPtrA(Handle, GWL_STYLE,
                          static_cast<LONG_PTR>(tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP)));
    }
    if (!tabStop) {
        Control* form = Parent ? Parent->ParentForm() : nullptr;
        if (form && form->FocusedChild == this)
            form->FocusedChild = nullptr;
    }
    return this;
}

Control* Control::SetChecked(bool checked)
{
    if (Kind == ControlKind::RadioButton) {
        if (checked) {
            RunClickPath(this);
        } else {
            Checked = false;
            if (Handle)
                SendMessageA(Handle, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        return this;
    }
    Checked = checked;
    if (Handle && Kind != ControlKind::Button)
        SendMessageA(Handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return Invalidate();
}

bool Control::IsChecked()
{
    if (Kind == ControlKind::Button)
        return Checked;
    if (Handle)
        return SendMessageA(Handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return Checked;
}

Control* Control::SetCtl3D(bool on)
{
    Ctl3D = on;
    ApplyBorder(this);
    return this;
}

Control* Control::SetBorder(bool on)
{
    HasBorder = on;
    ApplyBorder(this);
    return this;
}

Control* Control::SetTransparent(bool on)
{
    Transparent = on;
    if (on && Parent) {
        Parent->SetDoubleBuffered(true);
        ApplyDoubleBuffering(Parent);
    }
    return Invalidate();
}

Control* Control::SetDoubleBuffered(bool on)
{
    if (on == DoubleBuffered)
        return this;
    DoubleBuffered = on;
    ApplyDoubleBuffering(this);
    return this;
}

Control* Control::SetFlat(bool on)
{
    Flat = on;
    if (on)
        AttachMouseTracking(this);
    return Invalidate();
}

Control* Control::SetPressShift(int x, int y)
{
    PressShiftX = x;
    PressShiftY = y;
    return this;
}

// ---------------------------------------------------------------------------------
// Items

Control* Control::Clear()
{
    if (Actions && Actions->Clear)
        Actions->Clear(this);
    return this;
}

int Control::ItemCount()
{
    if (!Actions || !Actions->ItemCountMessage)
        return 0;
    return static_cast<int>(Send(Actions->ItemCountMessage));
}

Control* Control::SetItemText(int index, const std::string& text)
{
    if (!Actions || !Actions->DeleteItemMessage || !Actions->InsertItemMessage || index < 0 || !WindowHandle())
        return this;
    const int selection = CurrentIndex();
    const int count = ItemCount();
    const bool replacing = index < count;
    LRESULT data = 0;
    if (replacing) {
        if (Actions->GetItemDataMessage)
            data = Send(Actions->GetItemDataMessage, static_cast<WPARAM>(index));
        Send(Actions->DeleteItemMessage, static_cast<WPARAM>(index));
    }
    const LRESULT position = Send(Actions->InsertItemMessage, replacing ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text.c_str()));
    if (replacing && position >= 0 && Actions->SetItemDataMessage)
        Send(Actions->SetItemDataMessage, static_cast<WPARAM>(position), data);
    if (Actions->SetCurrentIndexMessage)
        Send(Actions->SetCurrentIndexMessage, static_cast<WPARAM>(selection));
    return this;
}

std::string Control::ItemText(int index)
{
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
        const LRESULT copied = Send(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&line[0]));
        line.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(copied, length))));
        return line;
    }
    const LRESULT length = Actions->ItemTextLengthMessage ? Send(Actions->ItemTextLengthMessage, static_cast<WPARAM>(index)) : -1;
    if (length < 0)
        return std::string();
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = Send(Actions->GetItemTextMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item[0]));
    item.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(copied, length))));
    return item;
}

int Control::AddItem(const std::string& text)
{
    if (!Actions || !Actions->AddItemMessage)
        return -1;
    if (!WindowHandle())
        return -1;
    return static_cast<int>(Send(Actions->AddItemMessage, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

Control* Control::SetCurrentIndex(int index)
{
    if (Actions && Actions->SetCurrentIndexMessage)
        Send(Actions->SetCurrentIndexMessage, static_cast<WPARAM>(index));
    return this;
}

int Control::CurrentIndex()
{
    if (!Actions || !Actions->CurrentIndexMessage)
        return -1;
    return static_cast<int>(Send(Actions->CurrentIndexMessage, Actions->CurrentIndexWParam, Actions->CurrentIndexLParam));
}
