#include <gtest/gtest.h>

#include <string>

#include "ControlTestHelpers.h"
#include "control/Control.h"

namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = CreateForm(nullptr, "Layout test");
        form_->SetPosition(30, 30)->SetClientSize(698, 436);
        form_->SetFontName("Arial")->SetFontHeight(14);
    }
    void TearDown() override {
        if (form_)
            form_->Release();
    }

    Control* Panel(Control* parent, int width, int height) {
        return CreatePanel(parent, PanelNone)->Resize(width, height);
    }

    Control* form_ = nullptr;
};

// The text extent of a caption in Arial 14 with the given weight, measured independently.
SIZE ArialExtent(const std::string& text, LONG weight) {
    LOGFONTA font = {};
    font.lfHeight = 14;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    strcpy(font.lfFaceName, "Arial");
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, handle);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(handle);
    return size;
}

TEST_F(LayoutTest, MainWindowDocking) {
    Control* info = CreateLabel(form_, "Information")->Resize(0, 17);
    info->SetAlign(AlignBottom);
    Control* list = Panel(form_, 200, 150);
    list->SetAlign(AlignClient);
    Control* commandBar = CreatePanel(form_, PanelLowered)->SetMargin(0)->Resize(0, 31);
    commandBar->SetAlign(AlignBottom);
    Control* topBar = CreateGradientPanel(form_, 0xC08080, 0xFFFFFF)->SetMargin(0)->Resize(0, 63);
    topBar->SetAlign(AlignTop);
    Control* find =
        CreateButton(topBar, "Find", ButtonNoBorder, 0, nullptr, 0)->SetPosition(222, 35);

    ExpectRect(topBar->Bounds, 2, 2, 696, 65);
    ExpectRect(list->Bounds, 2, 67, 696, 382);
    ExpectRect(commandBar->Bounds, 2, 384, 696, 415);
    ExpectRect(info->Bounds, 2, 417, 696, 434);
    // The first SetAlign created the form's window, hidden until the loop shows it.
    ASSERT_NE(form_->Handle, nullptr);
    EXPECT_FALSE(IsWindowVisible(form_->Handle));

    ASSERT_TRUE(form_->CreateWindowHandle());
    EXPECT_TRUE(IsWindowVisible(form_->Handle));
    ExpectRect(RectInParent(topBar->Handle), 2, 2, 696, 65);
    ExpectRect(RectInParent(list->Handle), 2, 67, 696, 382);
    ExpectRect(RectInParent(commandBar->Handle), 2, 384, 696, 415);
    ExpectRect(RectInParent(info->Handle), 2, 417, 696, 434);
    ExpectRect(RectInParent(find->Handle), 222, 35, 286, 57);

    // Enlarging the window widens the fill area; bars keep their heights.
    form_->SetClientSize(798, 536);
    ExpectRect(RectInParent(topBar->Handle), 2, 2, 796, 65);
    ExpectRect(RectInParent(list->Handle), 2, 67, 796, 482);
    ExpectRect(RectInParent(commandBar->Handle), 2, 484, 796, 515);
    ExpectRect(RectInParent(info->Handle), 2, 517, 796, 534);
    ExpectRect(RectInParent(find->Handle), 222, 35, 286, 57);
}

TEST_F(LayoutTest, TwoTopChildrenStackWithTheMargin) {
    Control* parent = Panel(form_, 300, 200);
    Control* first = Panel(parent, 10, 20);
    Control* second = Panel(parent, 10, 30);
    first->SetAlign(AlignTop);
    second->SetAlign(AlignTop);
    ExpectRect(first->Bounds, 2, 2, 298, 22);
    ExpectRect(second->Bounds, 2, 24, 298, 54);
}

TEST_F(LayoutTest, LeftRightAndClientShareTheRest) {
    Control* parent = Panel(form_, 300, 200);
    Control* left = Panel(parent, 40, 10);
    Control* right = Panel(parent, 50, 10);
    Control* fill = Panel(parent, 10, 10);
    Control* top = Panel(parent, 10, 20);
    left->SetAlign(AlignLeft);
    right->SetAlign(AlignRight);
    fill->SetAlign(AlignClient);
    top->SetAlign(AlignTop);
    ExpectRect(top->Bounds, 2, 2, 298, 22);
    ExpectRect(left->Bounds, 2, 24, 42, 198);
    ExpectRect(right->Bounds, 248, 24, 298, 198);
    ExpectRect(fill->Bounds, 44, 24, 246, 198);
}

