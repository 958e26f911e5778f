#pragma once
// The kinds of control: the per-kind action record through which generic operations
// talk to each kind's window, the constructors with their options, and the common part
// of every child constructor. Each constructor returns the new control; the parent
// becomes its owner; no window is created yet.
#include <windows.h>

#include <cstdint>
#include <string>

#include "control/ControlData.h"

// Window style of a form (and the default of every control until its constructor sets
// its own).
const DWORD FormStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

// Edge of CreatePanel.
enum PanelEdge { PanelRaised = 0, PanelLowered = 1, PanelNone = 2 };

// Edit options (a set; bit i of the value).
enum EditOptions : unsigned {
    EditNoAutoHScroll = 1u << 0,
    EditNoAutoVScroll = 1u << 1,
    EditLowerCase = 1u << 2,
    EditMultiline = 1u << 3,
    EditNoHideSelection = 1u << 4,
    EditOemConvert = 1u << 5,
    EditPassword = 1u << 6,
    EditReadOnly = 1u << 7,
    EditUpperCase = 1u << 8,
    EditWantReturn = 1u << 9,
    EditNumber = 1u << 11,
};

// Combo box options (a set; bit i of the value).
enum ComboOptions : unsigned {
    ComboDropDownList = 1u << 0,
    ComboNoAutoScroll = 1u << 1,
    ComboDisableNoScroll = 1u << 2,
    ComboLowerCase = 1u << 3,
    ComboNoIntegralHeight = 1u << 4,
    ComboOemConvert = 1u << 5,
    ComboSort = 1u << 6,
    ComboUpperCase = 1u << 7,
    ComboOwnerDrawFixed = 1u << 8,
    ComboOwnerDrawVariable = 1u << 9,
    ComboSimple = 1u << 10,
};

// Owner-drawn button options.
enum ButtonOptions : unsigned {
    ButtonImageIsImageList = 1,
    ButtonNoBorder = 2,
    ButtonKeepsChecked = 8,
    ButtonDottedFocus = 0x10,
};

// Glyph layout of CreateButton in which the image lies over the caption (0 to 3 put it
// beside, above or below).
const int GlyphOverCaption = 4;

// A notification code that never matches (HIWORD of WM_COMMAND is 16 bits).
const std::uint32_t NoNotification = 0x10000;

// How generic operations talk to the window of one control kind. A message number of 0
// means the operation does nothing (or returns 0) for that kind.
struct ControlActions {
    void (*Clear)(Control* control) = nullptr;
    std::uint32_t ClickCode = NoNotification;
    std::uint32_t EnterCode = NoNotification;
    std::uint32_t LeaveCode = NoNotification;
    std::uint32_t ChangeCode = NoNotification;
    std::uint32_t SelectionChangeCode = NoNotification;
    UINT ItemCountMessage = 0;
    UINT SelectedCountMessage = 0;
    UINT ItemTextLengthMessage = 0;
    UINT GetItemTextMessage = 0;
    UINT GetItemDataMessage = 0;
    UINT SetItemDataMessage = 0;
    UINT AddItemMessage = 0;
    UINT DeleteItemMessage = 0;
    UINT InsertItemMessage = 0;
    UINT FindExactMessage = 0;
    UINT FindMessage = 0;
    UINT CurrentIndexMessage = 0;
    WPARAM CurrentIndexWParam = 0;  // LVM_GETNEXTITEM: (WPARAM)-1
    LPARAM CurrentIndexLParam = 0;  // LVM_GETNEXTITEM: LVNI_SELECTED
    UINT SetCurrentIndexMessage = 0;
    UINT TextLimitMessage = 0;
    UINT SetBackgroundMessage = 0;
    UINT SetImageListMessage = 0;
    UINT ItemRectMessage = 0;
    DWORD TextAlignLeftStyle = 0;
    DWORD TextAlignRightStyle = 0;
    DWORD TextAlignCentreStyle = 0;
    // Runs right after CreateWindowExA (the list view applies its styles, the combo box
    // subclasses its inner windows).
    void (*AfterCreate)(Control* control) = nullptr;
};

// Action records of the kinds built here (the list view's is in control/ListView.h). A
// form's record is empty.
const ControlActions& FormActions();
const ControlActions& ButtonActions();
const ControlActions& StaticActions();
const ControlActions& EditActions();
const ControlActions& ComboBoxActions();

// Clear procedure that sets the text to the empty string.
void ClearTextOf(Control* control);

Control* CreateForm(Control* parent, const std::string& caption);
Control* CreateLabel(Control* parent, const std::string& caption);
Control* CreatePanel(Control* parent, PanelEdge edge);
Control* CreateGradientPanel(Control* parent, ColourValue colour1, ColourValue colour2);
Control* CreateGroupBox(Control* parent, const std::string& caption);
// options: set of ButtonOptions.
Control* CreateButton(Control* parent, const std::string& caption, unsigned options, int glyphCount,
                      HANDLE image, int glyphLayout);
Control* CreateRadioButton(Control* parent, const std::string& caption);
// options: set of EditOptions.
Control* CreateEdit(Control* parent, unsigned options);
// options: set of ComboOptions.
Control* CreateComboBox(Control* parent, unsigned options);

// The common part of every child constructor: WS_CLIPSIBLINGS and WS_CLIPCHILDREN, the
// 3-D look when uses3D and the parent allows it, visible and tab stop from the style,
// tab order, focused child, control identifier, the parent's colours, font, brush and
// margin, ownership by the parent, the generic child procedure, default bounds with
// the given size.
Control* CreateChildControl(Control* parent, ControlKind kind, const char* baseClassName,
                            DWORD style, const ControlActions* actions, bool uses3D, int width,
                            int height);

// The next control identifier (from FirstControlId, one per child control).
const WORD FirstControlId = 0x8000;
WORD NextControlId();
