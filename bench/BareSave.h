#pragma once
// The bare platform calls that every saved document takes under the program's rule never
// to open an existing file for writing: a new file beside the target, written, flushed to
// the disk and moved to the target's name without replacing. The floors of the restore
// benchmarks do this work too, so that they measure what any correct restore must do.
#include <windows.h>

#include <string>

#include "control/UniqueHandle.h"

namespace bench {

inline bool SaveDurably(const std::string& path, const char* data, DWORD size) {
    const std::string temporary = path + ".~tmp";
    FileHandle out(CreateFileA(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.IsValid()) {
        return false;
    }
    DWORD written = 0;
    const bool saved = WriteFile(out.Get(), data, size, &written, nullptr) && written == size &&
                       FlushFileBuffers(out.Get());
    out.Close();
    return saved && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
}

}  // namespace bench
