#include "control/ControlKinds.h"

#include "control/ComboBox.h"
#include "control/Control.h"
#include "control/GradientPanel.h"
#include "control/MessageProcedures.h"
#include "control/OwnerDrawButton.h"
#include "control/Painting.h"

namespace {

const DWORD LabelStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
const DWORD GroupBoxStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX;
const DWORD ButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_OWNERDRAW;
const DWORD RadioStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_NOTIFY | BS_RADIOBUTTON;
const DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
const DWORD ComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;

void ClearComboItems(Control* control) {
    control->Send(CB_RESETCONTENT);
}

// The radio button's click action: it becomes the checked one of its group.
void CheckRadioAction(Control* radio) {
    Control* parent = radio->Parent;
    if (!parent)
        return;
    for (Control* sibling : parent->Children) {
        if (sibling->Kind == ControlKind::RadioButton &&
            sibling->ControlId >= parent->FirstRadioId && sibling->ControlId <= parent->LastRadioId)
            sibling->Checked = (sibling == radio);
    }
    if (parent->Handle)
        CheckRadioButton(parent->Handle, parent->FirstRadioId, parent->LastRadioId,
                         radio->ControlId);
}

void ApplyRadioCheck(Control* radio) {
    SendMessageA(radio->Handle, BM_SETCHECK, radio->Checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

ControlActions MakeButtonActions() {
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

ControlActions MakeRadioActions() {
    ControlActions actions = MakeButtonActions();
    actions.AfterCreate = ApplyRadioCheck;
    return actions;
}

const ControlActions& RadioActions() {
    static const ControlActions actions = MakeRadioActions();
    return actions;
}

// A child's copy of its parent's font or brush, owned by the child.
GraphicTool* CopyTool(const GraphicTool* source, Control* owner) {
    GraphicTool* tool = new GraphicTool(source->Kind);
    tool->Assign(*source);
    tool->Owner = owner;
    tool->Changed = source->Kind == GraphicToolKind::Font ? OnFontChanged : OnBrushChanged;
    return tool;
}

// A child control that auto-size fits to its text with the given padding.
Control* NewChild(Control* parent, ControlKind kind, const char* baseClassName, DWORD style,
                  const ControlActions* actions, bool uses3D, int width, int height, int paddingX,
                  int paddingY) {
    Control* control =
        CreateChildControl(parent, kind, baseClassName, style, actions, uses3D, width, height);
    control->AutoSizePaddingX = paddingX;
    control->AutoSizePaddingY = paddingY;
    return control;
}

}  // namespace

// ---------------------------------------------------------------------------------
// Action records

void ClearTextOf(Control* control) {
    control->SetText(std::string());
}

const ControlActions& ButtonActions() {
    static const ControlActions actions = MakeButtonActions();
    return actions;
}

const ControlActions& StaticActions() {
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

const ControlActions& EditActions() {
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

const ControlActions& ComboBoxActions() {
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

const ControlActions& FormActions() {
    static const ControlActions actions;
    return actions;
}

WORD NextControlId() {
    static WORD next = FirstControlId;
    return next++;
}

// ---------------------------------------------------------------------------------
// Constructors

Control* CreateChildControl(Control* parent, ControlKind kind, const char* baseClassName,
                            DWORD style, const ControlActions* actions, bool uses3D, int width,
                            int height) {
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

Control* CreateForm(Control* parent, const std::string& caption) {
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

Control* CreateLabel(Control* parent, const std::string& caption) {
    Control* label = NewChild(parent, ControlKind::Label, "STATIC", LabelStyle, &StaticActions(),
                              false, 64, 22, 1, 1);
    label->IsLabel = true;
    label->Caption = caption;
    return label;
}

Control* CreatePanel(Control* parent, PanelEdge edge) {
    DWORD style = LabelStyle;
    if (edge == PanelRaised)
        style |= WS_DLGFRAME;
    else if (edge == PanelLowered)
        style |= SS_SUNKEN;
    return NewChild(parent, ControlKind::Panel, "STATIC", style, &StaticActions(), false, 100, 100,
                    1, 1);
}

Control* CreateGradientPanel(Control* parent, ColourValue colour1, ColourValue colour2) {
    Control* panel = NewChild(parent, ControlKind::GradientPanel, "STATIC", LabelStyle,
                              &StaticActions(), false, 40, 40, 1, 1);
    panel->GradientColour1 = colour1;
    panel->GradientColour2 = colour2;
    AttachGradientPainting(panel);
    return panel;
}

Control* CreateGroupBox(Control* parent, const std::string& caption) {
    Control* group = NewChild(parent, ControlKind::GroupBox, "BUTTON", GroupBoxStyle,
                              &ButtonActions(), false, 100, 100, 1, 1);
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
                      HANDLE image, int glyphLayout) {
    Control* button = NewChild(parent, ControlKind::Button, "BUTTON", ButtonStyle, &ButtonActions(),
                               false, 64, 22, 8, 8);
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

Control* CreateRadioButton(Control* parent, const std::string& caption) {
    Control* radio = NewChild(parent, ControlKind::RadioButton, "BUTTON", RadioStyle,
                              &RadioActions(), false, 72, 22, 24, 6);
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

Control* CreateEdit(Control* parent, unsigned options) {
    static const DWORD optionStyles[12] = {0,
                                           0,
                                           ES_LOWERCASE,
                                           ES_MULTILINE,
                                           ES_NOHIDESEL,
                                           ES_OEMCONVERT,
                                           ES_PASSWORD,
                                           ES_READONLY,
                                           ES_UPPERCASE,
                                           ES_WANTRETURN,
                                           0,
                                           ES_NUMBER};
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
    return NewChild(parent, ControlKind::Edit, "EDIT", style, &EditActions(), true,
                    multiline ? 200 : 100, multiline ? 200 : 22, 0, 6);
}

Control* CreateComboBox(Control* parent, unsigned options) {
    static const DWORD optionStyles[11] = {
        CBS_DROPDOWNLIST, 0,        CBS_DISABLENOSCROLL, CBS_LOWERCASE,      CBS_NOINTEGRALHEIGHT,
        CBS_OEMCONVERT,   CBS_SORT, CBS_UPPERCASE,       CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE,
        CBS_SIMPLE};
    DWORD style = ComboStyle;
    if (!(options & (ComboDropDownList | ComboSimple)))
        style |= CBS_DROPDOWN;
    if (!(options & ComboNoAutoScroll))
        style |= CBS_AUTOHSCROLL;
    for (unsigned bit = 0; bit < 11; ++bit) {
        if (options & (1u << bit))
            style |= optionStyles[bit];
    }
    Control* combo = NewChild(parent, ControlKind::ComboBox, "COMBOBOX", style, &ComboBoxActions(),
                              true, 100, 22, 0, 6);
    combo->ClassStyle |= CS_DBLCLKS;
    combo->AttachMessageProc(ComboBoxProcedure);
    return combo;
}
