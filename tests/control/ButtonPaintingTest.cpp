#include <gtest/gtest.h>

#include <cstdlib>

#include "control/Control.h"
#include "support/WindowCapture.h"

namespace {

const COLORREF Maroon = RGB(128, 0, 0);
const COLORREF White = RGB(255, 255, 255);

// A shown form with one owner-drawn button of 100 x 30 at 10, 10 (not focused).
struct ButtonWindow {
    Control* Form = nullptr;
    Control* Button = nullptr;

    explicit ButtonWindow(unsigned options, const char* caption = "Find") {
        Form = CreateForm(nullptr, "Buttons");
        Form->SetPosition(80, 80)->SetClientSize(200, 100);
        // the edit box, created first, is the one that gets the focus when the form opens
        CreateEdit(Form, 0)->SetPosition(120, 60)->Resize(60, 22);
        Button = CreateButton(Form, caption, options, 0, nullptr, 0);
        Button->SetPosition(10, 10)->Resize(100, 30);
        Button->SetColour(0x000080)->SetFontColour(0xFFFFFF)->SetPressShift(1, 1);
        Form->CreateWindowHandle();
        RepaintNow(Form->Handle);
    }
    ~ButtonWindow() {
        Form->Release();
        PumpMessages();
    }

    CapturedImage Capture() const {
        PumpMessages();
        return CaptureOnScreen(Button->Handle);
    }
    void SetPushed(bool pushed) const {
        SendMessageA(Button->Handle, BM_SETSTATE, pushed ? TRUE : FALSE, 0);
        PumpMessages();
    }
};

RECT Whole(const CapturedImage& image) {
    return RECT{0, 0, image.Width, image.Height};
}

// Every pixel on the outermost ring of the image has the colour.
void ExpectRingOf(const CapturedImage& image, COLORREF colour, int inset, const char* what) {
    for (int x = inset; x < image.Width - inset; ++x) {
        ASSERT_EQ(colour, image.At(x, inset)) << what << " top, x " << x;
        ASSERT_EQ(colour, image.At(x, image.Height - 1 - inset)) << what << " bottom, x " << x;
    }
    for (int y = inset; y < image.Height - inset; ++y) {
        ASSERT_EQ(colour, image.At(inset, y)) << what << " left, y " << y;
        ASSERT_EQ(colour, image.At(image.Width - 1 - inset, y)) << what << " right, y " << y;
    }
}

}  // namespace

TEST(ButtonPaintingTest, NoBorderButtonIsItsColourUpToItsEdgesInEveryState) {
    ButtonWindow window(ButtonNoBorder);
    CapturedImage normal = window.Capture();
    ASSERT_EQ(100, normal.Width);
    ExpectRingOf(normal, Maroon, 0, "normal");
    ExpectRingOf(normal, Maroon, 1, "normal");

    SetFocus(window.Button->Handle);
    const CapturedImage focused = window.Capture();
    ExpectRingOf(focused, Maroon, 0, "focused");
    ExpectRingOf(focused, Maroon, 1, "focused");

    window.SetPushed(true);
    const CapturedImage pressed = window.Capture();
    ExpectRingOf(pressed, Maroon, 0, "pressed");
    ExpectRingOf(pressed, Maroon, 1, "pressed");
    window.SetPushed(false);
}

TEST(ButtonPaintingTest, CaptionIsCentredInTheFontColourOnTheFace) {
    ButtonWindow window(ButtonNoBorder);
    const CapturedImage image = window.Capture();
    const RECT text = image.BoundsOfOther(Maroon, Whole(image));
    ASSERT_LT(text.left, text.right) << "no caption drawn";
    EXPECT_GT(image.Count(White, text), 0);
    EXPECT_GT(text.left, 0);
    EXPECT_GT(text.top, 0);
    EXPECT_LE(std::abs(text.left - (image.Width - text.right)), 3);
    EXPECT_LE(std::abs(text.top - (image.Height - text.bottom)), 4);
}

TEST(ButtonPaintingTest, CaptionMovesOnePixelRightAndDownWhilePressed) {
    ButtonWindow window(ButtonNoBorder, "Restore File");
    const CapturedImage normal = window.Capture();
    window.SetPushed(true);
    const CapturedImage pressed = window.Capture();
    window.SetPushed(false);
    const CapturedImage released = window.Capture();

    const RECT before = normal.BoundsOfOther(Maroon, Whole(normal));
    const RECT during = pressed.BoundsOfOther(Maroon, Whole(pressed));
    ASSERT_LT(before.left, before.right);
    EXPECT_EQ(before.left + 1, during.left);
    EXPECT_EQ(before.top + 1, during.top);
    EXPECT_EQ(before.right + 1, during.right);
    EXPECT_EQ(before.bottom + 1, during.bottom);
    for (int y = 0; y + 1 < normal.Height; ++y)
        for (int x = 0; x + 1 < normal.Width; ++x)
            ASSERT_EQ(normal.At(x, y), pressed.At(x + 1, y + 1)) << x << ", " << y;
    EXPECT_EQ(normal.Pixels, released.Pixels);
}

