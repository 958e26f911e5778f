#pragma once
// The control object: one per window of the program (form, label, panel, gradient
// panel, group box, owner-drawn button, radio button, edit, combo box, list view).
// A control keeps its settings before its window exists, creates the window on demand
// (CreateWindowHandle), keeps its children, receives every message of its window
// (WindowProc, see control/MessageLoop.h) and carries the program's event slots.
// Setters return the control so that calls chain:
//     CreateButton(bar, "Find", ButtonNoBorder, 0, nullptr, 0)->SetPosition(222, 35)->Resize(64, 22);
//
// Lifetime: a parent owns its children (RegisterOwned); releasing the main form
// releases the whole tree, children first. A control whose window has been destroyed
// stays a valid object until its owner releases it; its window is never created again
// and operations that need the window do nothing (handle 0).
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "control/GdiHandles.h"
#include "control/GraphicTool.h"
#include "control/ManagedObject.h"
#include "control/PointerList.h"
#include "control/StringList.h"

struct Control;

// ---------------------------------------------------------------------------------
// Message record and message procedures

// One window message as handed to WindowProc and to attached procedures.
struct MessageRecord {
    HWND Window = nullptr;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

// An attached message procedure: returns true when it handled the message (result then
// becomes the window procedure's result). argument is the value given to
// AttachMessageProc; while the program terminates only procedures attached with a
// non-null argument are called.
using MessageProc = bool (*)(Control* control, MessageRecord& message, LRESULT& result, void* argument);

struct AttachedProc {
    MessageProc Procedure;
    void* Argument;
};

// Private messages of the layer.
const UINT ReflectedCommand = 0xB005;                       // WM_COMMAND handed to the child
const UINT ReflectedColourBase = 0xBC00;                    // WM_CTLCOLOR* + 0xBC00 (0xBD32..0xBD38)
const UINT ReflectedDrawItem = WM_DRAWITEM + 0xBC00;        // 0xBC2B
const WORD ComboSelectionChangeCode = 0x0F;                 // posted after CBN_SELCHANGE

// ---------------------------------------------------------------------------------
// Events: a procedure bound with a context pointer (the program passes MainWindow).

using NotifyProc = void (*)(void* context, Control* sender);

// Mouse record of the mouse events. Button: 0 none, 1 left, 2 right, 3 middle.
// Shift: the MK_ bits of wParam, plus 0x20 while Alt is down. A handler sets Stop to
// mark the message handled.
struct MouseEventRecord {
    int Button = 0;
    bool Stop = false;
    unsigned Shift = 0;
    int X = 0;
    int Y = 0;
    int WheelDelta = 0;
};
using MouseProc = void (*)(void* context, Control* sender, MouseEventRecord& mouse);
// key by reference: setting it to 0 marks the message handled. shift as MouseEventRecord.
using KeyProc = void (*)(void* context, Control* sender, int& key, unsigned shift);
using PaintProc = void (*)(void* context, Control* sender, HDC dc);
// Draw state 0 normal, 1 disabled, 2 pressed, 3 focused, 4 hot; returns done.
using CustomDrawProc = bool (*)(void* context, Control* sender, int drawState);
// Returns whether the cursor counts as inside the control.
using HitTestProc = bool (*)(void* context, Control* sender);
using ColumnClickProc = void (*)(void* context, Control* sender, int column);
// accept starts true; setting it to false refuses the close.
using CloseQueryProc = void (*)(void* context, Control* sender, bool& accept);
// Offered every message of the control first; returns handled.
using MessageHookProc = bool (*)(void* context, Control* sender, MessageRecord& message, LRESULT& result);

template <class Proc>
struct Event {
    Proc Procedure = nullptr;
    void* Context = nullptr;
    bool IsSet() const { return Procedure != nullptr; }
    void Clear()
    {
        Procedure = nullptr;
        Context = nullptr;
    }
};

// Raises a notify event when it is set.
inline void RaiseEvent(const Event<NotifyProc>& event, Control* sender)
{
    if (event.Procedure)
        event.Procedure(event.Context, sender);
}

// ---------------------------------------------------------------------------------
// Kinds, options and the per-kind action record

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

// Text alignment (labels, buttons, auto-size with word wrap).
enum TextAlignment { TextAlignLeft = 0, TextAlignRight = 1, TextAlignCentre = 2 };

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
    WPARAM CurrentIndexWParam = 0;      // LVM_GETNEXTITEM: (WPARAM)-1
    LPARAM CurrentIndexLParam = 0;      // LVM_GETNEXTITEM: LVNI_SELECTED
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

// Action records of the kinds built in Control.cpp.
const ControlActions& ButtonActions();
const ControlActions& StaticActions();
const ControlActions& EditActions();
const ControlActions& ComboBoxActions();

// Clear procedure that sets the text to the empty string.
void ClearTextOf(Control* control);

// ---------------------------------------------------------------------------------
// The control

struct Control : public ManagedObject {
    Control();
    ~Control() override;

