#pragma once
// The run loop and the application object: RunLoop creates the main window's tree and
// dispatches messages until WM_QUIT; ProcessPendingMessages lets long commands handle
// one waiting message at a time; Terminate ends the machinery and destroys the main
// window.
#include <windows.h>

struct Control;

// The application object (the main window's Control), nullptr when there is none.
Control* ApplicationObject();
void SetApplicationObject(Control* control);

// Makes mainWindow the application object, creates its window tree and dispatches
// messages until WM_QUIT has been seen; then destroys the main window and clears the
// variable. The variable must outlive the window: not a field of an object that the
// window's destruction releases.
void RunLoop(Control*& mainWindow);
// Takes at most one waiting message and dispatches it; WM_QUIT is not dispatched but
// sets the terminated flag. True when a message (with a number other than 0) was taken.
bool ProcessPendingMessages(Control* application);
// ProcessPendingMessages until the queue is empty.
void ProcessAllMessages(Control* application);
// Ends the message machinery and destroys the main window (closing it first when WM_QUIT
// has not been seen); clears the variable, which must outlive the window as for RunLoop.
void Terminate(Control*& mainWindow);

bool IsRunLoopRunning();
bool IsTerminated();
// Clears the running and terminated flags, so that another run loop can start in the
// same process (test programs run several).
void ResetRunLoopState();

// InitCommonControls, then InitCommonControlsEx (looked up by name in comctl32.dll,
// loaded once) with the given ICC_ class flags.
void InitCommonControlsOnce(DWORD classes);
