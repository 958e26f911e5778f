#pragma once
// Every file and folder below a folder with the files' bytes, taken before and after a
// test so that any change to the tree can be found.
#include <map>
#include <set>
#include <string>

namespace scratch {

struct FolderSnapshot {
    // Path relative to the snapshot's folder (backslashes, as listed) -> the file's bytes.
    std::map<std::string, std::string> Files;
    // Relative paths of the files that could not be read (held open by another program).
    std::set<std::string> Unreadable;
    std::set<std::string> Folders;
};

// Takes the snapshot of folder; the subfolder skip (relative, may be empty) is left out.
FolderSnapshot TakeFolderSnapshot(const std::string& folder,
                                  const std::string& skip = std::string());

// The folder part of a relative path ("" for the top folder) and the name part.
std::string FolderOfRelative(const std::string& relative);
std::string NameOfRelative(const std::string& relative);

}  // namespace scratch