TEST(ButtonPaintingTest, BorderedButtonHasRaisedEdgeSunkenWhenPressedAndDarkFrameWhenFocused) {
    ButtonWindow window(0);
    const CapturedImage normal = window.Capture();
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), normal.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), normal.At(99, 29));
    EXPECT_EQ(Maroon, normal.At(4, 15));

    window.SetPushed(true);
    const CapturedImage pressed = window.Capture();
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), pressed.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DHILIGHT), pressed.At(99, 29));
    window.SetPushed(false);

    SetFocus(window.Button->Handle);
    const CapturedImage focused = window.Capture();
    ExpectRingOf(focused, RGB(64, 64, 64), 0, "focus frame");
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), focused.At(1, 1));
}

TEST(ButtonPaintingTest, DottedFocusOptionDrawsAFocusRectangleInsteadOfTheFrame) {
    ButtonWindow window(ButtonNoBorder | ButtonDottedFocus);
    const CapturedImage unfocused = window.Capture();
    ExpectRingOf(unfocused, Maroon, 0, "unfocused");

    SetFocus(window.Button->Handle);
    const CapturedImage focused = window.Capture();
    const RECT top = {0, 0, focused.Width, 1};
    const int marked = focused.Width - focused.Count(Maroon, top);
    EXPECT_GT(marked, focused.Width / 3);
    EXPECT_LT(marked, focused.Width);
}

namespace {

void CountClick(void* context, Control*) {
    ++*static_cast<int*>(context);
}

struct DrawRecord {
    int Calls = 0;
    ButtonDrawState LastState = ButtonDrawState::Hot;
    bool Done = false;
};

bool RecordDraw(void* context, Control*, ButtonDrawState drawState) {
    DrawRecord* record = static_cast<DrawRecord*>(context);
    ++record->Calls;
    record->LastState = drawState;
    return record->Done;
}

void Click(HWND window, UINT downMessage) {
    const LPARAM centre = MAKELPARAM(50, 15);
    PostMessageA(window, downMessage, MK_LBUTTON, centre);
    PostMessageA(window, WM_LBUTTONUP, 0, centre);
    PumpMessages();
}

}  // namespace

TEST(ButtonPaintingTest, DoubleClickCountsAsASecondPress) {
    ButtonWindow window(ButtonNoBorder);
    int clicks = 0;
    window.Button->SetClickEvent(CountClick, &clicks);
    Click(window.Button->Handle, WM_LBUTTONDOWN);
    EXPECT_EQ(1, clicks);
    Click(window.Button->Handle, WM_LBUTTONDBLCLK);
    EXPECT_EQ(2, clicks);
}

TEST(ButtonPaintingTest, CustomDrawHandlerSeesTheDrawStateAndCanTakeOverThePainting) {
    ButtonWindow window(ButtonNoBorder);
    DrawRecord record;
    window.Button->SetCustomDrawEvent(RecordDraw, &record);
    window.SetPushed(true);
    EXPECT_GE(record.Calls, 1);
    EXPECT_EQ(record.LastState, ButtonDrawState::Pressed);
    window.SetPushed(false);
    EXPECT_EQ(record.LastState, ButtonDrawState::Normal);

    record.Done = true;
    RepaintNow(window.Form->Handle);
    const CapturedImage image = window.Capture();
    // the handler drew nothing: no caption on the erased face
    const RECT text = image.BoundsOfOther(Maroon, Whole(image));
    EXPECT_EQ(text.left, text.right);
}

TEST(ButtonPaintingTest, HoverColoursRepaintTheFaceAndCaption) {
    ButtonWindow window(ButtonNoBorder);
    window.Button->SetColour(0xFFFFFF)->SetFontColour(0xFF0000);
    const CapturedImage image = window.Capture();
    ExpectRingOf(image, White, 0, "hover face");
    const RECT text = image.BoundsOfOther(White, Whole(image));
    ASSERT_LT(text.left, text.right);
    EXPECT_GT(image.Count(RGB(0, 0, 255), text), 0);
    EXPECT_EQ(0, image.Count(Maroon, Whole(image)));
}
