#pragma once
// quillfix.exe started with arguments and its standard output redirected into a pipe
// that the test reads line by line while the program runs.
#include <windows.h>

#include <string>
#include <vector>

class CommandLineRun {
public:
    CommandLineRun() = default;
    ~CommandLineRun();
    CommandLineRun(const CommandLineRun&) = delete;
    CommandLineRun& operator=(const CommandLineRun&) = delete;

    // Starts programPath with the arguments (each quoted as the platform's splitting
    // expects). False when the process was not created.
    bool Start(const std::string& programPath, const std::vector<std::string>& arguments);

    // The next printed line (UTF-8, without its CR LF); false when the program ended
    // without printing another or timeoutMs passed.
    bool NextLine(std::string& line, DWORD timeoutMs);
    // Waits for the end of the program, reading the rest of its output; the exit code,
    // or -1 after timeoutMs.
    long Wait(DWORD timeoutMs);
    // Every line read so far.
    const std::vector<std::string>& Lines() const { return lines_; }

    DWORD ProcessId() const { return info_.dwProcessId; }
    // The program's top-level window of the given class, shown or not; nullptr if none.
    HWND TopLevelWindow(const std::string& className) const;

private:
    // Reads what the pipe holds now into pending_; false when the pipe is closed.
    bool ReadAvailable();
    bool TakeLine(std::string& line);

    PROCESS_INFORMATION info_ = {};
    HANDLE output_ = nullptr;  // read end of the pipe
    std::string pending_;
    std::vector<std::string> lines_;
    bool closed_ = false;
};

// The arguments as one command line: each in quotation marks, a backslash before a
// closing quotation mark doubled.
std::string QuotedCommandLine(const std::string& programPath,
                              const std::vector<std::string>& arguments);
