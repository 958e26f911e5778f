#include <gtest/gtest.h>

#include "control/Control.h"
#include "support/WindowCapture.h"

namespace {

struct Counts {
    int Enter = 0;
    int Leave = 0;
    int Move = 0;
    bool Inside = false;  // answer of the hit-test handler
};

void CountEnter(void* context, Control*) {
    ++static_cast<Counts*>(context)->Enter;
}

void CountLeave(void* context, Control*) {
    ++static_cast<Counts*>(context)->Leave;
}

void CountMove(void* context, Control*, MouseEventRecord&) {
    ++static_cast<Counts*>(context)->Move;
}

bool AnswerHitTest(void* context, Control*) {
    return static_cast<Counts*>(context)->Inside;
}

// A shown form with one button of 100 x 40 at 20, 20 whose enter and leave are counted.
struct TrackedWindow {
    Control* Form = nullptr;
    Control* Button = nullptr;
    Counts Count;

    explicit TrackedWindow(bool flat = false) {
        Form = CreateForm(nullptr, "Tracking");
        Form->SetPosition(120, 120)->SetClientSize(300, 200);
        // the edit box, created first, is the one that gets the focus when the form opens
        CreateEdit(Form, 0)->SetPosition(150, 20)->Resize(60, 22);
        Button = CreateButton(Form, "Find", flat ? 0u : unsigned(ButtonNoBorder), 0, nullptr, 0);
        Button->SetPosition(20, 20)->Resize(100, 40)->SetColour(0x000080);
        Button->SetMouseEnterEvent(CountEnter, &Count)->SetMouseLeaveEvent(CountLeave, &Count);
        if (flat)
            Button->SetFlat(true);
        Form->CreateWindowHandle();
        RepaintNow(Form->Handle);
    }
    ~TrackedWindow() {
        SetCursorPos(1000, 900);
        Form->Release();
        PumpMessages();
    }

    // Puts the cursor at x, y of the button's client area and lets the button see a move.
    void MoveTo(int x, int y) const {
        POINT point = {x, y};
        ClientToScreen(Button->Handle, &point);
        SetCursorPos(point.x, point.y);
        PostMessageA(Button->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpMessages();
    }
    // Puts the cursor on the form outside the button.
    void MoveAway() const {
        POINT point = {250, 150};
        ClientToScreen(Form->Handle, &point);
        SetCursorPos(point.x, point.y);
        PumpMessages();
    }
};

}  // namespace

TEST(MouseTrackingTest, EnteringRaisesMouseEnterOnceAndLeavingMouseLeaveOnce) {
    TrackedWindow window;
    window.MoveTo(10, 10);
    window.MoveTo(30, 20);
    window.MoveTo(60, 30);
    PumpFor(150);
    EXPECT_EQ(1, window.Count.Enter);
    EXPECT_EQ(0, window.Count.Leave);
    EXPECT_TRUE(window.Button->MouseInside);

    window.MoveAway();
    EXPECT_TRUE(PumpUntil([&] { return window.Count.Leave > 0; }, 3000)) << "no leave reported";
    PumpFor(300);
    EXPECT_EQ(1, window.Count.Leave);
    EXPECT_EQ(1, window.Count.Enter);
    EXPECT_FALSE(window.Button->MouseInside);

    window.MoveTo(50, 20);
    PumpFor(100);
    EXPECT_EQ(2, window.Count.Enter);
}

TEST(MouseTrackingTest, LosingTheMouseRaisesOneLeave) {
    TrackedWindow window;
    window.MoveTo(40, 20);
    ASSERT_EQ(1, window.Count.Enter);
    SendMessageA(window.Button->Handle, WM_MOUSELEAVE, 0, 0);
    SendMessageA(window.Button->Handle, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, window.Count.Leave);
    EXPECT_FALSE(window.Button->MouseInside);
}

TEST(MouseTrackingTest, HitTestHandlerDecidesInsteadOfTheCursor) {
    TrackedWindow window;
    window.Button->SetHitTestEvent(AnswerHitTest, &window.Count);
    window.MoveAway();
    window.Count.Inside = true;
    PostMessageA(window.Button->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_EQ(1, window.Count.Enter);

    window.Count.Inside = false;
    PostMessageA(window.Button->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_EQ(1, window.Count.Leave);
}

TEST(MouseTrackingTest, TrackingLeavesTheMouseMessagesToOtherHandlers) {
    TrackedWindow window;
    window.Button->SetMouseMoveEvent(CountMove, &window.Count);
    window.MoveTo(30, 15);
    window.MoveTo(31, 16);
    EXPECT_EQ(1, window.Count.Enter);
    EXPECT_GE(window.Count.Move, 2);
}

TEST(MouseTrackingTest, FlatButtonShowsItsEdgeOnlyWhileTheMouseIsInside) {
    TrackedWindow window(true);
    window.MoveAway();
    PumpMessages();
    const CapturedImage outside = CaptureOnScreen(window.Button->Handle);
    EXPECT_EQ(RGB(128, 0, 0), outside.At(0, 0));
    EXPECT_EQ(RGB(128, 0, 0), outside.At(99, 39));

    window.MoveTo(50, 20);
    PumpMessages();
    const CapturedImage inside = CaptureOnScreen(window.Button->Handle);
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), inside.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), inside.At(99, 39));

    SendMessageA(window.Button->Handle, WM_MOUSELEAVE, 0, 0);
    PumpMessages();
    const CapturedImage left = CaptureOnScreen(window.Button->Handle);
    EXPECT_EQ(RGB(128, 0, 0), left.At(0, 0));
}
