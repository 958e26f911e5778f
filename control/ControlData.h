#pragma once
// What a control keeps: every field of a Control, the settings it holds before its window
// exists and the state of its window, its children and its events. The control's
// operations are layered on top of it, one concern per header:
//     ControlWindow     the window: creation, destruction, message handling
//     ControlLayout     docking, anchors and auto-size (control/Layout.h)
//     ControlProperties geometry, text, colours and font, state, items
//     ControlEvents     the event setters
//     Control           the object model: defaults, parent, focus, attached procedures
// Each layer's operations are defined in the .cpp of its header.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "control/Event.h"
#include "control/GdiHandles.h"
#include "control/GraphicTool.h"
#include "control/ManagedObject.h"
#include "control/MessageRecord.h"

struct Control;
struct ControlActions;

enum class ControlKind {
    Form,
    Label,
    Panel,
    GradientPanel,
    GroupBox,
    Button,
    RadioButton,
    Edit,
    ComboBox,
    ListView,
};

// Alignment of SetAlign.
enum ControlAlign : std::uint8_t {
    AlignNone = 0,
    AlignLeft = 1,
    AlignTop = 2,
    AlignRight = 3,
    AlignBottom = 4,
    AlignClient = 5,
};

// Text alignment (labels, buttons, auto-size with word wrap).
enum TextAlignment { TextAlignLeft = 0, TextAlignRight = 1, TextAlignCentre = 2 };

struct ControlData : public ManagedObject {
    // This object as the control it is: every ControlData is the base of a Control.
    Control* Self();
    const Control* Self() const;

    int Left() const { return Bounds.left; }
    int Top() const { return Bounds.top; }
    int Width() const { return Bounds.right - Bounds.left; }
    int Height() const { return Bounds.bottom - Bounds.top; }

    // Window.
    HWND Handle = nullptr;
    HWND InnerHandle = nullptr;  // takes the focus when it differs from Handle
    DWORD ClassStyle = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    WNDPROC DefaultProc = nullptr;  // the standard class's procedure, or none
    bool WindowNotOwned = false;    // the window is not destroyed with the object
    bool WindowGone = false;        // the window existed and was destroyed
    bool PendingShow = false;       // shown by the next CreateWindowHandle
    bool PositionSet = false;       // a form's position was set (else CW_USEDEFAULT)
    Control* Parent = nullptr;

    // Kind.
    ControlKind Kind = ControlKind::Form;
    std::string BaseClassName =
        "Form";  // "Form", "BUTTON", "STATIC", "EDIT", "COMBOBOX", "SysListView32"
    bool CustomClassName = false;  // BaseClassName is the class name itself (no "obj_")
    const ControlActions* Actions = nullptr;

    bool Enabled = true;
    bool Visible = true;
    bool TabStop = false;
    int TabOrder = 0;
    int TabOrderCounter = 0;  // a form's running counter
    HICON SmallIcon = nullptr;
    bool IconShared = false;
    WORD ControlId = 0;

    int NestingDepth = 0;           // message handling depth of this control
    bool DestroyRequested = false;  // WM_DESTROY seen
    bool IsChildWindow = false;
    bool IsForm = false;
    bool IsLabel = false;
    bool IsCommonControl = false;
    bool IsDestroying = false;

    // Procedure slots.
    bool (*KeyboardHandler)(Control* control, MessageRecord& message, LRESULT& result) = nullptr;
    void (*ClickAction)(Control* control) = nullptr;
    void (*AfterTextChange)(Control* control) = nullptr;
    int FocusChangeDepth = 0;  // raised while default WM_SETFOCUS processing runs

    // Look.
    bool Ctl3D = false;
    bool Ctl3DChildren = true;  // children may use the 3-D look
    bool HasBorder = true;
    ColourValue TextColour = ColourWindowText;  // the system's window-text colour
    ColourValue Colour = ColourBtnFace;
    GraphicTool* FontTool = nullptr;
    GraphicTool* BrushTool = nullptr;
    GdiObject<HBRUSH> CachedBrush;
    TextAlignment TextAlign = TextAlignLeft;

