#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Writes a sparse file of the given size that holds head at its start; nothing else
// is written, so even a file of several GiB takes almost no disk space. False when
// the platform refuses.
inline bool WriteSparseFile(const std::string& path, int64_t size, const std::string& head)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = size;
    const bool ok =
        WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &written, nullptr)
        && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}
