#include "support/FolderLink.h"

#include <windows.h>

#include <cstring>

namespace {

const DWORD LinkWaitMs = 10000;

// The host path of a Windows path when running under Wine; empty elsewhere.
std::string HostPathOf(const std::string& path) {
    using UnixNameProc = char*(CDECL*)(const WCHAR*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName = reinterpret_cast<UnixNameProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (unixName == nullptr) {
        return std::string();
    }
    WCHAR wide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2) == 0) {
        return std::string();
    }
    char* name = unixName(wide);
    if (name == nullptr) {
        return std::string();
    }
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Starts a host program through Wine (a host executable started with CreateProcessA runs
// detached: no handle comes back, so callers wait for its effect instead).
bool StartHostCommand(const std::string& commandLine) {
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::memset(&process, 0, sizeof process);
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    if (process.hProcess != nullptr) {
        WaitForSingleObject(process.hProcess, LinkWaitMs);
        CloseHandle(process.hProcess);
    }
    if (process.hThread != nullptr) {
        CloseHandle(process.hThread);
    }
    return true;
}

bool WaitUntil(bool (*condition)(const std::string&), const std::string& path) {
    const DWORD start = GetTickCount();
    while (!condition(path)) {
        if (GetTickCount() - start > LinkWaitMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Gone(const std::string& path) {
    // The link itself: a dangling or looping link still has a directory entry.
    WIN32_FIND_DATAA record;
    HANDLE find = FindFirstFileA(path.c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) {
        return !Exists(path);
    }
    FindClose(find);
    return false;
}

}  // namespace

bool IsFolderLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const DWORD allowUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | allowUnprivileged) &&
        IsFolderLink(link)) {
        return true;
    }
    const std::string hostLink = HostPathOf(link);
    const std::string hostTarget = HostPathOf(target);
    if (hostLink.empty() || hostTarget.empty()) {
        return false;
    }
    if (!StartHostCommand("Z:\\bin\\ln -s \"" + hostTarget + "\" \"" + hostLink + "\"")) {
        return false;
    }
    return WaitUntil(Exists, link) && IsFolderLink(link);
}

bool RemoveDanglingFolderLinks(const std::string& folder) {
    const std::string hostFolder = HostPathOf(folder);
    if (hostFolder.empty()) {
        return false;
    }
    // The host runs the command detached; a marker file written after it tells when it is done.
    const std::string marker = folder + "\\.links-removed";
    const std::string hostMarker = hostFolder + "/.links-removed";
    if (!StartHostCommand("Z:\\bin\\sh -c \"find '" + hostFolder +
                          "' -maxdepth 1 -xtype l -delete; touch '" + hostMarker + "'\"")) {
        return false;
    }
    const bool done = WaitUntil(Exists, marker);
    DeleteFileA(marker.c_str());
    return done;
}

bool RemoveFolderLink(const std::string& link) {
    if (!IsFolderLink(link)) {
        return Gone(link);
    }
    if (RemoveDirectoryA(link.c_str()) && Gone(link)) {
        return true;
    }
    const std::string hostLink = HostPathOf(link);
    if (hostLink.empty() || !StartHostCommand("Z:\\bin\\rm -f \"" + hostLink + "\"")) {
        return false;
    }
    return WaitUntil(Gone, link);
}