TEST_F(LayoutTest, ClientChildLeavesRoomForALaterBottomChild) {
    Control* parent = Panel(form_, 300, 200);
    Control* fill = Panel(parent, 10, 10);
    fill->SetAlign(AlignClient);
    ExpectRect(fill->Bounds, 2, 2, 298, 198);
    Control* bottom = Panel(parent, 10, 40);
    bottom->SetAlign(AlignBottom);
    ExpectRect(bottom->Bounds, 2, 158, 298, 198);
    ExpectRect(fill->Bounds, 2, 2, 298, 156);
}

TEST_F(LayoutTest, HiddenChildTakesNoSpaceUntilShown) {
    Control* parent = Panel(form_, 300, 200);
    Control* hidden = Panel(parent, 10, 30);
    hidden->SetVisible(false);
    hidden->SetAlign(AlignTop);
    Control* fill = Panel(parent, 10, 10);
    fill->SetAlign(AlignClient);
    ExpectRect(fill->Bounds, 2, 2, 298, 198);
    hidden->SetVisible(true);
    ExpectRect(hidden->Bounds, 2, 2, 298, 32);
    ExpectRect(fill->Bounds, 2, 34, 298, 198);
}

TEST_F(LayoutTest, ParentWithoutWidthLeavesItsChildrenWhereTheyAre) {
    Control* parent = Panel(form_, 300, 200);
    parent->Resize(1, 0);
    parent->Bounds.right = parent->Bounds.left;  // a parent not yet sized
    Control* child = Panel(parent, 10, 10)->SetPosition(5, 6);
    child->SetAlign(AlignClient);
    ExpectRect(child->Bounds, 5, 6, 15, 16);
}

TEST_F(LayoutTest, RectanglesAreNeverInverted) {
    Control* parent = Panel(form_, 30, 20);
    Control* top = Panel(parent, 10, 50);
    Control* fill = Panel(parent, 10, 10);
    top->SetAlign(AlignTop);
    fill->SetAlign(AlignClient);
    EXPECT_GE(fill->Width(), 0);
    EXPECT_EQ(fill->Height(), 0);
}

TEST_F(LayoutTest, GroupBoxOffsetsTheClientArea) {
    Control* group = CreateGroupBox(form_, "")->Resize(145, 57);
    Control* child = Panel(group, 10, 10);
    child->SetAlign(AlignClient);
    ExpectRect(child->Bounds, 4, 24, 141, 53);
}

TEST_F(LayoutTest, AnchorsFollowTheParentsGrowth) {
    Control* parent = Panel(form_, 300, 200);
    Control* both = Panel(parent, 50, 20)->SetPosition(10, 10);
    Control* right = Panel(parent, 50, 20)->SetPosition(10, 40);
    Control* left = Panel(parent, 50, 20)->SetPosition(10, 70);
    Control* bottom = Panel(parent, 50, 20)->SetPosition(10, 100);
    Control* tall = Panel(parent, 50, 20)->SetPosition(70, 100);
    both->SetAnchors(true, true, true, false);
    right->SetAnchors(false, true, true, false);
    left->SetAnchors(true, true, false, false);
    bottom->SetAnchors(true, false, false, true);
    tall->SetAnchors(true, true, false, true);
    ASSERT_TRUE(form_->CreateWindowHandle());
    parent->Resize(310, 210);
    ExpectRect(both->Bounds, 10, 10, 70, 30);
    ExpectRect(right->Bounds, 20, 40, 70, 60);
    ExpectRect(left->Bounds, 10, 70, 60, 90);
    ExpectRect(bottom->Bounds, 10, 110, 60, 130);
    ExpectRect(tall->Bounds, 70, 100, 120, 130);
    ExpectRect(RectInParent(right->Handle), 20, 40, 70, 60);
}

TEST_F(LayoutTest, MinimiseAndRestoreLeaveAnchoredChildrenInPlace) {
    Control* right = Panel(form_, 50, 20)->SetPosition(600, 10);
    right->SetAnchors(false, true, true, true);
    ASSERT_TRUE(form_->CreateWindowHandle());
    ShowWindow(form_->Handle, SW_MINIMIZE);
    PumpMessages();
    EXPECT_TRUE(IsIconic(form_->Handle));
    ExpectRect(right->Bounds, 600, 10, 650, 30);
    ShowWindow(form_->Handle, SW_RESTORE);
    PumpMessages();
    EXPECT_FALSE(IsIconic(form_->Handle));
    ExpectRect(right->Bounds, 600, 10, 650, 30);
    ExpectRect(RectInParent(right->Handle), 600, 10, 650, 30);
    form_->SetClientSize(708, 436);
    ExpectRect(right->Bounds, 610, 10, 660, 30);
}

