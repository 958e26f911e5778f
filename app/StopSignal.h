#pragma once
// Stop requests from outside the window thread. Ctrl+C, Ctrl+Break and closing the
// console arrive on a thread of their own; they are handed to the window thread as a
// posted message to the hidden main window, so that only the window thread touches the
// search's and restore's flags.
#include <windows.h>

// The private message posted to the stop target.
const UINT StopRequestMessage = WM_APP + 0x5101;

// Installs the console control handler (for a program attached to a console).
void InstallConsoleStopHandler();

// The window that receives StopRequestMessage; nullptr while there is none.
void SetStopTarget(HWND window);

// True once a console control event has asked for a stop (read on any thread).
bool ConsoleStopAsked();

// Tells a handler waiting for the end of the run (closing the console ends the process
// as soon as the handler returns) that the report is written.
void SignalRunFinished();
