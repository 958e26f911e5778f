#include "app/ConsoleOutput.h"

namespace {

bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool IsUsableHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Writes all bytes, going on after partial writes; stops at the first failure.
void WriteAll(HANDLE handle, const char* bytes, size_t size) {
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) {
            return;
        }
        bytes += written;
        size -= written;
    }
}

}  // namespace

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string Utf8FromAnsi(const std::string& text) {
    const std::wstring wide = WideFromAnsi(text);
    if (wide.empty()) {
        return std::string();
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return std::string();
    }
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size,
                        nullptr, nullptr);
    return utf8;
}

void ConsoleOutput::Open() {
    // A process that has a console already (it inherited it) is refused with access denied.
    attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != 0 || GetLastError() == ERROR_ACCESS_DENIED;
    HANDLE standard = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsUsableHandle(standard)) {
        handle_ = standard;
        console_ = IsConsoleHandle(standard);
        return;
    }
    if (!attached_) {
        return;
    }
    // A program of the window subsystem gets no standard handles for the console it
    // attaches to; the console's screen buffer is opened by name.
    opened_.Reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr));
    if (!opened_.IsValid()) {
        return;
    }
    handle_ = opened_.Get();
    console_ = true;
}

void ConsoleOutput::WriteLine(const std::string& text) {
    if (handle_ == nullptr) {
        return;
    }
    if (console_) {
        const std::wstring wide = WideFromAnsi(text) + L"\r\n";
        const wchar_t* rest = wide.data();
        DWORD left = static_cast<DWORD>(wide.size());
        while (left > 0) {
            DWORD written = 0;
            if (!WriteConsoleW(handle_, rest, left, &written, nullptr) || written == 0) {
                return;
            }
            rest += written;
            left -= written;
        }
        return;
    }
    const std::string bytes = Utf8FromAnsi(text) + "\r\n";
    WriteAll(handle_, bytes.data(), bytes.size());
}
