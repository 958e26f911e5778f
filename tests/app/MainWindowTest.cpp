// The main window built in-process with BuildMainWindow, shown on the test's display and
// driven through real window messages.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "control/Control.h"
#include "control/ListView.h"
#include "control/MessageLoop.h"
#include "control/StringList.h"
#include "search/ResultList.h"
#include "support/MainWindowFixture.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ProgramTexts.h"
#include "support/ScratchFolder.h"
#include "support/UserInput.h"
#include "support/WindowCapture.h"

namespace {

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

SIZE CaptionExtent(Control* control) {
    SIZE size = {};
    HDC dc = GetDC(control->Handle);
    HGDIOBJ old = SelectObject(dc, control->Font()->FontHandle());
    const std::string caption = WindowText(control->Handle);
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control->Handle, dc);
    return size;
}

void ExpectRect(HWND window, int left, int top, int right, int bottom, const char* name) {
    const RECT rect = RectInParent(window);
    EXPECT_EQ(rect.left, left) << name;
    EXPECT_EQ(rect.top, top) << name;
    EXPECT_EQ(rect.right, right) << name;
    EXPECT_EQ(rect.bottom, bottom) << name;
}

int ColumnWidth(Control* list, int column) {
    return static_cast<int>(SendMessageA(list->Handle, LVM_GETCOLUMNWIDTH, column, 0));
}

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        SetForegroundWindow(form_->Handle);
        PumpFor(100);
    }

    // Lists the scratch folder's files with the window's own search.
    void Find(const std::string& folder, const std::string& mask) {
        window_->FolderEdit->SetText(folder);
        window_->MaskCombo->SetText(mask);
        Click(window_->FindButton);
        PumpFor(100);
    }

    // Runs body inside the program's own run loop (as a posted message), which ends when the
    // window closes: body closes it, or the window is closed once body has returned. The
    // loop destroys the form and the main window object.
    void RunInLoop(const std::function<void()>& body) {
        const UINT runBody = WM_APP + 0x51;
        form_->AttachMessageProc(
            [](Control* control, MessageRecord& message, LRESULT& result, void* argument) {
                if (message.Message != WM_APP + 0x51)
                    return false;
                (*static_cast<const std::function<void()>*>(argument))();
                if (control->Handle)
                    PostMessageA(control->Handle, WM_CLOSE, 0, 0);
                result = 0;
                return true;
            },
            const_cast<std::function<void()>*>(&body));
        PostMessageA(form_->Handle, runBody, 0, 0);
        RunLoop(form_);
        window_ = nullptr;
    }
};