    // Sets the defaults: class style CS_OWNDC, the form's window style 0x16CF0000,
    // extended style WS_EX_CONTROLPARENT, visible, enabled, margin 2, colours.
    void Init() override;
    // Init, the parent's background colour, then SetParentControl.
    void Construct(Control* parent);
    // Leaves the old parent's children and owned lists and joins the new parent's; an
    // existing window is re-parented.
    void SetParentControl(Control* parent);

    // Creates the window (and the parent's first, and then every child's, in creation
    // order) if it does not exist yet; carries out a pending show. False when the
    // window cannot be created, or when it was destroyed before.
    virtual bool CreateWindowHandle();
    // Handles one message (control/MessageLoop.cpp).
    virtual LRESULT WindowProc(MessageRecord& message);
    // CallWindowProcA with the default procedure, else DefWindowProcA.
    LRESULT DefaultProcessing(MessageRecord& message);

    // --- geometry --------------------------------------------------------------
    Control* SetPosition(int left, int top);
    // A 0 argument keeps that dimension.
    Control* Resize(int width, int height);
    // Makes the client area width x height; 0 or less keeps that dimension.
    Control* SetClientSize(int width, int height);
    // New bounds relative to the parent's client area (SetWindowPos when the window exists).
    Control* SetBounds(const RECT& bounds);
    int Left() const { return Bounds.left; }
    int Top() const { return Bounds.top; }
    int Width() const { return Bounds.right - Bounds.left; }
    int Height() const { return Bounds.bottom - Bounds.top; }
    Control* SetMargin(int margin);
    Control* SetClientOffsets(int top, int bottom, int left, int right);

    // --- layout (control/Layout.cpp) -----------------------------------------------
    // Stores the alignment; when it changed and the control is not locked, realigns the parent.
    Control* SetAlign(ControlAlign align);
    // Records the parent's client size and attaches the anchor procedure to the parent.
    Control* SetAnchors(bool left, bool top, bool right, bool bottom);
    // On: fits the control to its caption now and after every text change.
    Control* SetAutoSize(bool on);
    Control* SetWordWrap(bool on);
    Control* SetMinSize(int width, int height);

    // --- text ----------------------------------------------------------------------
    // Stores the caption (WM_SETTEXT when the window exists); a label repaints; then
    // the after-text-change slot runs.
    Control* SetText(const std::string& text);
    // The window's current text, or the stored caption while there is no window.
    std::string GetText();
    Control* SetTextAlign(TextAlignment align);

    // --- colours and font --------------------------------------------------------
    Control* SetColour(ColourValue colour);
    // The control's font, created on first use with the control's text colour.
    GraphicTool* Font();
    // The control's background brush tool, created on first use.
    GraphicTool* Brush();
    // The control's solid background brush, created on first use and kept until the
    // colour changes.
    HBRUSH BackgroundBrush();
    Control* SetFontColour(ColourValue colour);
    Control* SetFontName(const char* name);
    Control* SetFontHeight(int height);
    // Set of FontStyleFlags.
    Control* SetFontStyle(unsigned styles);

