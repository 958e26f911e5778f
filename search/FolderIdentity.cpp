#include "search/FolderIdentity.h"

#include "control/UniqueHandle.h"
#include "search/ExactPath.h"

FolderIdentity IdentityOfFolder(const std::string& path) {
    FolderIdentity identity;
    if (path.empty()) {
        return identity;
    }
    const FileHandle folder(CreateFileA(
        ExactPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.IsValid()) {
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(folder.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return identity;
    }
    identity.Known = true;
    identity.VolumeSerial = information.dwVolumeSerialNumber;
    identity.IndexHigh = information.nFileIndexHigh;
    identity.IndexLow = information.nFileIndexLow;
    return identity;
}

bool SameFolder(const FolderIdentity& a, const FolderIdentity& b) {
    return a.Known && b.Known && a.VolumeSerial == b.VolumeSerial && a.IndexHigh == b.IndexHigh &&
           a.IndexLow == b.IndexLow;
}
