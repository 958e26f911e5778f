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
    DirectoryListing(const std::string& path, const std::string& maskText, uint32_t attributeFilter);

    // Replaces the entries by those of the folder at path that AcceptEntry keeps, in
    // the platform's order. An empty path, or a folder that cannot be listed, leaves
    // the listing empty without any report.
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

private:
    std::string folderPath_;
    std::vector<WIN32_FIND_DATAA> entries_;
};

// The masks of a mask text, in order: split at ';', trimmed, empty pieces dropped.
std::vector<std::string> SplitMaskText(const std::string& maskText);

// Whether an entry with this name and these attributes is kept under the filter and
// masks (as made by SplitMaskText). The filter passes entries that carry all of its
// bits, or any entry when it contains FILE_ATTRIBUTE_NORMAL (0x80). "." and ".." are
// kept only by a mask that is itself "." or "..".
bool AcceptEntry(const std::string& name, uint32_t attributes, uint32_t attributeFilter,
                 const std::vector<std::string>& masks);

// Case-insensitive match of a name against a pattern of literals, '*' and '?'.
// An empty name never matches.
bool WildcardMatch(const std::string& name, const std::string& pattern);

// The SortEntries order of two records: negative when a comes first, 0 when equal
// under all four keys, positive when b comes first.
int32_t CompareEntryRecords(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b);
