#include <gtest/gtest.h>

#include "control/Control.h"
#include "control/GdiHandles.h"
#include "control/GradientPanel.h"
#include "control/Painting.h"
#include "support/WindowCapture.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Red = RGB(255, 0, 0);
const int BarHeight = 60;

// A shown form with a black-to-red gradient bar (300 x 60 at 0, 0) holding a label with
// white text at 10, 20.
struct BarWindow {
    Control* Form = nullptr;
    Control* Bar = nullptr;
    Control* Label = nullptr;

    BarWindow(bool transparentLabel, const char* caption) {
        Form = CreateForm(nullptr, "Transparency");
        Form->SetPosition(100, 100)->SetClientSize(320, 200);
        Form->SetColour(0x00FF00);
        Bar = CreateGradientPanel(Form, 0x000000, 0x0000FF);
        Bar->SetPosition(0, 0)->Resize(300, BarHeight);
        Label = CreateLabel(Bar, caption);
        Label->SetPosition(10, 20)->Resize(90, 20)->SetFontColour(0xFFFFFF)->SetColour(0xFF0000);
        if (transparentLabel)
            Label->SetTransparent(true);
    }
    ~BarWindow() {
        Form->Release();
        PumpMessages();
    }
    void Show() const {
        Form->CreateWindowHandle();
        RepaintNow(Form->Handle);
    }
    // The gradient colour of the bar's row y.
    static COLORREF BarLine(int y) { return GradientLineColour(Black, Red, y, BarHeight); }
};

// Pixels of a child's on-screen image that show the bar's gradient at their row, and
// pixels that show something else.
struct Split {
    int Gradient = 0;
    int Other = 0;
};

Split SplitByGradient(const CapturedImage& image, int topInBar) {
    Split split;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            if (image.At(x, y) == BarWindow::BarLine(topInBar + y))
                ++split.Gradient;
            else
                ++split.Other;
        }
    return split;
}

// The ring of pixels along the image's border all show the gradient of their row.
void ExpectGradientBorder(const CapturedImage& image, int topInBar) {
    for (int x = 0; x < image.Width; ++x) {
        ASSERT_EQ(BarWindow::BarLine(topInBar), image.At(x, 0)) << "top, x " << x;
        ASSERT_EQ(BarWindow::BarLine(topInBar + image.Height - 1), image.At(x, image.Height - 1))
            << "bottom, x " << x;
    }
    for (int y = 0; y < image.Height; ++y) {
        ASSERT_EQ(BarWindow::BarLine(topInBar + y), image.At(0, y)) << "left, y " << y;
        ASSERT_EQ(BarWindow::BarLine(topInBar + y), image.At(image.Width - 1, y))
            << "right, y " << y;
    }
}

}  // namespace

TEST(TransparencyTest, TransparentLabelShowsTheGradientAroundItsText) {
    BarWindow window(true, "Look in");
    window.Show();
    const CapturedImage image = CaptureOnScreen(window.Label->Handle);
    ASSERT_EQ(90, image.Width);
    ExpectGradientBorder(image, 20);
    const Split split = SplitByGradient(image, 20);
    EXPECT_GT(split.Other, 10) << "no text drawn";
    EXPECT_GT(split.Gradient, image.Width * image.Height / 2);
    EXPECT_GT(image.Count(RGB(255, 255, 255), RECT{0, 0, image.Width, image.Height}), 0);
    EXPECT_TRUE(window.Bar->DoubleBuffered);
    // printing the label gives the same composition
    ExpectGradientBorder(CapturePrintClient(window.Label->Handle), 20);
}

TEST(TransparencyTest, OpaqueLabelPaintsItsOwnBackground) {
    BarWindow window(false, "Look in");
    window.Show();
    const CapturedImage image = CaptureOnScreen(window.Label->Handle);
    const COLORREF blue = RGB(0, 0, 255);
    EXPECT_EQ(blue, image.At(0, 0));
    EXPECT_EQ(blue, image.At(89, 19));
    EXPECT_EQ(0, SplitByGradient(image, 20).Gradient);
}

TEST(TransparencyTest, ChangedTextOfATransparentLabelLeavesNoTrace) {
    BarWindow window(true, "WWWWWWWWWW");
    window.Show();
    window.Label->SetText("i");
    PumpMessages();
    const CapturedImage image = CaptureOnScreen(window.Label->Handle);
    // the old caption reached far to the right; now only the gradient is there
    for (int y = 0; y < image.Height; ++y)
        for (int x = 30; x < image.Width; ++x)
            ASSERT_EQ(BarWindow::BarLine(20 + y), image.At(x, y)) << x << ", " << y;
}

TEST(TransparencyTest, RepaintedBarRefreshesTheTransparentChildrenOnIt) {
    BarWindow window(true, "Look in");
    window.Show();
    window.Bar->GradientColour1 = 0x00FF00;
    window.Bar->GradientColour2 = 0x00FF00;
    window.Bar->Invalidate();
    PumpMessages();
    const CapturedImage image = CaptureOnScreen(window.Label->Handle);
    EXPECT_EQ(RGB(0, 255, 0), image.At(0, 0));
    EXPECT_EQ(RGB(0, 255, 0), image.At(89, 19));
}

