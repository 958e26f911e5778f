#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestHelpers.h"
#include "control/Control.h"
#include "control/MessageProcedures.h"
#include "support/ProgramTexts.h"
#include "support/UserInput.h"

namespace {

class ControlCreationTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Creation test");
        form_->SetPosition(40, 40)->SetClientSize(500, 300);
    }
    void TearDown() override {
        if (form_)
            form_->Release();
    }

    Control* form_ = nullptr;
};

TEST_F(ControlCreationTest, WindowsGetTheObjClassesAndExactStyles) {
    form_->SetFontName("Arial")->SetFontHeight(14);
    Control* label = CreateLabel(form_, "Look in");
    Control* panel = CreatePanel(form_, PanelLowered);
    Control* raised = CreatePanel(form_, PanelRaised);
    Control* group = CreateGroupBox(form_, "");
    Control* button = CreateButton(form_, "Find", ButtonNoBorder, 0, nullptr, 0);
    Control* radio = CreateRadioButton(group, "Delete infected files");
    Control* edit = CreateEdit(form_, 0);
    Control* combo = CreateComboBox(form_, ComboNoIntegralHeight);
    Control* gradient = CreateGradientPanel(form_, 0xC08080, 0xFFFFFF);
    ASSERT_TRUE(form_->CreateWindowHandle());

    struct Expected {
        Control* control;
        const char* className;
        DWORD style;
        DWORD exStyle;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const DWORD staticText = child | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
    const DWORD comboBox =
        child | WS_TABSTOP | CBS_NOINTEGRALHEIGHT | CBS_HASSTRINGS | CBS_AUTOHSCROLL | CBS_DROPDOWN;
    const Expected expected[] = {
        {form_, "obj_Form", WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
         WS_EX_CONTROLPARENT},
        {label, "obj_STATIC", staticText, WS_EX_CONTROLPARENT},
        {panel, "obj_STATIC", staticText | SS_SUNKEN, WS_EX_CONTROLPARENT},
        {raised, "obj_STATIC", staticText | WS_DLGFRAME, WS_EX_CONTROLPARENT},
        {group, "obj_BUTTON", child | BS_GROUPBOX, WS_EX_CONTROLPARENT},
        {button, "obj_BUTTON", child | WS_TABSTOP | BS_NOTIFY | BS_OWNERDRAW, WS_EX_CONTROLPARENT},
        {radio, "obj_BUTTON", child | WS_GROUP | WS_TABSTOP | BS_NOTIFY | BS_RADIOBUTTON,
         WS_EX_CONTROLPARENT},
        {edit, "obj_EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
         WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE},
        // The combo box class hands its scroll bar and edge on to its own list.
        {combo, "obj_COMBOBOX", comboBox, WS_EX_CONTROLPARENT},
        {gradient, "obj_STATIC", staticText, WS_EX_CONTROLPARENT},
    };
    for (const Expected& e : expected) {
        HWND window = e.control->Handle;
        ASSERT_NE(window, nullptr) << e.className;
        EXPECT_EQ(WindowClassOf(window), e.className);
        EXPECT_EQ(StyleOf(window) & ~WS_DISABLED, e.style)
            << e.className << " " << std::hex << StyleOf(window);
        EXPECT_EQ(ExStyleOf(window) & (WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE), e.exStyle)
            << e.className;
        EXPECT_EQ(ControlFromWindow(window), e.control);
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(e.control));
    }
    EXPECT_EQ(combo->Style, comboBox | WS_VSCROLL);
    EXPECT_EQ(combo->ExStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE));
    EXPECT_EQ(GetDlgCtrlID(label->Handle), label->ControlId);
    EXPECT_EQ(GetParent(radio->Handle), group->Handle);
    // The edit box without the 3-D look gets a thin border instead of the client edge.
    edit->SetCtl3D(false);
    EXPECT_EQ(StyleOf(edit->Handle) & WS_BORDER, static_cast<DWORD>(WS_BORDER));
    EXPECT_EQ(ExStyleOf(edit->Handle) & WS_EX_CLIENTEDGE, 0u);
}