TEST_F(MainWindowTest, StartsUnderItsTitleInRenameModeWithoutAnyMessageBox) {
    EXPECT_EQ(WindowText(form_->Handle), ProgramTitle);
    EXPECT_TRUE(IsWindowVisible(form_->Handle));
    EXPECT_EQ(window_->FolderEdit->GetText(), "C:\\");
    EXPECT_EQ(window_->MaskCombo->GetText(), "*.exe");
    const char* const masks[] = {"*.exe", "*.dll", "*.vrs", "*.exe;*.dll;*.scr", "*.*"};
    ASSERT_EQ(window_->MaskCombo->ItemCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(window_->MaskCombo->ItemText(i), masks[i]);
    EXPECT_EQ(SendMessageA(window_->RenameWithRadio->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(window_->DeleteInfectedRadio->Handle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(window_->RenameWithEdit->GetText(), "_vrs");
    EXPECT_EQ(window_->RenameFilesEdit->GetText(), "vrs");
    EXPECT_EQ(window_->InfoLabel->GetText(), "Information");
    EXPECT_TRUE(answerer_.Boxes().empty());

    EXPECT_EQ(window_->SearchStopped, 1);
    EXPECT_EQ(window_->Searching, 0);
    EXPECT_EQ(window_->RestoreStopRequested, 0);
    ASSERT_NE(window_->OffsetList, nullptr);
    EXPECT_EQ(StringListCount(window_->OffsetList), 0);
    EXPECT_EQ(ApplicationObject(), form_);
}

TEST_F(MainWindowTest, FormSitsAt191By105WithA698By436ClientArea) {
    RECT outer = {};
    GetWindowRect(form_->Handle, &outer);
    EXPECT_EQ(outer.left, 191);
    EXPECT_EQ(outer.top, 105);
    RECT client = {};
    GetClientRect(form_->Handle, &client);
    EXPECT_EQ(client.right, 698);
    EXPECT_EQ(client.bottom, 436);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(form_->Handle, GWL_STYLE));
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    LOGFONTA font = form_->Font()->LogFont();
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, 14);
    EXPECT_LT(font.lfWeight, FW_BOLD);
}

TEST_F(MainWindowTest, FourAreasAreDockedInCreationOrder) {
    ExpectRect(window_->TopBar->Handle, 2, 2, 696, 65, "TopBar");
    ExpectRect(window_->ResultListView->Handle, 2, 67, 696, 382, "ResultListView");
    ExpectRect(window_->CommandBar->Handle, 2, 384, 696, 415, "CommandBar");
    ExpectRect(window_->InfoLabel->Handle, 2, 417, 696, 434, "InfoLabel");
}

TEST_F(MainWindowTest, DockedAreasFollowAResizeWhileBarContentsStayPut) {
    form_->SetClientSize(800, 500);
    PumpFor(100);
    ExpectRect(window_->TopBar->Handle, 2, 2, 798, 65, "TopBar");
    ExpectRect(window_->ResultListView->Handle, 2, 67, 798, 446, "ResultListView");
    ExpectRect(window_->CommandBar->Handle, 2, 448, 798, 479, "CommandBar");
    ExpectRect(window_->InfoLabel->Handle, 2, 481, 798, 498, "InfoLabel");
    ExpectRect(window_->AboutButton->Handle, 648, 8, 689, 57, "AboutButton");
    ExpectRect(window_->RenameFilesEdit->Handle, 638, 7, 688, 25, "RenameFilesEdit");
}

TEST_F(MainWindowTest, ControlsSitAtTheirPositionsInsideTheirBars) {
    struct Placement {
        Control* Item;
        Control* Parent;
        int Left, Top, Width, Height;
        const char* Name;
    };
    MainWindow& w = *window_;
    const Placement placements[] = {
        {w.FindButton, w.TopBar, 222, 35, 64, 22, "Find"},
        {w.FolderEdit, w.TopBar, 64, 9, 289, 22, "FolderEdit"},
        {w.BrowseButton, w.TopBar, 357, 9, 25, 22, "..."},
        {w.RestoreButton, w.TopBar, 386, 9, 105, 22, "Restore File"},
        {w.StopButton, w.TopBar, 288, 35, 65, 22, "Stop"},
        {w.StopRestoreButton, w.TopBar, 386, 35, 105, 22, "Stop Restore"},
        {w.OptionsGroup, w.TopBar, 496, 1, 145, 57, "OptionsGroup"},
        {w.AboutButton, w.TopBar, 648, 8, 41, 49, "About"},
        {w.RenameWithEdit, w.OptionsGroup, 96, 34, 41, 18, "RenameWithEdit"},
        {w.DeleteFilesButton, w.CommandBar, 468, 3, 80, 22, "Delete files"},
        {w.RenameFilesButton, w.CommandBar, 552, 3, 80, 22, "Rename files"},
        {w.RenameFilesEdit, w.CommandBar, 638, 7, 50, 18, "RenameFilesEdit"},
        {w.ClearAllButton, w.CommandBar, 91, 3, 80, 22, "Clear All"},
        {w.ClearResultButton, w.CommandBar, 175, 3, 80, 22, "Clear Result"},
        {w.DeleteListButton, w.CommandBar, 259, 3, 80, 22, "Delete list"},
        {w.SelectAllButton, w.CommandBar, 7, 3, 80, 22, "Select All"},
    };
    for (const Placement& p : placements) {
        EXPECT_EQ(GetParent(p.Item->Handle), p.Parent->Handle) << p.Name;
        ExpectRect(p.Item->Handle, p.Left, p.Top, p.Left + p.Width, p.Top + p.Height, p.Name);
    }
    // The drop-down combo box's visible height follows its font; its place and width are fixed.
    const RECT combo = RectInParent(w.MaskCombo->Handle);
    EXPECT_EQ(combo.left, 64);
    EXPECT_EQ(combo.top, 35);
    EXPECT_EQ(combo.right - combo.left, 153);

    // Labels and radio buttons are fitted to their captions in their own fonts.
    struct Fitted {
        Control* Item;
        Control* Parent;
        int Left, Top, PadX, PadY;
        const char* Name;
    };
    const Fitted fitted[] = {
        {w.LookInLabel, w.TopBar, 6, 13, 1, 1, "Look in"},
        {w.ExtensionLabel, w.TopBar, 6, 39, 1, 1, "Extention"},
        {w.DeleteInfectedRadio, w.OptionsGroup, 5, 14, 24, 6, "Delete infected files"},
        {w.RenameWithRadio, w.OptionsGroup, 5, 35, 24, 6, "Rename with"},
    };
    for (const Fitted& f : fitted) {
        EXPECT_EQ(GetParent(f.Item->Handle), f.Parent->Handle) << f.Name;
        const SIZE text = CaptionExtent(f.Item);
        ExpectRect(f.Item->Handle, f.Left, f.Top, f.Left + text.cx + f.PadX,
                   f.Top + text.cy + f.PadY, f.Name);
        EXPECT_TRUE(f.Item->Transparent) << f.Name;
    }
    EXPECT_GE(w.LookInLabel->Font()->Weight, FW_BOLD);
    EXPECT_GE(w.ExtensionLabel->Font()->Weight, FW_BOLD);
    EXPECT_LT(w.DeleteInfectedRadio->Font()->Weight, FW_BOLD);
}

TEST_F(MainWindowTest, BarsEditsAndListCarryTheirLook) {
    MainWindow& w = *window_;
    EXPECT_EQ(w.TopBar->GradientColour1, 0xC08080u);
    EXPECT_EQ(w.TopBar->GradientColour2, 0xFFFFFFu);
    EXPECT_EQ(w.TopBar->Margin, 0);
    EXPECT_EQ(w.CommandBar->Colour, 0xDFBDBDu);
    EXPECT_EQ(w.CommandBar->Margin, 0);
    EXPECT_NE(GetWindowLongPtrA(w.CommandBar->Handle, GWL_STYLE) & SS_SUNKEN, 0);
    EXPECT_EQ(w.InfoLabel->Colour, ColourBtnFace);

    for (Control* edit : {w.FolderEdit, w.RenameWithEdit, w.RenameFilesEdit}) {
        // The edit control takes WS_BORDER out of its window style and draws the thin frame itself.
        const LONG_PTR style = GetWindowLongPtrA(edit->Handle, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrA(edit->Handle, GWL_EXSTYLE);
        EXPECT_NE(edit->Style & WS_BORDER, 0u);
        EXPECT_FALSE(edit->Ctl3D);
        EXPECT_EQ(exStyle & WS_EX_CLIENTEDGE, 0);
        EXPECT_NE(style & ES_AUTOHSCROLL, 0);
        EXPECT_EQ(edit->Colour, ColourWindow);
    }
    const LONG_PTR comboStyle = GetWindowLongPtrA(w.MaskCombo->Handle, GWL_STYLE);
    EXPECT_EQ(comboStyle & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST), CBS_DROPDOWN);
    EXPECT_NE(comboStyle & CBS_NOINTEGRALHEIGHT, 0);
    EXPECT_NE(comboStyle & CBS_AUTOHSCROLL, 0);

    HWND list = w.ResultListView->Handle;
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    // Multi-select, kept in ascending Name order: by the layer, the control is not asked to sort.
    EXPECT_EQ(w.ResultListView->ListViewOptions, ResultListOptions);
    EXPECT_EQ(style & (LVS_SORTASCENDING | LVS_SORTDESCENDING), 0);
    EXPECT_NE(style & LVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(style & LVS_SINGLESEL, 0);
    const DWORD extended =
        static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    const DWORD wanted = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    EXPECT_EQ(extended & wanted, wanted);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(list, LVM_GETBKCOLOR, 0, 0)),
              GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(w.ResultListView->DoubleBuffered);

    struct Column {
        const char* Header;
        int Width;
        int Format;
    };
    const Column columns[] = {{"Name", 150, LVCFMT_LEFT},
                              {"Path", 200, LVCFMT_LEFT},
                              {"Size (bytes)", 100, LVCFMT_RIGHT},
                              {"Status", 100, LVCFMT_CENTER},
                              {"Information", 100, LVCFMT_LEFT}};
    for (int i = 0; i < 5; ++i) {
        char header[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = header;
        column.cchTextMax = sizeof header;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, columns[i].Header);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].Format) << header;
        if (i < 4) {
            EXPECT_EQ(column.cx, columns[i].Width) << header;
        }
    }
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 5, 0));
}