TEST(TransparencyTest, TransparentRadioButtonInATransparentGroupShowsTheGradient) {
    BarWindow window(true, "Look in");
    Control* group = CreateGroupBox(window.Bar, "");
    group->SetPosition(120, 1)->Resize(145, 57)->SetTransparent(true);
    Control* radio = CreateRadioButton(group, "Ab");
    radio->SetPosition(5, 14)->Resize(120, 18)->SetFontColour(0xFFFFFF)->SetTransparent(true);
    window.Show();

    const RECT radioInBar = ClientAreaIn(radio->Handle, window.Bar->Handle);
    const CapturedImage image = CaptureOnScreen(radio->Handle);
    ASSERT_EQ(120, image.Width);
    // right of the caption the radio button shows only the gradient behind the group box
    for (int y = 0; y < image.Height; ++y)
        for (int x = 80; x < image.Width; ++x)
            ASSERT_EQ(BarWindow::BarLine(radioInBar.top + y), image.At(x, y)) << x << ", " << y;
    EXPECT_GT(SplitByGradient(image, radioInBar.top).Other, 10) << "no radio circle or caption";

    // inside the group box, below the radio button, the gradient shows too
    const RECT groupInBar = ClientAreaIn(group->Handle, window.Bar->Handle);
    const CapturedImage groupImage = CaptureOnScreen(group->Handle);
    const int y = 40;
    for (int x = 10; x < 130; ++x)
        ASSERT_EQ(BarWindow::BarLine(groupInBar.top + y), groupImage.At(x, y)) << x;
}

TEST(TransparencyTest, FormAndGroupBoxEraseWithTheirColours) {
    BarWindow window(false, "x");
    Control* group = CreateGroupBox(window.Form, "Options");
    group->SetPosition(10, 80)->Resize(150, 100)->SetColour(0x800000);
    window.Show();
    const CapturedImage form = CaptureOnScreen(window.Form->Handle);
    EXPECT_EQ(RGB(0, 255, 0), form.At(310, 190));
    EXPECT_EQ(RGB(0, 255, 0), form.At(200, 100));
    const CapturedImage groupImage = CaptureOnScreen(group->Handle);
    EXPECT_EQ(RGB(0, 0, 128), groupImage.At(75, 60));
}

TEST(TransparencyTest, DoubleBufferedFormStillShowsItsBackgroundAndChildren) {
    BarWindow window(false, "x");
    window.Form->SetDoubleBuffered(true);
    Control* edit = CreateEdit(window.Form, 0);
    edit->SetPosition(10, 100)->Resize(100, 22)->SetColour(0xFF0000);
    window.Show();
    const CapturedImage form = CaptureOnScreen(window.Form->Handle);
    EXPECT_EQ(RGB(0, 255, 0), form.At(200, 150));
    EXPECT_EQ(BarWindow::BarLine(30), form.At(250, 30));
    const CapturedImage editImage = CaptureOnScreen(edit->Handle);
    EXPECT_EQ(RGB(0, 0, 255), editImage.At(editImage.Width - 3, editImage.Height / 2));
}

TEST(ColourMessageTest, OpaqueChildAnswersWithItsColoursAndACachedBrush) {
    Control* form = CreateForm(nullptr, "Colours");
    Control* label = CreateLabel(form, "x");
    label->SetColour(0x030201)->SetFontColour(0x060504);
    MemoryDc dc(nullptr);

    HBRUSH brush = AnswerColourMessage(label, dc.Get());
    EXPECT_EQ(brush, AnswerColourMessage(label, dc.Get()));
    LOGBRUSH logBrush;
    ASSERT_EQ(static_cast<int>(sizeof(logBrush)), GetObjectA(brush, sizeof(logBrush), &logBrush));
    EXPECT_EQ(static_cast<UINT>(BS_SOLID), logBrush.lbStyle);
    EXPECT_EQ(RGB(1, 2, 3), logBrush.lbColor);
    EXPECT_EQ(OPAQUE, GetBkMode(dc.Get()));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(dc.Get()));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(dc.Get()));

    label->SetColour(0x090807);
    HBRUSH changed = AnswerColourMessage(label, dc.Get());
    ASSERT_EQ(static_cast<int>(sizeof(logBrush)), GetObjectA(changed, sizeof(logBrush), &logBrush));
    EXPECT_EQ(RGB(7, 8, 9), logBrush.lbColor);
    form->Release();
}

TEST(ColourMessageTest, TransparentChildAnswersWithTheHollowBrush) {
    Control* form = CreateForm(nullptr, "Colours");
    Control* label = CreateLabel(form, "x");
    label->SetFontColour(0x0000FF)->SetTransparent(true);
    MemoryDc dc(nullptr);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), AnswerColourMessage(label, dc.Get()));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc.Get()));
    EXPECT_EQ(RGB(255, 0, 0), GetTextColor(dc.Get()));
    form->Release();
}