TEST_F(ControlCreationTest, ChildrenTakeDefaultBoundsColoursFontAndMargin) {
    // Untouched, text follows the system's colours, as the face colour does: a theme with
    // a dark face colour keeps the text readable.
    Control* plain = CreateLabel(form_, "plain");
    EXPECT_EQ(ResolveColour(form_->TextColour), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ResolveColour(plain->TextColour), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ResolveColour(plain->Colour), GetSysColor(COLOR_BTNFACE));

    form_->SetFontName("Arial")->SetFontHeight(14)->SetColour(0x00DFBDBD);
    form_->SetFontColour(0x00112233);
    Control* bar = CreatePanel(form_, PanelNone);
    bar->SetMargin(0);
    Control* group = CreateGroupBox(form_, "Options");
    Control* inBar = CreateLabel(bar, "x");
    Control* inGroup = CreateRadioButton(group, "r");
    Control* edit = CreateEdit(form_, 0);
    Control* combo = CreateComboBox(form_, 0);
    Control* multi = CreateEdit(form_, EditMultiline);

    ExpectRect(bar->Bounds, 2, 2, 102, 102);
    ExpectRect(inBar->Bounds, 0, 0, 64, 22);
    ExpectRect(inGroup->Bounds, 4, 24, 76, 46);
    ExpectRect(edit->Bounds, 2, 2, 102, 24);
    ExpectRect(combo->Bounds, 2, 2, 102, 24);
    EXPECT_EQ(multi->Width(), 200);
    EXPECT_EQ(multi->Height(), 200);
    EXPECT_EQ(inBar->Margin, 0);
    EXPECT_EQ(inBar->Colour, 0x00DFBDBDu);
    EXPECT_EQ(inGroup->TextColour, 0x00112233u);
    EXPECT_STREQ(inGroup->Font()->FaceName, "Arial");
    EXPECT_EQ(inGroup->Font()->Height, 14);
    // The copy is the child's own: changing it leaves the parent alone.
    inBar->SetFontStyle(FontBold);
    EXPECT_EQ(inBar->Font()->Weight, FW_BOLD);
    EXPECT_EQ(bar->Font()->Weight, 0);
    EXPECT_EQ(form_->Font()->Weight, 0);
}

TEST_F(ControlCreationTest, TabOrderIdentifiersAndFocusedChildFollowCreation) {
    Control* label = CreateLabel(form_, "a");
    Control* edit = CreateEdit(form_, 0);
    Control* button = CreateButton(form_, "b", 0, 0, nullptr, 0);
    EXPECT_EQ(edit->ControlId, label->ControlId + 1);
    EXPECT_EQ(button->ControlId, edit->ControlId + 1);
    EXPECT_GE(label->ControlId, 0x8000);
    EXPECT_LT(label->TabOrder, edit->TabOrder);
    EXPECT_LT(edit->TabOrder, button->TabOrder);
    EXPECT_FALSE(label->TabStop);
    EXPECT_TRUE(edit->TabStop);
    EXPECT_EQ(form_->FocusedChild, edit);
}

TEST_F(ControlCreationTest, TextBeforeAndAfterTheWindowExists) {
    Control* label = CreateLabel(form_, "first");
    EXPECT_EQ(label->GetText(), "first");
    label->SetText("before");
    EXPECT_EQ(label->GetText(), "before");
    ASSERT_NE(label->WindowHandle(), nullptr);
    EXPECT_EQ(WindowTextOf(label->Handle), "before");
    label->SetText("after");
    EXPECT_EQ(WindowTextOf(label->Handle), "after");
    SetWindowTextA(label->Handle, "typed");
    EXPECT_EQ(label->GetText(), "typed");
    form_->SetText(ProgramTitle);
    EXPECT_EQ(WindowTextOf(form_->Handle), ProgramTitle);
}

TEST_F(ControlCreationTest, WindowHandleCreatesHiddenAndTheNextCreationShows) {
    Control* label = CreateLabel(form_, "x");
    ASSERT_NE(form_->WindowHandle(), nullptr);
    EXPECT_FALSE(IsWindowVisible(form_->Handle));
    EXPECT_TRUE(form_->PendingShow);
    ASSERT_TRUE(form_->CreateWindowHandle());
    EXPECT_TRUE(IsWindowVisible(form_->Handle));
    EXPECT_TRUE(IsWindowVisible(label->Handle));
    EXPECT_FALSE(form_->PendingShow);
}

