#pragma once
// Small files for the search benchmarks' trees: a file of up to size bytes (its own path's
// text), so that listings report varied sizes.
#include <windows.h>

#include <algorithm>
#include <string>

#include "control/UniqueHandle.h"

namespace bench {

inline void WriteSmallFile(const std::string& path, DWORD size) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid()) {
        DWORD written = 0;
        WriteFile(file.Get(), path.data(), std::min(size, static_cast<DWORD>(path.size())),
                  &written, nullptr);
    }
}

}  // namespace bench
