#pragma once

#include <windows.h>

// Owns one find handle from FindFirstFileA and closes it with FindClose.
class FindHandle {
public:
    FindHandle() = default;
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle();

    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle(FindHandle&& other) noexcept;
    FindHandle& operator=(FindHandle&& other) noexcept;

    // Starts an enumeration of pattern; the first entry goes to record.
    // Returns an invalid owner when the platform refuses.
    static FindHandle First(const char* pattern, WIN32_FIND_DATAA& record);

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Reads the next entry into record; false when there is none left.
    bool Next(WIN32_FIND_DATAA& record) const;
    void Close();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