    // Geometry and layout.
    int Margin = 2;
    int ClientTopOffset = 0;
    int ClientBottomOffset = 0;
    int ClientLeftOffset = 0;
    int ClientRightOffset = 0;
    RECT Bounds = {0, 0, 0, 0};
    ControlAlign Align = AlignNone;
    bool AlignLocked = false;
    bool Realigning = false;  // a realign of this parent is running
    bool AnchorLeft = false;
    bool AnchorTop = false;
    bool AnchorRight = false;
    bool AnchorBottom = false;
    int AnchorParentWidth = 0;  // the parent's client size recorded for anchors
    int AnchorParentHeight = 0;
    WPARAM SizeType = 0;  // wParam of the last WM_SIZE
    bool AutoSize = false;
    bool WordWrap = false;
    int AutoSizePaddingX = 0;
    int AutoSizePaddingY = 0;
    int MinWidth = 0;
    int MinHeight = 0;

    // Children and attached procedures.
    std::vector<Control*> Children;  // creation order
    std::vector<AttachedProc> MessageProcs;
    Control* FocusedChild = nullptr;  // a form's child that last had the focus

    // Painting (control/Painting.h, control/OwnerDrawButton.h, control/MouseTracking.h).
    bool Transparent = false;
    bool DoubleBuffered = false;
    bool Flat = false;
    bool MouseInside = false;

    std::string Caption;

    // Owner-drawn button.
    unsigned ButtonOptionSet = 0;
    int GlyphCount = 0;
    HANDLE Image = nullptr;
    int GlyphLayout = 0;
    int PressShiftX = 0;
    int PressShiftY = 0;
    bool Checked = false;  // radio buttons and buttons keeping their state
    bool Pressed = false;

    // Gradient panel.
    ColourValue GradientColour1 = 0;
    ColourValue GradientColour2 = 0;
    bool GradientHorizontal = false;

    // Radio group (kept by the parent): identifiers of the first and last radio button.
    WORD FirstRadioId = 0;
    WORD LastRadioId = 0;

    // Combo box.
    bool DroppedDown = false;
    int SavedSelection = -1;

    // List view.
    int ListViewStyleIndex = 0;
    DWORD ListViewOptions = 0;
    int ColumnCount = 0;
    int SortColumn = 0;
    HIMAGELIST ImageLists[3] = {nullptr, nullptr, nullptr};
    bool RightClick = false;  // the last click event came from the right button

    // Events, in the order the control stores them.
    Event<NotifyProc> LeaveEvent;
    Event<MessageHookProc> MessageHook;
    Event<NotifyProc> ClickEvent;
    Event<MouseProc> MouseDownEvent;
    Event<MouseProc> MouseUpEvent;
    Event<MouseProc> MouseMoveEvent;
    Event<MouseProc> MouseDoubleClickEvent;
    Event<MouseProc> MouseWheelEvent;
    Event<NotifyProc> ChangeEvent;
    Event<NotifyProc> EnterEvent;
    Event<KeyProc> CharEvent;
    Event<KeyProc> KeyUpEvent;
    Event<KeyProc> KeyDownEvent;
    Event<PaintProc> PaintEvent;
    Event<NotifyProc> DropDownEvent;
    Event<NotifyProc> CloseUpEvent;
    Event<NotifyProc> SelectionChangeEvent;
    Event<NotifyProc> ResizeEvent;
    Event<CustomDrawProc> CustomDrawEvent;
    Event<NotifyProc> MouseLeaveEvent;
    Event<NotifyProc> MouseEnterEvent;
    Event<HitTestProc> HitTestEvent;
    Event<ColumnClickProc> ColumnClickEvent;
    Event<CloseQueryProc> CloseQueryEvent;
};
