#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlTestHelpers.h"
#include "control/Control.h"
#include "control/StringList.h"

namespace {

struct CloseRecord {
    int Asked = 0;
    int RefuseFirst = 0;
    int Delivered = 0;      // WM_CLOSE messages that reached the form
    bool HeldOnce = false;  // the first accepted close was kept from destroying the window
};

void AskClose(void* context, Control*, bool& accept) {
    CloseRecord* record = static_cast<CloseRecord*>(context);
    ++record->Asked;
    if (record->Asked <= record->RefuseFirst)
        accept = false;
}

// Attached after the close path, so it runs first: counts every close request.
bool CountCloseRequests(Control*, MessageRecord& message, LRESULT&, void* context) {
    if (message.Message == WM_CLOSE)
        ++static_cast<CloseRecord*>(context)->Delivered;
    return false;
}

// Attached before the close path, so it runs after it and sees only accepted closes: keeps
// the window of the first one alive, so that the next close request reaches a form whose
// close was accepted.
bool HoldFirstAcceptedClose(Control*, MessageRecord& message, LRESULT& result, void* context) {
    CloseRecord* record = static_cast<CloseRecord*>(context);
    if (message.Message != WM_CLOSE || record->HeldOnce)
        return false;
    record->HeldOnce = true;
    result = 0;
    return true;
}

TEST(CloseTest, RefusedCloseAsksAgainAndAnAcceptedCloseAsksOnce) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "close");
    Control* label = CreateLabel(form, "a");
    WatchDestruction(form, &destroyed);
    WatchDestruction(label, &destroyed);
    CloseRecord record;
    record.RefuseFirst = 1;
    form->AttachMessageProc(HoldFirstAcceptedClose, &record);
    form->SetCloseQueryEvent(AskClose, &record);
    form->AttachMessageProc(CountCloseRequests, &record);
    form->SetPosition(20, 20)->SetClientSize(200, 100);
    SetApplicationObject(form);
    ASSERT_TRUE(form->CreateWindowHandle());
    HWND window = form->Handle;
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(RunLoopWithTimeout(form));
    EXPECT_EQ(record.Delivered, 3) << "every close request reached the form";
    EXPECT_TRUE(record.HeldOnce);
    EXPECT_EQ(record.Asked, 2);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(destroyed, 2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ApplicationObject(), nullptr);
}

TEST(CloseTest, TerminateWithoutQuitClosesTheWindowWithoutAsking) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "terminate");
    WatchDestruction(form, &destroyed);
    CloseRecord record;
    form->SetCloseQueryEvent(AskClose, &record);
    ResetRunLoopState();
    SetApplicationObject(form);
    ASSERT_TRUE(form->CreateWindowHandle());
    Terminate(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(record.Asked, 0);
    ResetRunLoopState();
}

struct QuitCommand {
    Control* Form = nullptr;
    bool SawTerminated = false;
    bool FinishedAfterQuit = false;
    int Processed = 0;
};

void QuitInsideCommand(void* context, Control*) {
    QuitCommand* command = static_cast<QuitCommand*>(context);
    PostQuitMessage(0);
    for (int step = 0; step < 50 && !IsTerminated(); ++step) {
        if (ProcessPendingMessages(ApplicationObject()))
            ++command->Processed;
    }
    command->SawTerminated = IsTerminated();
    // The command goes on with its remaining steps; the run loop is still inside it.
    command->FinishedAfterQuit = IsWindow(command->Form->Handle) != FALSE;
}

TEST(RunLoopTest, QuitSeenInsideACommandEndsTheLoopOnlyAfterTheCommandReturns) {
    int destroyed = 0;
    Control* form = CreateForm(nullptr, "quit");
    Control* button = CreateButton(form, "Find", ButtonNoBorder, 0, nullptr, 0);
    WatchDestruction(form, &destroyed);
    QuitCommand command;
    command.Form = form;
    button->SetClickEvent(QuitInsideCommand, &command);
    form->SetPosition(20, 20)->SetClientSize(200, 100);
    SetApplicationObject(form);
    ASSERT_TRUE(form->CreateWindowHandle());
    PostMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_TRUE(RunLoopWithTimeout(form));
    EXPECT_TRUE(command.SawTerminated);
    EXPECT_TRUE(command.FinishedAfterQuit);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(destroyed, 1);
}