TEST_F(MainWindowTest, PushButtonsAreBoldWhiteOnTheirNormalColour) {
    MainWindow& w = *window_;
    struct Expected {
        Control* Button;
        const char* Caption;
        ColourValue Colour;
        bool NoFocus;
    };
    const Expected buttons[] = {
        {w.DeleteFilesButton, "Delete files", 0x000080, false},
        {w.RenameFilesButton, "Rename files", 0x000080, false},
        {w.ClearAllButton, "Clear All", 0xC08080, false},
        {w.ClearResultButton, "Clear Result", 0xC08080, false},
        {w.DeleteListButton, "Delete list", 0xC08080, false},
        {w.SelectAllButton, "Select All", 0xC08080, false},
        {w.FindButton, "Find", 0xC08080, true},
        {w.BrowseButton, "...", 0xC08080, true},
        {w.RestoreButton, "Restore File", 0xC08080, true},
        {w.StopButton, "Stop", 0xC08080, true},
        {w.StopRestoreButton, "Stop Restore", 0xC08080, false},
        {w.AboutButton, "About", 0xC08080, false},
    };
    for (const Expected& e : buttons) {
        Control* b = e.Button;
        EXPECT_EQ(WindowText(b->Handle), e.Caption);
        EXPECT_EQ(b->Colour, e.Colour) << e.Caption;
        EXPECT_EQ(b->Font()->Colour, 0xFFFFFFu) << e.Caption;
        EXPECT_STREQ(b->Font()->FaceName, "Arial") << e.Caption;
        EXPECT_EQ(b->Font()->Height, 14) << e.Caption;
        EXPECT_GE(b->Font()->Weight, FW_BOLD) << e.Caption;
        EXPECT_EQ(b->ButtonOptionSet, static_cast<unsigned>(ButtonNoBorder)) << e.Caption;
        EXPECT_EQ(b->PressShiftX, 1) << e.Caption;
        EXPECT_EQ(b->PressShiftY, 1) << e.Caption;
        const bool tabStop = (GetWindowLongPtrA(b->Handle, GWL_STYLE) & WS_TABSTOP) != 0;
        EXPECT_EQ(tabStop, !e.NoFocus) << e.Caption;
        EXPECT_EQ(b->TabStop, !e.NoFocus) << e.Caption;
    }
}

