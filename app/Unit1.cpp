#include "app/Unit1.h"

#include <windows.h>

#include "app/Commands.h"
#include "app/NoFocus.h"
#include "control/Control.h"
#include "control/FolderDialog.h"
#include "control/ListView.h"
#include "control/MessageBox.h"
#include "control/StringList.h"
#include "recovery/RestoreFiles.h"
#include "search/ResultList.h"
#include "search/StartSearch.h"

const char* const MainWindowTitle = "Quillfix 1.0 RC 2";

namespace {

const char* const BuildTitle = "Quillfix v1.00 beta";

// Colours as 0x00BBGGRR.
const ColourValue TopBarTopColour = 0xC08080;     // (128, 128, 192)
const ColourValue TopBarBottomColour = 0xFFFFFF;  // (255, 255, 255)
const ColourValue CommandBarColour = 0xDFBDBD;    // (189, 189, 223)
const ColourValue FileButtonColour = 0x000080;    // (128, 0, 0)
const ColourValue ListButtonColour = 0xC08080;    // (128, 128, 192)
const ColourValue CaptionColour = 0xFFFFFF;

const int FixedColumnsWidth = 555;  // columns 0 to 3 (550) and the list's frame
const int MinimumListWidth = 560;

MainWindow* WindowOf(void* context) {
    return static_cast<MainWindow*>(context);
}

// Released with the form: the offset list (when still held) and the object itself.
void ReleaseMainWindow(void* object) {
    auto* window = static_cast<MainWindow*>(object);
    if (window->OffsetList) {
        window->OffsetList->Release();
        window->OffsetList = nullptr;
    }
    delete window;
}

// Event adapters: the control layer calls (context, sender, ...).

void OnClose(void* context, Control* sender, bool& accept) {
    HandleClose(WindowOf(context), sender, accept);
}
void OnResize(void* context, Control* sender) {
    HandleResize(WindowOf(context), sender);
}

void OnListKeyDown(void* context, Control* sender, int& key, unsigned) {
    HandleListKeyDown(WindowOf(context), sender, key);
}

// Sorting reorders the rows under a running search or restore, which address rows by
// index; it waits until both have ended.
void OnColumnClick(void* context, Control* sender, int column) {
    MainWindow* window = WindowOf(context);
    ResultList(sender).SortOnColumnClick(column, window->Searching != 0 || window->RunActive);
}

void OnFind(void* context, Control*) {
    StartSearch(WindowOf(context));
}
void OnBrowse(void* context, Control*) {
    BrowseSearchFolder(WindowOf(context));
}
void OnStop(void* context, Control*) {
    StopSearch(WindowOf(context));
}

void OnRestore(void* context, Control*) {
    RestoreFiles(WindowOf(context));
}
void OnStopRestore(void* context, Control*) {
    StopRestore(WindowOf(context));
}
void OnAbout(void* context, Control*) {
    ShowAbout(WindowOf(context));
}
void OnDeleteFiles(void* context, Control*) {
    ProcessSelectedFiles(WindowOf(context), SelectedFilesMode::Delete);
}
void OnRenameFiles(void* context, Control*) {
    ProcessSelectedFiles(WindowOf(context), SelectedFilesMode::Rename);
}
void OnSelectAll(void* context, Control*) {
    SelectAllFiles(WindowOf(context));
}
void OnClearAll(void* context, Control*) {
    ClearAllFiles(WindowOf(context));
}
void OnClearResult(void* context, Control*) {
    ClearResult(WindowOf(context));
}
void OnDeleteList(void* context, Control*) {
    DeleteListedRows(WindowOf(context));
}
void OnDeleteInfected(void* context, Control*) {
    WarnDeleteInfected(WindowOf(context));
}

void OnMouseMove(void* context, Control* sender, MouseEventRecord&) {
    HoverHighlight(WindowOf(context), sender);
}
void OnMouseDown(void* context, Control* sender, MouseEventRecord&) {
    PressHighlight(WindowOf(context), sender);
}
void OnMouseLeave(void* context, Control* sender) {
    RestoreNormalLook(WindowOf(context), sender);
}

// Construction helpers.

// An owner-drawn push button without frame: bold white caption, pressed look shifted by
// one pixel. Without setColour the button keeps the inherited background (set later).
Control* MakePushButton(Control* parent, const char* caption, int left, int top, int width,
                        int height, bool setColour, ColourValue normalColour) {
    Control* button = CreateButton(parent, caption, ButtonNoBorder, 0, nullptr, 0);
    button->SetPosition(left, top)->Resize(width, height);
    button->SetFontStyle(FontBold)->SetFontColour(CaptionColour)->SetPressShift(1, 1);
    if (setColour)
        button->SetColour(normalColour);
    return button;
}

// A single-line edit with a thin flat border on the window colour.
Control* MakeEdit(Control* parent, const char* text, int left, int top, int width, int height) {
    Control* edit = CreateEdit(parent, 0);
    edit->SetText(text)->SetPosition(left, top)->Resize(width, height);
    edit->SetCtl3D(false)->SetColour(ColourWindow);
    return edit;
}

// A label or radio button on the gradient: fitted to its text, background shows through.
Control* FitTransparent(Control* control, int left, int top) {
    control->SetPosition(left, top);
    control->SetAutoSize(true)->SetTransparent(true);
    return control;
}

void BuildResultList(MainWindow* w) {
    Control* list = CreateResultListView(w->MainForm);
    w->ResultListView = list;
    list->SetAlign(AlignClient);
    list->SetColour(ColourWindow)->SetDoubleBuffered(true);
}

void BuildCommandBar(MainWindow* w) {
    Control* bar = CreatePanel(w->MainForm, PanelLowered);
    w->CommandBar = bar;
    bar->Resize(0, 31)->SetAlign(AlignBottom);
    bar->SetColour(CommandBarColour)->SetMargin(0);

    w->DeleteFilesButton =
        MakePushButton(bar, "Delete files", 468, 3, 80, 22, true, FileButtonColour);
    w->RenameFilesButton =
        MakePushButton(bar, "Rename files", 552, 3, 80, 22, true, FileButtonColour);
    w->RenameFilesEdit = MakeEdit(bar, "vrs", 638, 7, 50, 18);
    w->ClearAllButton = MakePushButton(bar, "Clear All", 91, 3, 80, 22, true, ListButtonColour);
    w->ClearResultButton =
        MakePushButton(bar, "Clear Result", 175, 3, 80, 22, true, ListButtonColour);
    w->DeleteListButton =
        MakePushButton(bar, "Delete list", 259, 3, 80, 22, true, ListButtonColour);
    w->SelectAllButton = MakePushButton(bar, "Select All", 7, 3, 80, 22, true, ListButtonColour);
}

void BuildOptionsGroup(MainWindow* w) {
    Control* group = CreateGroupBox(w->TopBar, "");
    w->OptionsGroup = group;
    group->SetPosition(496, 1)->Resize(145, 57);
    group->SetTransparent(true)->SetTabStop(false);

    w->DeleteInfectedRadio =
        FitTransparent(CreateRadioButton(group, "Delete infected files"), 5, 14);
    w->RenameWithEdit = MakeEdit(group, "_vrs", 96, 34, 41, 18);
    w->RenameWithRadio = FitTransparent(CreateRadioButton(group, "Rename with"), 5, 35);
}

void BuildTopBar(MainWindow* w) {
    Control* bar = CreateGradientPanel(w->MainForm, TopBarTopColour, TopBarBottomColour);
    w->TopBar = bar;
    bar->Resize(0, 63)->SetAlign(AlignTop);
    bar->SetBorder(false)->SetTabStop(false)->SetMargin(0);

    w->LookInLabel = FitTransparent(CreateLabel(bar, "Look in"), 6, 13);
    w->LookInLabel->SetFontStyle(FontBold);
    w->ExtensionLabel = FitTransparent(CreateLabel(bar, "Extention"), 6, 39);
    w->ExtensionLabel->SetFontStyle(FontBold);

    w->FindButton = MakePushButton(bar, "Find", 222, 35, 64, 22, true, ListButtonColour);
    MakeNoFocus(w->FindButton);

    w->FolderEdit = MakeEdit(bar, "C:\\", 64, 9, 289, 22);

    w->BrowseButton = MakePushButton(bar, "...", 357, 9, 25, 22, true, ListButtonColour);
    MakeNoFocus(w->BrowseButton);

    Control* combo = CreateComboBox(bar, ComboNoIntegralHeight);
    w->MaskCombo = combo;
    combo->SetPosition(64, 35)->Resize(153, 22)->SetColour(ColourWindow);
    const char* const masks[] = {"*.exe", "*.dll", "*.vrs", "*.exe;*.dll;*.scr", "*.*"};
    for (int i = 0; i < 5; ++i)
        combo->SetItemText(i, masks[i]);
    combo->SetCurrentIndex(0);

    w->RestoreButton = MakePushButton(bar, "Restore File", 386, 9, 105, 22, true, ListButtonColour);
    MakeNoFocus(w->RestoreButton);
    w->StopButton = MakePushButton(bar, "Stop", 288, 35, 65, 22, true, ListButtonColour);
    MakeNoFocus(w->StopButton);
    w->StopRestoreButton = MakePushButton(bar, "Stop Restore", 386, 35, 105, 22, false, 0);

    BuildOptionsGroup(w);

    w->AboutButton = MakePushButton(bar, "About", 648, 8, 41, 49, false, 0);
}

void WireHandlers(MainWindow* w) {
    SetColumnClickEvent(w->ResultListView, OnColumnClick, w);
    w->ResultListView->SetKeyDownEvent(OnListKeyDown, w);

    w->FindButton->SetClickEvent(OnFind, w);
    w->BrowseButton->SetClickEvent(OnBrowse, w);
    w->StopButton->SetClickEvent(OnStop, w);
    w->RestoreButton->SetClickEvent(OnRestore, w);
    w->StopRestoreButton->SetClickEvent(OnStopRestore, w);
    w->AboutButton->SetClickEvent(OnAbout, w);
    w->DeleteFilesButton->SetClickEvent(OnDeleteFiles, w);
    w->RenameFilesButton->SetClickEvent(OnRenameFiles, w);
    w->SelectAllButton->SetClickEvent(OnSelectAll, w);
    w->ClearAllButton->SetClickEvent(OnClearAll, w);
    w->ClearResultButton->SetClickEvent(OnClearResult, w);
    w->DeleteListButton->SetClickEvent(OnDeleteList, w);
    w->DeleteInfectedRadio->SetClickEvent(OnDeleteInfected, w);

    Control* const pushButtons[] = {
        w->DeleteFilesButton, w->RenameFilesButton, w->ClearAllButton,    w->ClearResultButton,
        w->DeleteListButton,  w->SelectAllButton,   w->FindButton,        w->BrowseButton,
        w->RestoreButton,     w->StopButton,        w->StopRestoreButton, w->AboutButton,
    };
    for (Control* button : pushButtons) {
        button->SetMouseMoveEvent(OnMouseMove, w);
        button->SetMouseDownEvent(OnMouseDown, w);
        button->SetMouseLeaveEvent(OnMouseLeave, w);
    }
}

}  // namespace

