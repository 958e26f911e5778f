#include "support/StartedProgram.h"

namespace {

struct WindowSearch {
    DWORD ProcessId;
    const char* Title;  // nullptr: a message box
    HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM argument) {
    auto* search = reinterpret_cast<WindowSearch*>(argument);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window)) {
        return TRUE;
    }
    char text[256] = {};
    if (search->Title == nullptr) {
        GetClassNameA(window, text, sizeof text);
    } else {
        GetWindowTextA(window, text, sizeof text);
    }
    if (std::string(text) == (search->Title == nullptr ? "#32770" : search->Title)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevelWindow(DWORD processId, const char* title) {
    WindowSearch search = {processId, title, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace

std::string ProgramPath() {
#ifdef QF_PROGRAM_PATH
    std::string path = QF_PROGRAM_PATH;
#else
    std::string path;
#endif
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

StartedProgram::~StartedProgram() {
    if (!Started()) {
        return;
    }
    if (!HasExited()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool StartedProgram::Start(const std::string& path) {
    if (Started()) {
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        info_ = PROCESS_INFORMATION();
        return false;
    }
    return true;
}

bool StartedProgram::HasExited() const {
    return !Started() || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
}

long StartedProgram::ExitCode() const {
    DWORD code = 0;
    if (!Started() || !GetExitCodeProcess(info_.hProcess, &code) || code == STILL_ACTIVE) {
        return -1;
    }
    return static_cast<long>(code);
}

HWND StartedProgram::WindowTitled(const std::string& title) const {
    return FindTopLevelWindow(info_.dwProcessId, title.c_str());
}

HWND StartedProgram::MessageBoxWindow() const {
    return FindTopLevelWindow(info_.dwProcessId, nullptr);
}

HWND StartedProgram::WaitForWindow(const std::string& title, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = WindowTitled(title);
        if (window != nullptr) {
            return window;
        }
        if (HasExited() || GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(20);
    }
}
