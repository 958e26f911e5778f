#include <gtest/gtest.h>

#include "control/Control.h"
#include "control/GradientPanel.h"
#include "support/WindowCapture.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF Red = RGB(255, 0, 0);

// A shown form holding one gradient panel at 0, 0.
struct GradientWindow {
    Control* Form = nullptr;
    Control* Panel = nullptr;

    GradientWindow(int width, int height, ColourValue colour1, ColourValue colour2,
                   bool horizontal = false) {
        Form = CreateForm(nullptr, "Gradient");
        Form->SetPosition(60, 60)->SetClientSize(width + 20, height + 60);
        Panel = CreateGradientPanel(Form, colour1, colour2);
        Panel->GradientHorizontal = horizontal;
        Panel->SetPosition(0, 0)->Resize(width, height);
        Form->CreateWindowHandle();
        RepaintNow(Form->Handle);
    }
    ~GradientWindow() {
        Form->Release();
        PumpMessages();
    }
};

// Every pixel of line i (a row, or a column when horizontal) is the colour of line i.
void ExpectGradient(const CapturedImage& image, COLORREF first, COLORREF second, bool horizontal) {
    const int lines = horizontal ? image.Width : image.Height;
    const int across = horizontal ? image.Height : image.Width;
    ASSERT_GT(lines, 0);
    for (int i = 0; i < lines; ++i) {
        const COLORREF expected = GradientLineColour(first, second, i, lines);
        for (int j = 0; j < across; ++j) {
            const COLORREF pixel = horizontal ? image.At(i, j) : image.At(j, i);
            ASSERT_EQ(expected, pixel) << "line " << i << ", pixel " << j;
        }
    }
}

struct GradientArguments {
    RECT Area;
    COLORREF First;
    COLORREF Second;
    bool Horizontal;
    bool Stretched;
};

void DrawGradient(HDC dc, void* context) {
    const GradientArguments* arguments = static_cast<const GradientArguments*>(context);
    if (arguments->Stretched)
        PaintGradientStretched(dc, arguments->Area, arguments->First, arguments->Second,
                               arguments->Horizontal);
    else
        PaintGradientByLines(dc, arguments->Area, arguments->First, arguments->Second,
                             arguments->Horizontal);
}

}  // namespace

TEST(GradientLineColourTest, ChannelsMoveSeparatelyAndTruncateTowardZero) {
    EXPECT_EQ(Black, GradientLineColour(Black, Red, 0, 40));
    EXPECT_EQ(RGB(6, 0, 0), GradientLineColour(Black, Red, 1, 40));
    EXPECT_EQ(RGB(248, 0, 0), GradientLineColour(Black, Red, 39, 40));
    // 200 - 200 * 1 / 3: the step -66.67 is cut to -66, not rounded down to -67
    EXPECT_EQ(RGB(134, 0, 0), GradientLineColour(RGB(200, 0, 0), Black, 1, 3));
    EXPECT_EQ(RGB(20, 150, 99), GradientLineColour(RGB(0, 200, 99), RGB(40, 100, 99), 1, 2));
    // the top bar: (128, 128, 192) towards white over 63 lines; the last line stops short
    const COLORREF top = RGB(128, 128, 192);
    EXPECT_EQ(top, GradientLineColour(top, RGB(255, 255, 255), 0, 63));
    EXPECT_EQ(RGB(252, 252, 254), GradientLineColour(top, RGB(255, 255, 255), 62, 63));
    EXPECT_EQ(RGB(1, 2, 3), GradientLineColour(RGB(1, 2, 3), RGB(200, 200, 200), 0, 0));
}