MainWindow* BuildMainWindow(MainWindow** variable, Control* parent) {
    auto* w = new MainWindow();
    *variable = w;

    Control* form = CreateForm(parent, BuildTitle);
    w->MainForm = form;
    form->RegisterOwned(w, ReleaseMainWindow);
    SetApplicationObject(form);
    form->SetPosition(191, 105)->SetClientSize(698, 436);
    form->SetFontHeight(14)->SetFontName("Arial");
    form->SetCloseQueryEvent(OnClose, w)->SetResizeEvent(OnResize, w);

    w->FolderDialog = CreateFolderDialog("", 0);
    form->RegisterOwned(w->FolderDialog);

    w->InfoLabel = CreateLabel(form, "Information");
    w->InfoLabel->Resize(0, 17)->SetAlign(AlignBottom);
    w->InfoLabel->SetColour(ColourBtnFace);

    BuildResultList(w);
    BuildCommandBar(w);
    BuildTopBar(w);
    WireHandlers(w);

    w->FolderDialog->OwnerWindow = form->WindowHandle();
    w->RenameWithRadio->SetChecked(true);
    InitializeMainWindow(w);
    return w;
}

void InitializeMainWindow(MainWindow* window) {
    window->SearchStopped = 1;
    window->MainForm->SetText(MainWindowTitle);
    window->OffsetList = NewStringList();
    window->AboutButton->SetText("About");
    const ColourValue normal = window->TopBar->GradientColour1;
    Control* const buttons[] = {window->FindButton,   window->StopButton,
                                window->BrowseButton, window->RestoreButton,
                                window->AboutButton,  window->StopRestoreButton};
    for (Control* button : buttons)
        button->SetColour(normal);
}

bool RestoreRunning(const MainWindow* window) {
    return window->RunActive && window->Searching == 0;
}

void HandleClose(MainWindow* window, Control*, bool& accept) {
    if (window->SearchStopped == 0) {
        accept = false;
        ShowMessageBox("Before Close this window, Stop the searching First", MB_ICONHAND | MB_OK);
        return;
    }
    // A restore still running inside its message handling keeps using the offset list; it
    // is released together with the window once the restore has returned.
    if (RestoreRunning(window))
        return;
    if (window->OffsetList) {
        window->OffsetList->Release();
        window->OffsetList = nullptr;
    }
}

void HandleResize(MainWindow* window, Control* sender) {
    Control* list = window->ResultListView;
    if (!list)
        return;
    // The layer lays out the docked areas only after this handler; doing it first lets the
    // column follow the size the list has now rather than the one before.
    Realign(sender);
    const int width = list->Width();
    if (width > MinimumListWidth)
        SetColumnWidth(list, InformationColumn, width - FixedColumnsWidth);
}
