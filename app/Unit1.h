#pragma once
// The main window: its object with every control, its construction, and the two
// window-level handlers (close request and resize).
#include "recovery/RestoreWindow.h"

struct Control;

// The one main window object. The search and the restore receive it through the records it
// extends; the controls are owned by the form, the object by the form too (released with it).
struct MainWindow : RestoreWindow {
    Control* LookInLabel = nullptr;
    Control* ExtensionLabel = nullptr;
    Control* TopBar = nullptr;
    Control* CommandBar = nullptr;
    Control* AboutButton = nullptr;
    Control* RenameFilesButton = nullptr;
    Control* RenameFilesEdit = nullptr;
    Control* OptionsGroup = nullptr;
    Control* DeleteFilesButton = nullptr;
    Control* SelectAllButton = nullptr;
    Control* ClearAllButton = nullptr;
    Control* ClearResultButton = nullptr;
    Control* DeleteListButton = nullptr;
};

// Title the window carries while it is used; set by InitializeMainWindow.
extern const char* const MainWindowTitle;

// Creates the main window object into *variable (before any control exists), its form with
// the given parent (none for the program), every control and handler, the form's window,
// and ends with InitializeMainWindow. The form owns the object: releasing the form (the
// run loop does) releases every control and the object. Returns *variable.
MainWindow* BuildMainWindow(MainWindow** variable, Control* parent);

// Last construction step: the working title, SearchStopped := 1, a new OffsetList, and the
// top bar buttons' normal background.
void InitializeMainWindow(MainWindow* window);

// True while a restore works on the rows: a run is active and it is not the search.
bool RestoreRunning(const MainWindow* window);

// The form's close request: refuses (accept := false, error box) while a search runs;
// otherwise accepts and releases OffsetList (with the window instead while a restore runs).
void HandleClose(MainWindow* window, Control* sender, bool& accept);

// The form's resize: keeps the "Information" column at the list width - 555 while the list
// is wider than 560 pixels.
void HandleResize(MainWindow* window, Control* sender);
