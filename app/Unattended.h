#pragma once
// The command-line mode: the window's own search and restore run on the main window,
// built but never shown, without any message box. Finished rows and the summaries are
// printed, the list can be written as a CSV report, and the exit code tells the outcome.
#include <string>
#include <vector>

#include "app/CommandLine.h"

enum UnattendedExitCode {
    ExitNoFailure = 0,      // every listed file ended without a failure
    ExitFailure = 1,        // a file failed, the report failed, or the run was stopped
    ExitBadArguments = 2,   // the arguments were refused; nothing was touched
    ExitFolderMissing = 3,  // the folder to search does not exist
};

// Receives each printed line (ANSI text, no line break).
using PrintLineProc = void (*)(void* context, const std::string& line);

// Carries out the command (Usage, Invalid, Find or Restore) and returns the exit code.
// Lines go to print with context. The caller has not built a main window.
int RunUnattended(const CommandLine& command, PrintLineProc print, void* context);

// The program's entry for arguments: prints to the parent's console or the redirected
// standard output, takes Ctrl+C and the console's closing as a stop, and returns the
// exit code. argumentFault, when not empty, is why the arguments cannot be read.
int RunCommandLine(const std::vector<std::string>& arguments, const std::string& argumentFault);

// True when a row whose run has ended with these Status and Information cells failed:
// its document was not saved, its carrier not deleted or renamed, it could not be read,
// it is not supported, or its work was left unfinished.
bool RowEndedInFailure(const std::string& status, const std::string& information);