// A long command that, in the middle of its work, lets the user close the main window
// (the close arrives through its own ProcessPendingMessages) and then keeps using the
// controls and the objects the form owns.
struct NestedClose {
    Control* Form = nullptr;
    Control* Info = nullptr;
    Control* Edit = nullptr;
    Control* Combo = nullptr;
    StringList* Offsets = nullptr;
    int* Destroyed = nullptr;
    int DestroyedInside = -1;
    bool WindowGoneInside = false;
    std::string InfoText;
    std::string OffsetText;
    HWND RecreatedWindow = reinterpret_cast<HWND>(1);
    LRESULT SendResult = -1;
};

void CloseFromInsideCommand(void* context, Control*) {
    NestedClose* state = static_cast<NestedClose*>(context);
    PostMessageA(state->Form->Handle, WM_CLOSE, 0, 0);
    for (int step = 0; step < 200 && !IsTerminated(); ++step)
        ProcessPendingMessages(ApplicationObject());
    state->WindowGoneInside = state->Form->Handle == nullptr;
    state->DestroyedInside = *state->Destroyed;
    state->Info->SetText("Restoring files were stopped");
    state->InfoText = state->Info->GetText();
    state->Info->SetColour(0xFFFFFF)->SetFontStyle(FontBold)->SetVisible(true)->Resize(100, 20);
    state->Edit->SetEnabled(false)->SetCtl3D(false);
    state->Combo->SetItemText(0, "*.exe")->SetCurrentIndex(0);
    state->SendResult = state->Edit->Send(WM_GETTEXTLENGTH);
    state->RecreatedWindow = state->Info->WindowHandle();
    StringListAdd(state->Offsets, "1536");
    state->OffsetText = StringListItem(state->Offsets, 0);
    // The close handler of the program releases objects the command still uses.
    ProcessAllMessages(ApplicationObject());
}

void ReleaseOffsetsOnClose(void* context, Control*, bool&) {
    static_cast<NestedClose*>(context)->Offsets->Release();
}