    // --- state ---------------------------------------------------------------------
    Control* SetEnabled(bool enabled);
    Control* SetVisible(bool visible);
    Control* SetTabStop(bool tabStop);
    // Radio button: becomes the checked one of its group and runs its click path.
    // Owner-drawn button keeping its checked state: stores the state and repaints.
    Control* SetChecked(bool checked = true);
    bool IsChecked();
    Control* SetCtl3D(bool on);
    Control* SetBorder(bool on);
    Control* SetTransparent(bool on);
    Control* SetDoubleBuffered(bool on);
    Control* SetFlat(bool on);
    Control* SetPressShift(int x, int y);

    // --- items ---------------------------------------------------------------------
    Control* Clear();
    int ItemCount();
    // Combo box: replaces (or appends at an empty position) the item at index, keeping
    // the selection and the item's data.
    Control* SetItemText(int index, const std::string& text);
    // The item's text; empty when there is none.
    std::string ItemText(int index);
    // Combo box: appends an item; returns its index, -1 on failure.
    int AddItem(const std::string& text);
    Control* SetCurrentIndex(int index);
    int CurrentIndex();

    // --- messages ------------------------------------------------------------------
    // Adds a message procedure unless the same procedure is already attached.
    Control* AttachMessageProc(MessageProc procedure, void* argument = nullptr);
    Control* DetachMessageProc(MessageProc procedure);
    bool HasMessageProc(MessageProc procedure) const;
    // The window handle; a control without a window is made invisible, its window is
    // created and a pending show is noted. 0 when the window cannot exist.
    HWND WindowHandle();
    // GetClientRect shrunk by the client offsets (the window is created first).
    RECT ClientRect();
    Control* Invalidate();
    // Creates the window if necessary, then SendMessageA; 0 without a window.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The nearest form among this control and its parents (nullptr if none).
    Control* ParentForm();
    // Makes child the form's focused child (leave handling of the previous one).
    void SetFocusedChild(Control* child);

    // --- events (setting one attaches the procedure that raises it) ------------------
    Control* SetClickEvent(NotifyProc procedure, void* context);
    Control* SetMouseDownEvent(MouseProc procedure, void* context);
    Control* SetMouseUpEvent(MouseProc procedure, void* context);
    Control* SetMouseMoveEvent(MouseProc procedure, void* context);
    Control* SetMouseDoubleClickEvent(MouseProc procedure, void* context);
    Control* SetMouseWheelEvent(MouseProc procedure, void* context);
    Control* SetChangeEvent(NotifyProc procedure, void* context);
    Control* SetEnterEvent(NotifyProc procedure, void* context);
    Control* SetLeaveEvent(NotifyProc procedure, void* context);
    Control* SetCharEvent(KeyProc procedure, void* context);
    Control* SetKeyUpEvent(KeyProc procedure, void* context);
    Control* SetKeyDownEvent(KeyProc procedure, void* context);
    Control* SetPaintEvent(PaintProc procedure, void* context);
    Control* SetDropDownEvent(NotifyProc procedure, void* context);
    Control* SetCloseUpEvent(NotifyProc procedure, void* context);
    Control* SetSelectionChangeEvent(NotifyProc procedure, void* context);
    Control* SetResizeEvent(NotifyProc procedure, void* context);
    Control* SetCustomDrawEvent(CustomDrawProc procedure, void* context);
    Control* SetMouseLeaveEvent(NotifyProc procedure, void* context);
    Control* SetMouseEnterEvent(NotifyProc procedure, void* context);
    Control* SetHitTestEvent(HitTestProc procedure, void* context);
    Control* SetCloseQueryEvent(CloseQueryProc procedure, void* context);
    Control* SetMessageHook(MessageHookProc procedure, void* context);

    // ===== fields ======================================================================

    // Window.
    HWND Handle = nullptr;
    HWND InnerHandle = nullptr;          // takes the focus when it differs from Handle
    DWORD ClassStyle = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    WNDPROC DefaultProc = nullptr;       // the standard class's procedure, or none
    bool WindowNotOwned = false;         // the window is not destroyed with the object
    bool WindowGone = false;             // the window existed and was destroyed
    bool PendingShow = false;            // shown by the next CreateWindowHandle
    bool PositionSet = false;            // a form's position was set (else CW_USEDEFAULT)
    Control* Parent = nullptr;

