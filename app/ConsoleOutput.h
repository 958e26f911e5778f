#pragma once
// Where the command-line mode prints: the standard output when the program was started
// with it redirected (a file or a pipe), else the console of the process that started
// it. A program started without either prints nothing.
#include <windows.h>

#include <string>

#include "control/UniqueHandle.h"

class ConsoleOutput {
public:
    ConsoleOutput() = default;
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Attaches to the parent's console (so that Ctrl+C reaches the program) and chooses
    // where lines go. Call once.
    void Open();
    // True when the program is attached to a console (its control events arrive).
    bool HasConsole() const { return attached_; }

    // Prints one line of ANSI text followed by a line break: as UTF-16 to a console,
    // as UTF-8 to a file or pipe. Lines are written at once, never buffered.
    void WriteLine(const std::string& text);

private:
    HANDLE handle_ = nullptr;  // nullptr: no output
    bool console_ = false;     // handle_ is a console: WriteConsoleW
    FileHandle opened_;        // the console buffer when it was opened here ("CONOUT$")
    bool attached_ = false;
};

// The ANSI text as UTF-16.
std::wstring WideFromAnsi(const std::string& text);
// The ANSI text as UTF-8.
std::string Utf8FromAnsi(const std::string& text);