TEST_F(LayoutTest, AutoSizedBoldLabelFitsItsText) {
    Control* label = CreateLabel(form_, "Look in")->SetPosition(6, 13);
    label->SetFontStyle(FontBold)->SetAutoSize(true)->SetTransparent(true);
    const SIZE text = ArialExtent("Look in", FW_BOLD);
    ASSERT_GT(text.cx, 0);
    ExpectRect(label->Bounds, 6, 13, 6 + text.cx + 1, 13 + text.cy + 1);
    ASSERT_TRUE(form_->CreateWindowHandle());
    ExpectRect(RectInParent(label->Handle), 6, 13, 6 + text.cx + 1, 13 + text.cy + 1);
    // Every text change fits again.
    label->SetText("Extention");
    const SIZE longer = ArialExtent("Extention", FW_BOLD);
    EXPECT_EQ(label->Width(), longer.cx + 1);
    label->SetText("");
    EXPECT_EQ(label->Width(), 1);
    EXPECT_EQ(label->Height(), 1);
}

TEST_F(LayoutTest, FontChangeAfterAutoSizeFitsAgain) {
    Control* label = CreateLabel(form_, "Look in")->SetAutoSize(true);
    EXPECT_EQ(label->Width(), ArialExtent("Look in", 0).cx + 1);
    label->SetFontStyle(FontBold);
    EXPECT_EQ(label->Width(), ArialExtent("Look in", FW_BOLD).cx + 1);
}

TEST_F(LayoutTest, AutoSizePaddingsDependOnTheKind) {
    Control* radio = CreateRadioButton(form_, "Rename with")->SetAutoSize(true);
    const SIZE text = ArialExtent("Rename with", 0);
    EXPECT_EQ(radio->Width(), text.cx + 24);
    EXPECT_EQ(radio->Height(), text.cy + 6);
    Control* button = CreateButton(form_, "About", 0, 0, nullptr, 0)->SetAutoSize(true);
    EXPECT_EQ(button->Width(), ArialExtent("About", 0).cx + 8);
    Control* edit = CreateEdit(form_, 0);
    edit->SetText("vrs");
    edit->SetAutoSize(true);
    EXPECT_EQ(edit->Width(), ArialExtent("vrs", 0).cx);
    EXPECT_EQ(edit->Height(), ArialExtent("vrs", 0).cy + 6);
}

TEST_F(LayoutTest, LeftAlignedAutoSizeChangesWidthOnly) {
    Control* parent = Panel(form_, 300, 200);
    Control* label = CreateLabel(parent, "Look in");
    label->SetAlign(AlignLeft);
    const int height = label->Height();
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), ArialExtent("Look in", 0).cx + 1);
    EXPECT_EQ(label->Height(), height);
    EXPECT_EQ(height, 196);
}

TEST_F(LayoutTest, ItalicMeasuresOneExtraSpace) {
    Control* label = CreateLabel(form_, "Look in");
    label->SetFontStyle(FontItalic)->SetAutoSize(true);
    LOGFONTA font = {};
    font.lfHeight = 14;
    font.lfItalic = 1;
    font.lfCharSet = DEFAULT_CHARSET;
    strcpy(font.lfFaceName, "Arial");
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, handle);
    SIZE size = {};
    GetTextExtentPoint32A(dc, "Look in ", 8, &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(handle);
    EXPECT_EQ(label->Width(), size.cx + 1);
}

// The height of text in Arial 14 broken into lines of at most width pixels.
int WrappedArialHeight(const std::string& text, int width) {
    LOGFONTA font = {};
    font.lfHeight = 14;
    font.lfCharSet = DEFAULT_CHARSET;
    strcpy(font.lfFaceName, "Arial");
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, handle);
    RECT rect = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(handle);
    return rect.bottom - rect.top;
}

TEST_F(LayoutTest, WordWrapMeasuresWithinTheWidth) {
    std::string text;
    for (int i = 0; i < 8; ++i)
        text += "one two three four five six seven eight ";
    const SIZE oneLine = ArialExtent(text, 0);
    ASSERT_GT(oneLine.cx, 2 * 694) << "the text must need three lines";
    Control* label = CreateLabel(form_, text)->Resize(60, 0);
    label->SetWordWrap(true);
    label->SetAlign(AlignTop);
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), 694);
    const int wrapped = WrappedArialHeight(text, 694);
    EXPECT_GE(wrapped, 3 * oneLine.cy);
    EXPECT_EQ(label->Height(), wrapped + 1);
}

}  // namespace
