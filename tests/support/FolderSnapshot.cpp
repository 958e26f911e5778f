#include "support/FolderSnapshot.h"

#include <windows.h>

#include "support/ScratchFolder.h"

namespace scratch {

namespace {

void Walk(const std::string& root, const std::string& relative, const std::string& skip,
          FolderSnapshot& snapshot) {
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA record;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = record.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (path == skip) {
                continue;
            }
            snapshot.Folders.insert(path);
            if ((record.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                Walk(root, path, skip, snapshot);
            }
            continue;
        }
        std::string bytes;
        if (ReadWholeFile(folder + "\\" + name, bytes)) {
            snapshot.Files[path] = bytes;
        } else {
            snapshot.Unreadable.insert(path);
        }
    } while (FindNextFileA(find, &record));
    FindClose(find);
}

}  // namespace

FolderSnapshot TakeFolderSnapshot(const std::string& folder, const std::string& skip) {
    FolderSnapshot snapshot;
    Walk(folder, "", skip, snapshot);
    return snapshot;
}

std::string FolderOfRelative(const std::string& relative) {
    const std::string::size_type slash = relative.rfind('\\');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string NameOfRelative(const std::string& relative) {
    const std::string::size_type slash = relative.rfind('\\');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

}  // namespace scratch
