#include "search/DirectoryListing.h"

#include "search/FindHandle.h"
#include "search/TextHelpers.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

bool IsDotName(const std::string& name)
{
    return name == "." || name == "..";
}

// Wildcard match of an already lowered name against an already lowered pattern.
// Iterative with one backtracking point, so that patterns with many '*' stay linear
// per attempt instead of trying every split of the name.
bool MatchLowered(const std::string& name, const std::string& pattern)
{
    if (name.empty()) {
        return false;
    }
    const std::size_t none = std::string::npos;
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = none;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern != none) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// The masks of one scan, with their patterns lowered once.
class MaskSet {
public:
    explicit MaskSet(const std::vector<std::string>& masks)
    {
        masks_.reserve(masks.size());
        for (const std::string& text : masks) {
            Mask mask;
            mask.Exclusion = !text.empty() && text[0] == '^';
            mask.AppliesToDotNames = IsDotName(text);
            mask.Pattern = LowerCaseText(mask.Exclusion ? text.substr(1) : text);
            masks_.push_back(std::move(mask));
        }
    }

    bool Accept(const std::string& name, uint32_t attributes, uint32_t filter)
    {
        if ((attributes & filter) != filter && (filter & FILE_ATTRIBUTE_NORMAL) == 0) {
            return false;
        }
        const bool dotName = IsDotName(name);
        if (!dotName && (filter & FILE_ATTRIBUTE_NORMAL) != 0 && (filter & FILE_ATTRIBUTE_DIRECTORY) != 0
            && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return true;
        }
        bool inclusionSeen = false;
        bool lowered = false;
        for (const Mask& mask : masks_) {
            if (dotName && !mask.AppliesToDotNames) {
                continue;
            }
            if (!lowered) {
                LowerInto(name);
                lowered = true;
            }
            const bool matches = MatchLowered(lowerName_, mask.Pattern);
            if (mask.Exclusion) {
                if (matches) {
                    return false;
                }
            } else {
                inclusionSeen = true;
                if (matches) {
                    return true;
                }
            }
        }
        return !inclusionSeen && !dotName;
    }

private:
    struct Mask {
        bool Exclusion = false;
        bool AppliesToDotNames = false;
        std::string Pattern;
    };

    // Lowers into a buffer reused across entries, sparing an allocation per name.
    void LowerInto(const std::string& name)
    {
        lowerName_.assign(name);
        if (!lowerName_.empty()) {
            CharLowerBuffA(&lowerName_[0], static_cast<DWORD>(lowerName_.size()));
        }
    }

    std::vector<Mask> masks_;
    std::string lowerName_;
};

struct SortKey {
    bool IsDirectory = false;
    std::string Name;
    int64_t Size = 0;
    SYSTEMTIME Created = {};
    std::size_t Index = 0;
};

SortKey SortKeyOf(const WIN32_FIND_DATAA& record, std::size_t index)
{
    SortKey key;
    key.IsDirectory = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    key.Name = record.cFileName;
    key.Size = Value64FromHalves(record.nFileSizeLow, record.nFileSizeHigh);
    // A time the platform cannot convert keeps the zero time, so it still has a
    // consistent place in the order.
    if (!FileTimeToSystemTime(&record.ftCreationTime, &key.Created)) {
        key.Created = SYSTEMTIME();
    }
    key.Index = index;
    return key;
}

int32_t CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    const WORD left[] = {a.wYear, a.wMonth, a.wDay, a.wHour, a.wMinute, a.wSecond, a.wMilliseconds};
    const WORD right[] = {b.wYear, b.wMonth, b.wDay, b.wHour, b.wMinute, b.wSecond, b.wMilliseconds};
    for (std::size_t i = 0; i < sizeof(left) / sizeof(left[0]); ++i) {
        if (left[i] != right[i]) {
            return left[i] < right[i] ? -1 : 1;
        }
    }
    return 0;
}

int32_t CompareSortKeys(const SortKey& a, const SortKey& b)
{
    if (a.IsDirectory != b.IsDirectory) {
        return a.IsDirectory ? -1 : 1;
    }
    const int32_t names = CompareTextIgnoringCase(a.Name, b.Name);
    if (names != 0) {
        return names < 0 ? -1 : 1;
    }
    const int32_t sizes = CompareValue64(a.Size, b.Size);
    if (sizes != 0) {
        return sizes;
    }
    return CompareSystemTimes(a.Created, b.Created);
}

} // namespace

DirectoryListing::DirectoryListing(const std::string& path, const std::string& maskText, uint32_t attributeFilter)
{
    Scan(path, maskText, attributeFilter);
}

void DirectoryListing::Scan(const std::string& path, const std::string& maskText, uint32_t attributeFilter)
{
    MaskSet masks(SplitMaskText(maskText));
    entries_.clear();
    folderPath_ = path;
    if (path.empty()) {
        return;
    }
    folderPath_ = WithTrailingBackslash(path);

    WIN32_FIND_DATAA record;
    FindHandle find = FindHandle::First((folderPath_ + "*.*").c_str(), record);
    if (!find.IsValid()) {
        return;
    }
    std::string name;
    do {
        name.assign(record.cFileName);
        if (masks.Accept(name, record.dwFileAttributes, attributeFilter)) {
            entries_.push_back(record);
        }
    } while (find.Next(record));
}

void DirectoryListing::SortEntries()
{
    std::vector<SortKey> keys;
    keys.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        keys.push_back(SortKeyOf(entries_[i], i));
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const SortKey& a, const SortKey& b) { return CompareSortKeys(a, b) < 0; });
    std::vector<WIN32_FIND_DATAA> sorted;
    sorted.reserve(entries_.size());
    for (const SortKey& key : keys) {
        sorted.push_back(entries_[key.Index]);
    }
    entries_.swap(sorted);
}

int32_t DirectoryListing::EntryCount() const
{
    return static_cast<int32_t>(entries_.size());
}

std::string DirectoryListing::EntryName(int32_t index) const
{
    if (index < 0 || index >= EntryCount()) {
        return std::string();
    }
    return entries_[static_cast<std::size_t>(index)].cFileName;
}

bool DirectoryListing::EntryIsDirectory(int32_t index) const
{
    if (index < 0 || index >= EntryCount()) {
        return false;
    }
    return (entries_[static_cast<std::size_t>(index)].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

const WIN32_FIND_DATAA& DirectoryListing::EntryRecord(int32_t index) const
{
    static const WIN32_FIND_DATAA empty = {};
    if (index < 0 || index >= EntryCount()) {
        return empty;
    }
    return entries_[static_cast<std::size_t>(index)];
}

std::vector<std::string> SplitMaskText(const std::string& maskText)
{
    std::vector<std::string> masks;
    std::size_t start = 0;
    while (start < maskText.size()) {
        std::size_t end = maskText.find(';', start);
        if (end == std::string::npos) {
            end = maskText.size();
        }
        const std::string mask = TrimBlanks(maskText.substr(start, end - start));
        if (!mask.empty()) {
            masks.push_back(mask);
        }
        start = end + 1;
    }
    return masks;
}

bool AcceptEntry(const std::string& name, uint32_t attributes, uint32_t attributeFilter,
                 const std::vector<std::string>& masks)
{
    MaskSet set(masks);
    return set.Accept(name, attributes, attributeFilter);
}

bool WildcardMatch(const std::string& name, const std::string& pattern)
{
    return MatchLowered(LowerCaseText(name), LowerCaseText(pattern));
}

int32_t CompareEntryRecords(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b)
{
    return CompareSortKeys(SortKeyOf(a, 0), SortKeyOf(b, 1));
}