TEST_F(ControlCreationTest, ResizeWithZeroKeepsThatDimension) {
    Control* panel = CreatePanel(form_, PanelNone);
    panel->SetPosition(10, 20)->Resize(150, 60);
    ASSERT_NE(panel->WindowHandle(), nullptr);
    panel->Resize(0, 0);
    ExpectRect(RectInParent(panel->Handle), 10, 20, 160, 80);
    panel->Resize(90, 0);
    ExpectRect(RectInParent(panel->Handle), 10, 20, 100, 80);
    panel->Resize(0, 30);
    ExpectRect(panel->Bounds, 10, 20, 100, 50);
    ExpectRect(RectInParent(panel->Handle), 10, 20, 100, 50);
}

TEST_F(ControlCreationTest, ClientSizeIsExactBeforeAndAfterCreation) {
    Control* other = CreateForm(nullptr, "client size");
    other->SetPosition(10, 10)->SetClientSize(698, 436);
    ASSERT_NE(other->WindowHandle(), nullptr);
    RECT client = {};
    GetClientRect(other->Handle, &client);
    EXPECT_EQ(client.right, 698);
    EXPECT_EQ(client.bottom, 436);
    other->SetClientSize(300, 0);
    GetClientRect(other->Handle, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 436);
    other->Release();
}

void CountClick(void* context, Control*) {
    ++*static_cast<int*>(context);
}

