#include "CommandLineRun.h"

namespace {

std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') {
                quoted.append(backslashes + 1, '\\');
            }
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

struct WindowSearch {
    DWORD ProcessId;
    std::string ClassName;
    HWND Found;
};

BOOL CALLBACK FindByClass(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == search->ProcessId && search->ClassName == name) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string QuotedCommandLine(const std::string& programPath,
                              const std::vector<std::string>& arguments) {
    std::string line = Quoted(programPath);
    for (const std::string& argument : arguments) {
        line += " " + Quoted(argument);
    }
    return line;
}

CommandLineRun::~CommandLineRun() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    if (output_ != nullptr) {
        CloseHandle(output_);
    }
}

bool CommandLineRun::Start(const std::string& programPath,
                           const std::vector<std::string>& arguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&output_, &write, &inherit, 0)) {
        return false;
    }
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = write;
    startup.hStdError = write;
    std::string commandLine = QuotedCommandLine(programPath, arguments);
    const bool started = CreateProcessA(programPath.c_str(), &commandLine[0], nullptr, nullptr,
                                        TRUE, 0, nullptr, nullptr, &startup, &info_) != 0;
    // Only the program holds the write end now: the pipe closes when it ends.
    CloseHandle(write);
    if (!started) {
        info_ = PROCESS_INFORMATION();
    }
    return started;
}

bool CommandLineRun::ReadAvailable() {
    if (closed_) {
        return false;
    }
    DWORD available = 0;
    if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) {
        closed_ = true;
        return false;
    }
    while (available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(output_, buffer, available < sizeof buffer ? available : sizeof buffer, &read,
                      nullptr) ||
            read == 0) {
            closed_ = true;
            return false;
        }
        pending_.append(buffer, read);
        available -= read;
    }
    return true;
}

bool CommandLineRun::TakeLine(std::string& line) {
    const size_t end = pending_.find('\n');
    if (end == std::string::npos) {
        return false;
    }
    line = pending_.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    pending_.erase(0, end + 1);
    lines_.push_back(line);
    return true;
}

bool CommandLineRun::NextLine(std::string& line, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (TakeLine(line)) {
            return true;
        }
        if (!ReadAvailable() || GetTickCount() - start > timeoutMs) {
            return TakeLine(line);
        }
        Sleep(5);
    }
}

long CommandLineRun::Wait(DWORD timeoutMs) {
    if (info_.hProcess == nullptr) {
        return -1;
    }
    // The pipe is read while waiting: a full pipe would hold the program up.
    const DWORD start = GetTickCount();
    std::string line;
    while (WaitForSingleObject(info_.hProcess, 5) != WAIT_OBJECT_0) {
        ReadAvailable();
        while (TakeLine(line)) {
        }
        if (GetTickCount() - start > timeoutMs) {
            return -1;
        }
    }
    while (NextLine(line, 2000)) {
    }
    if (!pending_.empty()) {
        lines_.push_back(pending_);
        pending_.clear();
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

HWND CommandLineRun::TopLevelWindow(const std::string& className) const {
    WindowSearch search = {info_.dwProcessId, className, nullptr};
    EnumWindows(FindByClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}
