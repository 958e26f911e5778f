#include "support/ScratchFolder.h"

#include <windows.h>

#include <vector>

#include "support/FolderLink.h"

namespace scratch {

namespace {

// An absolute path on a drive with a name ending in a dot or a space, in the "\\?\" form,
// so that such names are created, read and removed as they are; other paths as they are
// (the prefix would take four of the characters that the system accepts).
std::string Literal(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') {
        return path;
    }
    for (size_t end = 3; end <= path.size(); ++end) {
        if ((end == path.size() || path[end] == '\\') &&
            (path[end - 1] == '.' || path[end - 1] == ' ')) {
            return "\\\\?\\" + path;
        }
    }
    return path;
}

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Ansi(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(length > 0 ? static_cast<size_t>(length) : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], length, nullptr, nullptr);
    ansi.resize(ansi.size() - 1);
    return ansi;
}

// Removes the folder at literal (its path in the "\\?\" form) and everything below it
// without following links; folder is the same path in the ANSI code page, for the links.
// Entries are enumerated and removed as UTF-16, so that names the ANSI code page cannot
// carry whole (too long in UTF-8) or that end in a dot or a space are removed too.
void RemoveTree(const std::string& folder, const std::wstring& literal) {
    if (IsFolderLink(folder)) {
        RemoveFolderLink(folder);
        return;
    }
    // Links first, so that none is left dangling by the removal of its target.
    std::vector<std::string> links;
    std::vector<std::wstring> folders;
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((literal + L"\\*").c_str(), &record);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = record.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                files.push_back(name);
            } else if ((record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                links.push_back(folder + "\\" + Ansi(name));
            } else {
                folders.push_back(name);
            }
        } while (FindNextFileW(find, &record));
        FindClose(find);
    }
    for (const std::string& link : links) {
        RemoveFolderLink(link);
    }
    for (const std::wstring& name : files) {
        const std::wstring path = literal + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
    for (const std::wstring& name : folders) {
        RemoveTree(folder + "\\" + Ansi(name), literal + L"\\" + name);
    }
    if (RemoveDirectoryW(literal.c_str()) ||
        GetFileAttributesW(literal.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    // A link whose target was removed elsewhere may be invisible here but still present.
    if (RemoveDanglingFolderLinks(folder)) {
        RemoveDirectoryW(literal.c_str());
    }
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& prefix) {
    static int counter = 0;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') {
        base.pop_back();
    }
    for (;;) {
        root_ = base + "\\" + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(root_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveFolderTree(root_);
}

std::string ScratchFolder::Path(const std::string& relative) const {
    return relative.empty() ? root_ : root_ + "\\" + relative;
}

std::string ScratchFolder::MakeFolder(const std::string& relative) const {
    std::string::size_type position = 0;
    while (position != std::string::npos) {
        position = relative.find('\\', position == 0 ? 0 : position + 1);
        const std::string part = relative.substr(0, position);
        if (!part.empty()) {
            CreateDirectoryA(Literal(Path(part)).c_str(), nullptr);
        }
    }
    return Path(relative);
}

std::string ScratchFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
    const std::string::size_type slash = relative.rfind('\\');
    if (slash != std::string::npos) {
        MakeFolder(relative.substr(0, slash));
    }
    const std::string path = Path(relative);
    HANDLE file = CreateFileA(Literal(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok ? path : std::string();
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileA(Literal(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char block[65536];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) {
        bytes.append(block, read);
    }
    CloseHandle(file);
    return true;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(Literal(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(Literal(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveFolderTree(const std::string& folder) {
    RemoveTree(folder, L"\\\\?\\" + Wide(folder));
}

}  // namespace scratch