TEST_F(ControlCreationTest, FirstRadioStartsCheckedAndSetCheckedFiresTheClick) {
    Control* group = CreateGroupBox(form_, "");
    Control* first = CreateRadioButton(group, "Delete infected files");
    Control* edit = CreateEdit(group, 0);
    Control* second = CreateRadioButton(group, "Rename with");
    EXPECT_TRUE(first->IsChecked());
    EXPECT_FALSE(second->IsChecked());
    ASSERT_TRUE(form_->CreateWindowHandle());
    EXPECT_EQ(SendMessageA(first->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(second->Handle, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    int clicks = 0;
    second->SetClickEvent(CountClick, &clicks);
    second->SetChecked();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(second->IsChecked());
    EXPECT_FALSE(first->IsChecked());
    EXPECT_EQ(SendMessageA(first->Handle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_NE(edit->Handle, nullptr);

    // A click reported by the platform checks the radio button before its event runs.
    int firstClicks = 0;
    first->SetClickEvent(CountClick, &firstClicks);
    SendMessageA(group->Handle, WM_COMMAND, MAKEWPARAM(first->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(first->Handle));
    EXPECT_EQ(firstClicks, 1);
    EXPECT_TRUE(first->IsChecked());
    EXPECT_FALSE(second->IsChecked());
}

TEST_F(ControlCreationTest, SetCheckedBeforeTheWindowsExistIsAppliedAtCreation) {
    Control* first = CreateRadioButton(form_, "a");
    Control* second = CreateRadioButton(form_, "b");
    second->SetChecked();
    ASSERT_TRUE(form_->CreateWindowHandle());
    EXPECT_EQ(SendMessageA(first->Handle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(second->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
}

struct ClickRecord {
    int Count = 0;
    Control* Sender = nullptr;
    HWND Focus = nullptr;
};

void RecordClick(void* context, Control* sender) {
    ClickRecord* record = static_cast<ClickRecord*>(context);
    ++record->Count;
    record->Sender = sender;
    record->Focus = GetFocus();
}

TEST_F(ControlCreationTest, CommandClickReachesClickEventThroughTheParent) {
    Control* bar = CreatePanel(form_, PanelNone);
    Control* button = CreateButton(bar, "Find", ButtonNoBorder, 0, nullptr, 0);
    Control* label = CreateLabel(bar, "Look in");
    ClickRecord record;
    button->SetClickEvent(RecordClick, &record);
    ClickRecord labelRecord;
    label->SetClickEvent(RecordClick, &labelRecord);
    ASSERT_TRUE(form_->CreateWindowHandle());
    SetForegroundWindow(form_->Handle);

    SendMessageA(bar->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_EQ(record.Count, 1);
    EXPECT_EQ(record.Sender, button);
    // A tab-stop control takes the focus before its click event runs.
    EXPECT_EQ(record.Focus, button->Handle);
    EXPECT_EQ(form_->FocusedChild, button);

    SendMessageA(bar->Handle, WM_COMMAND, MAKEWPARAM(label->ControlId, STN_CLICKED),
                 reinterpret_cast<LPARAM>(label->Handle));
    EXPECT_EQ(labelRecord.Count, 1);
    // Other notifications are not clicks.
    SendMessageA(bar->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_EQ(record.Count, 1);
    // A command from a window without a control goes to default processing.
    SendMessageA(bar->Handle, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_EQ(record.Count, 1);
}

TEST_F(ControlCreationTest, NoFocusButtonLeavesTheFocusWhereItWas) {
    Control* edit = CreateEdit(form_, 0);
    Control* button = CreateButton(form_, "Find", ButtonNoBorder, 0, nullptr, 0);
    button->SetTabStop(false);
    ClickRecord record;
    button->SetClickEvent(RecordClick, &record);
    ASSERT_TRUE(form_->CreateWindowHandle());
    SetForegroundWindow(form_->Handle);
    SetFocus(edit->Handle);
    SendMessageA(form_->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_EQ(record.Count, 1);
    EXPECT_EQ(GetFocus(), edit->Handle);
}

TEST_F(ControlCreationTest, FormPassesItsFocusToTheFocusedChild) {
    CreateLabel(form_, "a");
    Control* edit = CreateEdit(form_, 0);
    ASSERT_TRUE(form_->CreateWindowHandle());
    SetForegroundWindow(form_->Handle);
    SetFocus(form_->Handle);
    EXPECT_EQ(GetFocus(), edit->Handle);
}

TEST_F(ControlCreationTest, TabTypedInAnEditProducesNoCharacter) {
    Control* edit = CreateEdit(form_, 0);
    ASSERT_TRUE(form_->CreateWindowHandle());
    SetForegroundWindow(form_->Handle);
    SetFocus(edit->Handle);
    SendMessageA(edit->Handle, WM_CHAR, 'a', 0);
    SendMessageA(edit->Handle, WM_CHAR, VK_TAB, 0);
    SendMessageA(edit->Handle, WM_CHAR, 'b', 0);
    EXPECT_EQ(edit->GetText(), "ab");
    // A real Tab key press: nothing typed, the focus stays.
    PostMessageA(edit->Handle, WM_KEYDOWN, VK_TAB, KeyStroke(TabScanCode, false));
    PostMessageA(edit->Handle, WM_KEYUP, VK_TAB, KeyStroke(TabScanCode, true));
    PumpMessages();
    EXPECT_EQ(edit->GetText(), "ab");
    EXPECT_EQ(GetFocus(), edit->Handle);
}

void ZeroKey(void*, Control*, int& key, unsigned) {
    if (key == 'x')
        key = 0;
}

TEST_F(ControlCreationTest, CharEventCanSwallowAKey) {
    Control* edit = CreateEdit(form_, 0);
    edit->SetCharEvent(ZeroKey, nullptr);
    ASSERT_NE(edit->WindowHandle(), nullptr);
    SendMessageA(edit->Handle, WM_CHAR, 'a', 0);
    SendMessageA(edit->Handle, WM_CHAR, 'x', 0);
    EXPECT_EQ(edit->GetText(), "a");
}

struct NotifyRecord {
    int ChildCount = 0;
    int FormCount = 0;
    HWND RecordWindow = nullptr;
    UINT Code = 0;
};
NotifyRecord* notifyRecord = nullptr;

bool ChildNotify(Control*, MessageRecord& message, LRESULT& result, void*) {
    if (message.Message != WM_NOTIFY)
        return false;
    ++notifyRecord->ChildCount;
    notifyRecord->RecordWindow = message.Window;
    notifyRecord->Code = reinterpret_cast<NMHDR*>(message.LParam)->code;
    result = 77;
    return true;
}

bool FormNotify(Control*, MessageRecord& message, LRESULT&, void*) {
    if (message.Message == WM_NOTIFY)
        ++notifyRecord->FormCount;
    return false;
}

TEST_F(ControlCreationTest, NotifyReachesTheSendingCommonControlsOwnProcedures) {
    NotifyRecord record;
    notifyRecord = &record;
    form_->AttachMessageProc(FormNotify);
    Control* listLike = CreatePanel(form_, PanelNone);
    AttachCommonControlNotifications(listLike);
    listLike->AttachMessageProc(ChildNotify);
    ClickRecord clicks;
    listLike->SetClickEvent(RecordClick, &clicks);
    ASSERT_TRUE(form_->CreateWindowHandle());

    NMHDR header = {listLike->Handle, listLike->ControlId, static_cast<UINT>(LVN_COLUMNCLICK)};
    const LRESULT result =
        SendMessageA(form_->Handle, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(result, 77);
    EXPECT_EQ(record.ChildCount, 1);
    EXPECT_EQ(record.FormCount, 0);
    EXPECT_EQ(record.RecordWindow, listLike->Handle);
    EXPECT_EQ(record.Code, static_cast<UINT>(LVN_COLUMNCLICK));

    // NM_CLICK and NM_RCLICK raise the control's click event.
    listLike->DetachMessageProc(ChildNotify);
    header.code = static_cast<UINT>(NM_RCLICK);
    SendMessageA(form_->Handle, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(clicks.Count, 1);
    EXPECT_TRUE(listLike->RightClick);
    header.code = static_cast<UINT>(NM_CLICK);
    SendMessageA(form_->Handle, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(clicks.Count, 2);
    EXPECT_FALSE(listLike->RightClick);

    // A notification from a window without a control stays with the form.
    header.hwndFrom = nullptr;
    SendMessageA(form_->Handle, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(record.FormCount, 1);
    notifyRecord = nullptr;
}

TEST(ControlDestructionTest, ReleasingTheFormReleasesEveryControlOnce) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "destroy");
    std::vector<Control*> controls;
    Control* bar = CreatePanel(form, PanelLowered);
    Control* group = CreateGroupBox(bar, "");
    controls = {bar,
                group,
                CreateLabel(form, "a"),
                CreateButton(bar, "b", ButtonNoBorder, 0, nullptr, 0),
                CreateRadioButton(group, "r1"),
                CreateRadioButton(group, "r2"),
                CreateEdit(group, 0),
                CreateComboBox(form, ComboNoIntegralHeight),
                CreateGradientPanel(form, 0, 0xFFFFFF)};
    int ownedDeleted = 0;
    struct Owned {
        int* Deleted;
        ~Owned() { ++*Deleted; }
    };
    RegisterOwnedObject(form, new Owned{&ownedDeleted});
    for (Control* control : controls)
        WatchDestruction(control, &destroyed);
    WatchDestruction(form, &destroyed);
    form->SetFontName("Arial");
    ASSERT_TRUE(form->CreateWindowHandle());
    std::vector<HWND> windows;
    for (Control* control : controls)
        windows.push_back(control->Handle);
    windows.push_back(form->Handle);
    form->Release();
    EXPECT_EQ(destroyed, static_cast<int>(controls.size()) + 1);
    EXPECT_EQ(ownedDeleted, 1);
    for (HWND window : windows)
        EXPECT_FALSE(IsWindow(window));
}

TEST(ControlDestructionTest, AFormWithoutOwnerGoesWithItsWindow) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "closed by the user");
    Control* label = CreateLabel(form, "a");
    WatchDestruction(form, &destroyed);
    WatchDestruction(label, &destroyed);
    ASSERT_TRUE(form->CreateWindowHandle());
    DestroyWindow(form->Handle);
    EXPECT_EQ(destroyed, 2);
    ResetRunLoopState();
}

TEST(ControlDestructionTest, ControlWhoseWindowIsGoneStaysUsableAndIsNotRecreated) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "gone");
    Control* label = CreateLabel(form, "a");
    WatchDestruction(label, &destroyed);
    ASSERT_TRUE(form->CreateWindowHandle());
    form->AddRef();  // the test keeps the form as an owner would
    DestroyWindow(form->Handle);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(label->Handle, nullptr);
    label->SetText("b")->SetColour(0xFF)->Resize(10, 10)->SetVisible(true)->Invalidate();
    EXPECT_EQ(label->GetText(), "b");
    EXPECT_EQ(label->WindowHandle(), nullptr);
    EXPECT_EQ(label->Send(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(form->WindowHandle(), nullptr);
    form->Release();
    form->Release();
    EXPECT_EQ(destroyed, 1);
    ResetRunLoopState();
}

TEST_F(ControlCreationTest, ComboItemsSelectionAndDropDownSizing) {
    Control* combo = CreateComboBox(form_, ComboNoIntegralHeight);
    combo->SetPosition(64, 35)->Resize(153, 22);
    const char* masks[] = {"*.exe", "*.dll", "*.vrs", "*.exe;*.dll;*.scr", "*.*"};
    for (int i = 0; i < 5; ++i)
        combo->SetItemText(i, masks[i]);
    combo->SetCurrentIndex(0);
    EXPECT_EQ(combo->ItemCount(), 5);
    EXPECT_EQ(combo->GetText(), "*.exe");
    EXPECT_EQ(combo->ItemText(3), "*.exe;*.dll;*.scr");
    EXPECT_EQ(combo->ItemText(9), "");

    // Replacing an item keeps the selection and the item's data.
    combo->SetCurrentIndex(1);
    SendMessageA(combo->Handle, CB_SETITEMDATA, 1, 1234);
    combo->SetItemText(1, "*.com");
    EXPECT_EQ(combo->CurrentIndex(), 1);
    EXPECT_EQ(combo->GetText(), "*.com");
    EXPECT_EQ(SendMessageA(combo->Handle, CB_GETITEMDATA, 1, 0), 1234);
    EXPECT_EQ(combo->ItemCount(), 5);
    // An index past the end appends.
    combo->SetItemText(7, "*.bat");
    EXPECT_EQ(combo->ItemCount(), 6);
    EXPECT_EQ(combo->ItemText(5), "*.bat");
    SendMessageA(combo->Handle, CB_DELETESTRING, 5, 0);

    // The inner edit field is subclassed.
    HWND inner = GetWindow(combo->Handle, GW_CHILD);
    ASSERT_NE(inner, nullptr);
    EXPECT_NE(GetPropA(inner, "PREV_PROC"), nullptr);

    // Dropping down sizes the list for up to eight items: (8 + 1) x height + 2.
    for (int i = 5; i < 12; ++i)
        combo->AddItem("*.x" + std::to_string(i));
    ASSERT_TRUE(form_->CreateWindowHandle());
    RECT closed = {};
    GetWindowRect(combo->Handle, &closed);
    const int height = closed.bottom - closed.top;
    SetForegroundWindow(form_->Handle);
    SetFocus(combo->Handle);
    const HWND focused = GetFocus();
    EXPECT_EQ(focused, inner);
    EXPECT_EQ(form_->FocusedChild, combo);
    SendMessageA(combo->Handle, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_TRUE(combo->DroppedDown);
    RECT dropped = {};
    SendMessageA(combo->Handle, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    // The list takes what the window's height leaves below the edit field.
    EXPECT_EQ(dropped.bottom - dropped.top, (9 * height + 2) - height);
    RECT afterDrop = {};
    GetWindowRect(combo->Handle, &afterDrop);
    EXPECT_EQ(afterDrop.bottom - afterDrop.top, height);
    EXPECT_TRUE(IsWindowVisible(combo->Handle));
    SendMessageA(combo->Handle, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(combo->DroppedDown);
    EXPECT_EQ(combo->ItemCount(), 12);
    combo->Clear();
    EXPECT_EQ(combo->ItemCount(), 0);
}

TEST_F(ControlCreationTest, ComboSelectionChangeArrivesAfterTheNotification) {
    Control* combo = CreateComboBox(form_, ComboNoIntegralHeight);
    combo->AddItem("a");
    combo->AddItem("b");
    int changes = 0;
    combo->SetSelectionChangeEvent(CountClick, &changes);
    ASSERT_TRUE(form_->CreateWindowHandle());
    SendMessageA(form_->Handle, WM_COMMAND, MAKEWPARAM(combo->ControlId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo->Handle));
    EXPECT_EQ(changes, 0);
    PumpMessages();
    EXPECT_EQ(changes, 1);
}

}  // namespace
