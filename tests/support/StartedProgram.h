#pragma once
// quillfix.exe started as its own process by a test, found by its windows, and ended
// (terminated when still running) on every path of the test.
#include <windows.h>

#include <string>

// The built quillfix.exe as a Windows path.
std::string ProgramPath();

class StartedProgram {
public:
    StartedProgram() = default;
    explicit StartedProgram(const std::string& path) { Start(path); }
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // Starts the program; false (GetLastError tells why) when the process was not created.
    bool Start(const std::string& path);
    bool Started() const { return info_.hProcess != nullptr; }
    HANDLE Process() const { return info_.hProcess; }
    DWORD ProcessId() const { return info_.dwProcessId; }
    bool HasExited() const;
    // The exit code once the process has ended; -1 while it runs.
    long ExitCode() const;

    // The process's visible top-level window with this title; nullptr when none is shown.
    HWND WindowTitled(const std::string& title) const;
    // A visible message box of the process; nullptr when none is shown.
    HWND MessageBoxWindow() const;
    // Waits until the window with this title is shown; nullptr after timeoutMs or when the
    // process has ended.
    HWND WaitForWindow(const std::string& title, DWORD timeoutMs) const;

private:
    PROCESS_INFORMATION info_ = {};
};