// Every pixel of the outermost ring of the button shows the face colour.
void ExpectNoFrame(Control* button, const char* state) {
    RedrawWindow(button->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const COLORREF face = ResolveColour(button->Colour);
    const COLORREF caption = ResolveColour(button->Font()->Colour);
    RECT client = {};
    GetClientRect(button->Handle, &client);
    HDC dc = GetDC(button->Handle);
    int wrong = 0;
    for (int x = 0; x < client.right; ++x)
        for (int y :
             {0, 1, static_cast<int>(client.bottom) - 2, static_cast<int>(client.bottom) - 1})
            wrong += GetPixel(dc, x, y) != face;
    for (int y = 0; y < client.bottom; ++y)
        for (int x : {0, 1, static_cast<int>(client.right) - 2, static_cast<int>(client.right) - 1})
            wrong += GetPixel(dc, x, y) != face;
    int captionPixels = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            captionPixels += GetPixel(dc, x, y) == caption;
    ReleaseDC(button->Handle, dc);
    EXPECT_EQ(wrong, 0) << WindowText(button->Handle) << " " << state;
    EXPECT_GT(captionPixels, 0) << WindowText(button->Handle) << " " << state;
}

TEST_F(MainWindowTest, PushButtonsShowNoFrameInAnyState) {
    MainWindow& w = *window_;
    Control* const buttons[] = {w.DeleteFilesButton, w.RenameFilesButton, w.ClearAllButton,
                                w.ClearResultButton, w.DeleteListButton,  w.SelectAllButton,
                                w.FindButton,        w.BrowseButton,      w.RestoreButton,
                                w.StopButton,        w.StopRestoreButton, w.AboutButton};
    for (Control* b : buttons) {
        ExpectNoFrame(b, "normal");

        RECT rect = {};
        GetWindowRect(b->Handle, &rect);
        SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PumpFor(60);
        ExpectNoFrame(b, "hot");

        SendMessageA(b->Handle, BM_SETSTATE, TRUE, 0);
        ExpectNoFrame(b, "pressed");
        SendMessageA(b->Handle, BM_SETSTATE, FALSE, 0);

        SetCursorPos(0, 0);
        PumpFor(60);
        if (b->TabStop) {
            SetFocus(b->Handle);
            PumpMessages();
            ExpectNoFrame(b, "focused");
        }
        EnableWindow(b->Handle, FALSE);
        ExpectNoFrame(b, "disabled");
        EnableWindow(b->Handle, TRUE);
    }
}

TEST_F(MainWindowTest, PointingAtAButtonHighlightsItAndLeavingRestoresIt) {
    Control* button = window_->DeleteFilesButton;
    RECT rect = {};
    GetWindowRect(button->Handle, &rect);
    SetCursorPos(rect.left + 10, rect.top + 10);
    PumpFor(150);
    EXPECT_EQ(button->Colour, 0xFFFFFFu);
    EXPECT_EQ(button->Font()->Colour, 0x000080u);
    // Leaving is reported by the platform's mouse tracking, which checks the cursor on a timer.
    SetCursorPos(0, 0);
    PumpFor(1000);
    EXPECT_EQ(button->Colour, 0x000080u);
    EXPECT_EQ(button->Font()->Colour, 0xFFFFFFu);
}

TEST_F(MainWindowTest, InformationColumnFollowsTheListWidthAbove560Pixels) {
    Control* list = window_->ResultListView;
    form_->SetClientSize(565, 0);
    PumpFor(100);
    ASSERT_EQ(list->Width(), 561);
    EXPECT_EQ(ColumnWidth(list, 4), 6);

    form_->SetClientSize(700, 0);
    PumpFor(100);
    ASSERT_EQ(list->Width(), 696);
    EXPECT_EQ(ColumnWidth(list, 4), 141);

    form_->SetClientSize(564, 0);
    PumpFor(100);
    ASSERT_EQ(list->Width(), 560);
    EXPECT_EQ(ColumnWidth(list, 4), 141);
    EXPECT_EQ(ColumnWidth(list, 0), 150);
}

TEST_F(MainWindowTest, KeyboardFocusStartsInTheListAndTabLeavesItThere) {
    HWND list = window_->ResultListView->Handle;
    EXPECT_EQ(GetFocus(), list);
    PostMessageA(list, WM_KEYDOWN, VK_TAB, KeyStroke(TabScanCode, false));
    PostMessageA(list, WM_CHAR, '\t', KeyStroke(TabScanCode, false));
    PostMessageA(list, WM_KEYUP, VK_TAB, KeyStroke(TabScanCode, true));
    PumpFor(100);
    EXPECT_EQ(GetFocus(), list);
}

TEST_F(MainWindowTest, FindAndRestoreLeaveTheFocusWhereItWas) {
    scratch::ScratchFolder folder("qf-focus");
    folder.WriteFile("a.exe", "MZ no document here");

    HWND edit = window_->FolderEdit->Handle;
    window_->FolderEdit->SetText(folder.Root());
    SetFocus(edit);
    PumpMessages();
    ASSERT_EQ(GetFocus(), edit);
    Click(window_->FindButton);
    PumpFor(100);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(RowCount(window_->ResultListView), 1);

    HWND list = window_->ResultListView->Handle;
    SetFocus(list);
    PumpMessages();
    Click(window_->RestoreButton);
    PumpFor(100);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_FALSE(answerer_.MessageBoxes().empty());  // the restore's summary

    Click(window_->StopButton);
    answerer_.Enqueue(IDCANCEL);
    Click(window_->BrowseButton);
    PumpFor(100);
    EXPECT_EQ(GetFocus(), list);
}

TEST_F(MainWindowTest, CloseIsRefusedDuringASearchAndAcceptedAfterIt) {
    scratch::ScratchFolder folder("qf-close");
    for (const char* name : {"one\\a.exe", "two\\b.exe", "three\\c.exe", "four\\d.exe", "e.exe"})
        folder.WriteFile(name, "MZ");

    bool closed = false;
    RunInLoop([&] {
        // The close request waits in the queue; the search lets it through between folders.
        PostMessageA(form_->Handle, WM_CLOSE, 0, 0);
        Find(folder.Root(), "*.exe");

        ASSERT_TRUE(IsWindow(form_->Handle));
        const std::vector<AnsweredBox> boxes = answerer_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, "Before Close this window, Stop the searching First");
        EXPECT_EQ(boxes[0].Flags, uint32_t{MB_ICONERROR});
        EXPECT_EQ(boxes[0].Caption, ProgramTitle);
        EXPECT_EQ(RowCount(window_->ResultListView), 5);  // the search went on to the end
        EXPECT_EQ(window_->SearchStopped, 1);
        EXPECT_NE(window_->OffsetList, nullptr);  // a later restore still has its list

        HWND formWindow = form_->Handle;
        SendMessageA(formWindow, WM_CLOSE, 0, 0);
        closed = !IsWindow(formWindow);
        EXPECT_EQ(window_->OffsetList, nullptr);
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(form_, nullptr);  // the run loop ended and released the window
    EXPECT_EQ(answerer_.MessageBoxes().size(), 1u);
}

TEST_F(MainWindowTest, CloseDuringARestoreKeepsTheOffsetListForTheRestore) {
    window_->RunActive = true;  // a restore works on the rows
    HWND formWindow = form_->Handle;
    SendMessageA(formWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_NE(window_->OffsetList, nullptr);
    EXPECT_TRUE(answerer_.MessageBoxes().empty());
    window_->RunActive = false;
}

TEST_F(MainWindowTest, StopEndsARunningSearch) {
    scratch::ScratchFolder folder("qf-stop");
    for (const char* name : {"one\\a.exe", "two\\b.exe", "three\\c.exe"})
        folder.WriteFile(name, "MZ");
    // The click waits in the queue and reaches "Stop" at the search's first folder step.
    PostMessageA(window_->StopButton->Handle, BM_CLICK, 0, 0);
    Find(folder.Root(), "*.exe");
    EXPECT_EQ(window_->SearchStopped, 1);
    const int found = RowCount(window_->ResultListView);
    EXPECT_LT(found, 3) << "the walk went on after the stop";
    EXPECT_EQ(window_->InfoLabel->GetText(),
              "Searching stopped, found " + GroupedNumber(found) + " Files");
}

TEST_F(MainWindowTest, OptionAboutAndBrowseCommandsAreWired) {
    Click(window_->DeleteInfectedRadio);
    PumpMessages();
    EXPECT_EQ(SendMessageA(window_->DeleteInfectedRadio->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(window_->RenameWithRadio->Handle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Click(window_->RenameWithRadio);
    PumpMessages();
    EXPECT_EQ(SendMessageA(window_->RenameWithRadio->Handle, BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(window_->AboutButton);
    PumpMessages();

    std::vector<AnsweredBox> boxes = answerer_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Flags, uint32_t{MB_ICONWARNING});
    EXPECT_EQ(boxes[0].Text.rfind("Peringatan...", 0), 0u);
    EXPECT_EQ(boxes[1].Flags, uint32_t{MB_ICONINFORMATION});
    EXPECT_EQ(boxes[1].Text, AboutText());

    answerer_.ClearBoxes();
    answerer_.Enqueue(IDCANCEL);
    Click(window_->BrowseButton);
    PumpMessages();
    ASSERT_EQ(answerer_.Boxes().size(), 1u);
    EXPECT_FALSE(answerer_.Boxes()[0].IsMessageBox);
    EXPECT_EQ(window_->FolderEdit->GetText(), "C:\\");
}

TEST_F(MainWindowTest, ColumnClickSortsUnlessASearchOrRestoreRuns) {
    ResultList rows(window_->ResultListView);
    rows.SetCell(rows.AddRow("a.exe"), PathColumn, "C:\\z\\");
    rows.SetCell(rows.AddRow("b.exe"), PathColumn, "C:\\y\\");
    ASSERT_EQ(rows.GetCell(0, NameColumn), "a.exe");

    // A click while either run is busy leaves the rows as they are.
    const struct {
        const char* Run;
        std::function<void(bool)> Set;
    } runs[] = {{"searching", [this](bool on) { window_->Searching = on ? 1 : 0; }},
                {"restoring", [this](bool on) { window_->RunActive = on; }}};
    for (const auto& run : runs) {
        run.Set(true);
        ClickColumnHeader(window_->ResultListView, PathColumn);
        EXPECT_EQ(rows.GetCell(0, NameColumn), "a.exe") << run.Run;
        run.Set(false);
    }

    ClickColumnHeader(window_->ResultListView, PathColumn);
    EXPECT_EQ(rows.GetCell(0, NameColumn), "b.exe");
    EXPECT_EQ(rows.GetCell(1, NameColumn), "a.exe");
}

}  // namespace
