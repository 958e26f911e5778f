#pragma once
// Message dispatch and the run loop: how a window message reaches its Control, the
// reflection of WM_COMMAND, colour and draw messages to the child that caused them,
// WM_NOTIFY routing to common controls, the close path, RunLoop and
// ProcessPendingMessages.
#include <windows.h>

struct Control;

// Window procedure of every "obj_" class.
LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The Control of a window of the layer, nullptr for any other window.
Control* ControlFromWindow(HWND window);

// The application object (the main window's Control), nullptr when there is none.
Control* ApplicationObject();
void SetApplicationObject(Control* control);

// Makes mainWindow the application object, creates its window tree and dispatches
// messages until WM_QUIT has been seen; then destroys the main window and clears the
// variable.
void RunLoop(Control*& mainWindow);
// Takes at most one waiting message and dispatches it; WM_QUIT is not dispatched but
// sets the terminated flag. True when a message (with a number other than 0) was taken.
bool ProcessPendingMessages(Control* application);
// ProcessPendingMessages until the queue is empty.
void ProcessAllMessages(Control* application);
// Ends the program's message machinery and destroys the main window (closing it first
// when WM_QUIT has not been seen); clears the variable.
void Terminate(Control*& mainWindow);

bool IsRunLoopRunning();
bool IsTerminated();
// Clears the running and terminated flags, so that another run loop can start in the
// same process (test programs run several).
void ResetRunLoopState();

// InitCommonControls, then InitCommonControlsEx (looked up by name in comctl32.dll,
// loaded once) with the given ICC_ class flags.
void InitCommonControlsOnce(DWORD classes);

// For a common control (the list view): attaches to its parent the procedure that
// hands every WM_NOTIFY from a window with a Control to that control's attached
// procedures, and to the control the procedure that raises ClickEvent (NM_CLICK,
// NM_RCLICK), LeaveEvent (NM_KILLFOCUS) and EnterEvent (NM_SETFOCUS, NM_RETURN).
// Marks the control as a common control.
void AttachCommonControlNotifications(Control* commonControl);

// Runs the click path of a control: its kind's click action (a radio button checks
// itself), then ClickEvent.
void RunClickPath(Control* control);
