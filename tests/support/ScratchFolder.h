#pragma once
// A unique folder below the temporary folder for tests that build file trees. It is
// removed with everything below it when the object goes; links inside it are removed
// themselves and never followed, so a link to a folder outside (or to an ancestor)
// leaves its target untouched. Paths are taken exactly as written (names ending in a dot
// or a space included); texts are in the ANSI code page, UTF-8 in the test programs.
#include <string>

namespace scratch {

class ScratchFolder {
public:
    // prefix names the folder (for example "qf-search").
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder without trailing backslash.
    const std::string& Root() const { return root_; }
    // Root followed by a backslash and relative (relative may contain backslashes).
    std::string Path(const std::string& relative) const;
    // Creates the folder relative and every missing folder above it; returns its path.
    std::string MakeFolder(const std::string& relative) const;
    // Writes the file relative with the given bytes (folders above it are created);
    // returns its path, or an empty text when it could not be written.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;

private:
    std::string root_;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// The same into bytes; false when the file cannot be opened (e.g. one open without sharing).
bool ReadWholeFile(const std::string& path, std::string& bytes);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Removes folder and everything below it without following links.
void RemoveFolderTree(const std::string& folder);

}  // namespace scratch