TEST(RunLoopTest, ClosingTheFormInsideANestedHandlerKeepsEverythingAliveUntilItReturns) {
    int destroyed = 0;
    NestedClose state;
    state.Destroyed = &destroyed;
    Control* form = CreateForm(nullptr, "nested close");
    form->SetFontName("Arial")->SetFontHeight(14);
    state.Form = form;
    state.Info = CreateLabel(form, "Information");
    state.Info->SetAlign(AlignBottom);
    Control* bar = CreatePanel(form, PanelLowered);
    bar->SetAlign(AlignTop);
    state.Edit = CreateEdit(bar, 0);
    state.Combo = CreateComboBox(bar, ComboNoIntegralHeight);
    Control* button = CreateButton(bar, "Restore File", ButtonNoBorder, 0, nullptr, 0);
    button->SetClickEvent(CloseFromInsideCommand, &state);
    state.Offsets = NewStringList();
    int offsetsDestroyed = 0;
    WatchDestruction(state.Offsets, &offsetsDestroyed);
    form->SetCloseQueryEvent(ReleaseOffsetsOnClose, &state);
    const std::vector<Control*> controls = {form, state.Info, bar, state.Edit, state.Combo, button};
    for (Control* control : controls)
        WatchDestruction(control, &destroyed);
    form->SetPosition(20, 20)->SetClientSize(300, 200);
    SetApplicationObject(form);
    ASSERT_TRUE(form->CreateWindowHandle());
    PostMessageA(bar->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_TRUE(RunLoopWithTimeout(form));

    EXPECT_TRUE(state.WindowGoneInside);
    EXPECT_EQ(state.DestroyedInside, 0);
    EXPECT_EQ(state.InfoText, "Restoring files were stopped");
    EXPECT_EQ(state.OffsetText, "1536");
    EXPECT_EQ(state.SendResult, 0);
    EXPECT_EQ(state.RecreatedWindow, nullptr);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(destroyed, static_cast<int>(controls.size()));
    EXPECT_EQ(offsetsDestroyed, 1);
}

struct Counter {
    int Count = 0;
};

bool CountPrivate(Control*, MessageRecord& message, LRESULT&, void* argument) {
    if (message.Message == WM_APP + 1)
        ++static_cast<Counter*>(argument)->Count;
    return false;
}

TEST(ProcessPendingMessagesTest, HandlesAtMostOneMessage) {
    Control* form = CreateForm(nullptr, "pending");
    Counter counter;
    form->AttachMessageProc(CountPrivate, &counter);
    ASSERT_NE(form->WindowHandle(), nullptr);
    PumpMessages();
    EXPECT_FALSE(ProcessPendingMessages(form));
    PostMessageA(form->Handle, WM_APP + 1, 0, 0);
    PostMessageA(form->Handle, WM_APP + 1, 0, 0);
    EXPECT_TRUE(ProcessPendingMessages(form));
    EXPECT_EQ(counter.Count, 1);
    ProcessAllMessages(form);
    EXPECT_EQ(counter.Count, 2);
    EXPECT_FALSE(ProcessPendingMessages(form));
    // WM_QUIT is taken but not dispatched: it only sets the terminated flag.
    ResetRunLoopState();
    PostQuitMessage(0);
    EXPECT_TRUE(ProcessPendingMessages(form));
    EXPECT_TRUE(IsTerminated());
    ResetRunLoopState();
    form->Release();
}

bool HandleAll(Control*, MessageRecord& message, LRESULT& result, void* argument) {
    if (message.Message != WM_APP + 2)
        return false;
    static_cast<std::vector<int>*>(argument)->push_back(1);
    result = 5;
    return true;
}

bool HandleFirst(Control*, MessageRecord& message, LRESULT& result, void* argument) {
    if (message.Message != WM_APP + 2)
        return false;
    static_cast<std::vector<int>*>(argument)->push_back(2);
    result = 9;
    return true;
}

TEST(WindowProcTest, AttachedProceduresRunNewestFirstAndOnce) {
    Control* form = CreateForm(nullptr, "order");
    std::vector<int> calls;
    form->AttachMessageProc(HandleAll, &calls);
    form->AttachMessageProc(HandleFirst, &calls);
    form->AttachMessageProc(HandleFirst, &calls);
    ASSERT_NE(form->WindowHandle(), nullptr);
    EXPECT_EQ(SendMessageA(form->Handle, WM_APP + 2, 0, 0), 9);
    EXPECT_EQ(calls, std::vector<int>{2});
    form->DetachMessageProc(HandleFirst);
    EXPECT_EQ(SendMessageA(form->Handle, WM_APP + 2, 0, 0), 5);
    form->Release();
}

// Where the docked child stood each time the resize event ran.
struct ResizeRecord {
    Control* Child = nullptr;
    std::vector<RECT> ChildBounds;
    std::vector<RECT> ChildWindow;
};

void RecordResize(void* context, Control*) {
    ResizeRecord* record = static_cast<ResizeRecord*>(context);
    record->ChildBounds.push_back(record->Child->Bounds);
    record->ChildWindow.push_back(RectInParent(record->Child->Handle));
}

TEST(WindowProcTest, ResizeEventRunsBeforeTheDockedChildrenFollow) {
    Control* form = CreateForm(nullptr, "resize");
    form->SetPosition(20, 20)->SetClientSize(400, 300);
    ResizeRecord record;
    form->SetResizeEvent(RecordResize, &record);
    Control* top = CreatePanel(form, PanelNone);
    top->Resize(0, 30)->SetAlign(AlignTop);
    record.Child = top;
    ASSERT_TRUE(form->CreateWindowHandle());
    ExpectRect(top->Bounds, 2, 2, 398, 32);
    record.ChildBounds.clear();
    record.ChildWindow.clear();
    form->SetClientSize(500, 300);
    ASSERT_GE(record.ChildBounds.size(), 1u);
    // The event of the new size saw the child still at the old width.
    ExpectRect(record.ChildBounds[0], 2, 2, 398, 32);
    ExpectRect(record.ChildWindow[0], 2, 2, 398, 32);
    ExpectRect(top->Bounds, 2, 2, 498, 32);
    ExpectRect(RectInParent(top->Handle), 2, 2, 498, 32);
    form->Release();
}

}  // namespace