    // Kind.
    ControlKind Kind = ControlKind::Form;
    std::string BaseClassName = "Form";  // "Form", "BUTTON", "STATIC", "EDIT", "COMBOBOX", "SysListView32"
    bool CustomClassName = false;        // BaseClassName is the class name itself (no "obj_")
    const ControlActions* Actions = nullptr;

    bool Enabled = true;
    bool Visible = true;
    bool TabStop = false;
    int TabOrder = 0;
    int TabOrderCounter = 0;             // a form's running counter
    HICON SmallIcon = nullptr;
    bool IconShared = false;
    WORD ControlId = 0;

    int NestingDepth = 0;                // message handling depth of this control
    bool DestroyRequested = false;       // WM_DESTROY seen
    bool IsChildWindow = false;
    bool IsForm = false;
    bool IsLabel = false;
    bool IsCommonControl = false;
    bool IsDestroying = false;

    // Procedure slots.
    bool (*KeyboardHandler)(Control* control, MessageRecord& message, LRESULT& result) = nullptr;
    void (*ClickAction)(Control* control) = nullptr;
    void (*AfterTextChange)(Control* control) = nullptr;
    int FocusChangeDepth = 0;            // raised while default WM_SETFOCUS processing runs

    // Look.
    bool Ctl3D = false;
    bool Ctl3DChildren = true;           // children may use the 3-D look
    bool HasBorder = true;
    ColourValue TextColour = 0x00000008;
    ColourValue Colour = ColourBtnFace;
    GraphicTool* FontTool = nullptr;
    GraphicTool* BrushTool = nullptr;
    GdiObject<HBRUSH> CachedBrush;
    int TextAlign = TextAlignLeft;

    // Geometry and layout.
    int Margin = 2;
    int ClientTopOffset = 0;
    int ClientBottomOffset = 0;
    int ClientLeftOffset = 0;
    int ClientRightOffset = 0;
    RECT Bounds = {0, 0, 0, 0};
    ControlAlign Align = AlignNone;
    bool AlignLocked = false;
    bool Realigning = false;             // a realign of this parent is running
    bool AnchorLeft = false;
    bool AnchorTop = false;
    bool AnchorRight = false;
    bool AnchorBottom = false;
    int AnchorParentWidth = 0;           // the parent's client size recorded for anchors
    int AnchorParentHeight = 0;
    WPARAM SizeType = 0;                 // wParam of the last WM_SIZE
    bool AutoSize = false;
    bool WordWrap = false;
    int AutoSizePaddingX = 0;
    int AutoSizePaddingY = 0;
    int MinWidth = 0;
    int MinHeight = 0;

    // Children and attached procedures.
    std::vector<Control*> Children;      // creation order
    std::vector<AttachedProc> MessageProcs;
    Control* FocusedChild = nullptr;     // a form's child that last had the focus

    // Painting (control/Painting.h).
    bool Transparent = false;
    bool DoubleBuffered = false;
    bool Flat = false;
    bool MouseInside = false;
    std::shared_ptr<void> PaintState;    // painting modules' own per-control data

    std::string Caption;

    // Owner-drawn button.
    unsigned ButtonOptionSet = 0;
    int GlyphCount = 0;
    HANDLE Image = nullptr;
    int GlyphLayout = 0;
    int PressShiftX = 0;
    int PressShiftY = 0;
    bool Checked = false;                // radio buttons and buttons keeping their state
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
    bool RightClick = false;             // the last click event came from the right button

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

protected:
    void Destroy() override;
    bool DefersDestruction() const override { return true; }
};

// ---------------------------------------------------------------------------------
// Constructors: the parent becomes the owner; no window is created yet.

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
Control* CreateChildControl(Control* parent, ControlKind kind, const char* baseClassName, DWORD style,
                            const ControlActions* actions, bool uses3D, int width, int height);

// The next control identifier (from 0x8000, one per child control).
WORD NextControlId();

#include "control/Layout.h"
#include "control/MessageLoop.h"