TEST(GradientPaintTest, BothWaysPaintTheSamePixels) {
    const COLORREF first = RGB(128, 128, 192);
    const COLORREF second = RGB(255, 255, 255);
    for (bool horizontal : {false, true}) {
        GradientArguments stretched = {{3, 2, 3 + 37, 2 + 23}, first, second, horizontal, true};
        GradientArguments byLines = stretched;
        byLines.Stretched = false;
        const CapturedImage a = CaptureDrawing(45, 30, RGB(9, 9, 9), DrawGradient, &stretched);
        const CapturedImage b = CaptureDrawing(45, 30, RGB(9, 9, 9), DrawGradient, &byLines);
        ASSERT_FALSE(a.Empty());
        EXPECT_EQ(a.Pixels, b.Pixels) << (horizontal ? "horizontal" : "vertical");
        // nothing outside the area is touched
        EXPECT_EQ(RGB(9, 9, 9), a.At(2, 2));
        EXPECT_EQ(RGB(9, 9, 9), a.At(40, 10));
        EXPECT_EQ(RGB(9, 9, 9), a.At(10, 25));
        EXPECT_EQ(first, a.At(3, 2));
    }
}

TEST(GradientPanelTest, FortyPixelPanelGoesFromBlackToRedOnPrintClient) {
    GradientWindow window(60, 40, 0x000000, 0x0000FF);
    const CapturedImage image = CapturePrintClient(window.Panel->Handle);
    ASSERT_EQ(40, image.Height);
    EXPECT_EQ(0, GetRValue(image.At(0, 0)));
    EXPECT_EQ(248, GetRValue(image.At(0, 39)));
    EXPECT_EQ(248, GetRValue(image.At(59, 39)));
    ExpectGradient(image, Black, Red, false);
}

TEST(GradientPanelTest, ScreenShowsTheGradientAfterPaint) {
    GradientWindow window(50, 40, 0x000000, 0x0000FF);
    const CapturedImage image = CaptureOnScreen(window.Panel->Handle);
    ASSERT_EQ(40, image.Height);
    ExpectGradient(image, Black, Red, false);
}

TEST(GradientPanelTest, HorizontalPanelGoesFromLeftToRight) {
    GradientWindow window(64, 20, 0x00FF0000, 0x000000FF, true);
    const CapturedImage image = CaptureOnScreen(window.Panel->Handle);
    ASSERT_EQ(64, image.Width);
    EXPECT_EQ(RGB(0, 0, 255), image.At(0, 10));
    ExpectGradient(image, RGB(0, 0, 255), RGB(255, 0, 0), true);
}

TEST(GradientPanelTest, SystemColoursAreResolvedWhenPainting) {
    GradientWindow window(30, 20, ColourBtnFace, ColourWindow);
    const CapturedImage image = CapturePrintClient(window.Panel->Handle);
    ExpectGradient(image, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW), false);
}

TEST(GradientPanelTest, ResizedPanelSpreadsTheGradientOverItsNewHeight) {
    GradientWindow window(40, 40, 0x000000, 0x0000FF);
    window.Panel->Resize(40, 80);
    RepaintNow(window.Form->Handle);
    const CapturedImage image = CaptureOnScreen(window.Panel->Handle);
    ASSERT_EQ(80, image.Height);
    EXPECT_EQ(RGB(251, 0, 0), image.At(0, 79));
    ExpectGradient(image, Black, Red, false);
}

namespace {

void MarkCorner(void* context, Control*, HDC dc) {
    ++*static_cast<int*>(context);
    SetPixel(dc, 0, 0, RGB(0, 255, 0));
}

}  // namespace

TEST(GradientPanelTest, PaintEventDrawsAfterTheGradient) {
    GradientWindow window(30, 30, 0x000000, 0x0000FF);
    int calls = 0;
    window.Panel->SetPaintEvent(MarkCorner, &calls);
    RepaintNow(window.Form->Handle);
    const CapturedImage image = CaptureOnScreen(window.Panel->Handle);
    EXPECT_GE(calls, 1);
    EXPECT_EQ(RGB(0, 255, 0), image.At(0, 0));
    EXPECT_EQ(GradientLineColour(Black, Red, 0, 30), image.At(1, 0));
}
