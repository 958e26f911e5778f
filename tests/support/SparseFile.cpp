#include "support/SparseFile.h"
#include "control/UniqueHandle.h"

#include <windows.h>

#include <winioctl.h>

namespace scratch {

bool WriteSparseFile(const std::string& path, int64_t size, const std::string& head) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    // Refused on file systems without sparse files (and by some emulations): the size is
    // then set all the same, which takes the disk space or fails for want of it.
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = size;
    const bool ok =
        WriteFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr) &&
        written == head.size() && SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) &&
        SetEndOfFile(file.Get());
    file.Close();
    return ok;
}

}  // namespace scratch
