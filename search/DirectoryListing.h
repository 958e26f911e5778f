#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The entries of one folder that pass an attribute filter and a list of name masks.
// The folder is enumerated once per Scan with "*.*"; the masks are matched here,
// never by the platform. Entries are kept as the platform's whole find records, so
// callers can read any attribute (for example FILE_ATTRIBUTE_REPARSE_POINT).
//
// Mask text: masks separated by ';', each trimmed of blanks, empty ones dropped.
// A mask is literal characters, '*' (any run, also none) and '?' (one character);
// a mask beginning with '^' excludes the names its remaining pattern matches.
// The first mask that decides wins.
class DirectoryListing {
public:
    DirectoryListing() = default;
    // A new listing filled at once by Scan(path, maskText, attributeFilter).
    DirectoryListing(const std::string& path, const std::string& maskText,
                     uint32_t attributeFilter);

    // Replaces the entries by those of the folder at path that AcceptEntry keeps, in
    // the platform's order. An empty path, or a folder that cannot be listed, leaves
    // the listing empty; FolderRefused tells the two kinds of failure apart. The folder
    // is asked for by its exact path (search/ExactPath.h), so names ending in a dot or
    // a space are listed as they are. An entry the platform reports but cannot be
    // reached by its listed name (its name cannot be represented in the ANSI code page,
    // or a file's path is longer than the platform accepts) is not kept but counted.
    void Scan(const std::string& path, const std::string& maskText, uint32_t attributeFilter);

    // Folders first, then names under CompareTextIgnoringCase, then size, then
    // creation time to the millisecond; entries equal under all four keep their order.
    void SortEntries();

    // The listed folder with a trailing backslash; empty after an empty path.
    const std::string& FolderPath() const { return folderPath_; }

    int32_t EntryCount() const;
    // Empty text for an index out of range.
    std::string EntryName(int32_t index) const;
    // False for an index out of range.
    bool EntryIsDirectory(int32_t index) const;
    // A zero-filled record for an index out of range.
    const WIN32_FIND_DATAA& EntryRecord(int32_t index) const;

    // True when the last Scan's folder exists (or its path is too long to be looked at)
    // but the platform refused to list it (access denied, path too long, ...). A folder
    // that does not exist, is no folder or holds nothing is not refused.
    bool FolderRefused() const { return folderRefused_; }
    // Files and folders of the last Scan that passed the attribute filter and the masks
    // but are not kept because they cannot be reached by their listed name. A file whose
    // name the platform had to cut short is counted whatever the masks.
    int32_t SkippedFiles() const { return skippedFiles_; }
    int32_t SkippedFolders() const { return skippedFolders_; }

private:
    std::string folderPath_;
    std::vector<WIN32_FIND_DATAA> entries_;
    bool folderRefused_ = false;
    int32_t skippedFiles_ = 0;
    int32_t skippedFolders_ = 0;
};

// The masks of a mask text, in order: split at ';', trimmed, empty pieces dropped.
std::vector<std::string> SplitMaskText(const std::string& maskText);

// Whether an entry with this name and these attributes is kept under the filter and
// masks (as made by SplitMaskText). The filter passes entries that carry all of its
// bits, or any entry when it contains FILE_ATTRIBUTE_NORMAL (0x80). "." and ".." are
// kept only by a mask that is itself "." or "..".
bool AcceptEntry(const std::string& name, uint32_t attributes, uint32_t attributeFilter,
                 const std::vector<std::string>& masks);

// Case-insensitive match of a name against a pattern of literals, '*' and '?',
// character by character ('?' is one character however many bytes it takes).
// An empty name never matches.
bool WildcardMatch(const std::string& name, const std::string& pattern);

// The SortEntries order of two records: negative when a comes first, 0 when equal
// under all four keys, positive when b comes first.
int32_t CompareEntryRecords(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b);
