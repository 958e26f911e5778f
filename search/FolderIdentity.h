#pragma once
// The identity of a folder on disk, independent of the path that reaches it: two paths
// give equal identities when they lead to the same folder, for example through a
// symbolic link or a junction. Used by the search to notice a link that leads back into
// a folder it is already inside.
#include <windows.h>

#include <string>

struct FolderIdentity {
    bool Known = false;  // false when the folder could not be opened
    DWORD VolumeSerial = 0;
    DWORD IndexHigh = 0;
    DWORD IndexLow = 0;
};

// The identity of the folder that path leads to (links are followed); Known is false
// when the folder cannot be opened or its identity cannot be read.
FolderIdentity IdentityOfFolder(const std::string& path);

// True when both identities are known and name the same folder.
bool SameFolder(const FolderIdentity& a, const FolderIdentity& b);
