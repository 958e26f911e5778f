#pragma once

#include <windows.h>

// Owns one file handle from CreateFileA and closes it with CloseHandle.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle();

    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    // Closes the handle; false when CloseHandle fails. An invalid owner closes as true.
    // The platform's last error is left as CloseHandle set it.
    bool Close();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
