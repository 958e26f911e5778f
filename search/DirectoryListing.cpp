#include "search/DirectoryListing.h"

#include "control/UniqueHandle.h"
#include "control/WideText.h"
#include "search/ExactPath.h"
#include "search/TextHelpers.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace {

// A name lowered for matching, one element per character: a character outside the
// 16-bit range (an emoji, say) is one element, as '?' must consume it whole.
using MatchText = std::u32string;

// A name that fills this many bytes of the record may have been cut short by the
// platform: a name of up to 255 UTF-16 characters takes up to 765 bytes in UTF-8.
const std::size_t CutNameLength = MAX_PATH - 12;
// From this many bytes on, a file's exact path may be longer than the platform accepts
// (the limit counts UTF-16 characters, which never outnumber the bytes).
const std::size_t LongPathLength = MAX_PATH - 8;

bool IsDotName(const std::string& name) {
    return name == "." || name == "..";
}

bool IsAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Lowers text into lowered, whole characters at a time. ASCII text, by far the most
// common, is lowered directly; other text as UTF-16 by the platform.
void LowerForMatch(const std::string& text, MatchText& lowered) {
    lowered.clear();
    if (IsAscii(text)) {
        for (const char c : text) {
            lowered.push_back(static_cast<char32_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        }
        return;
    }
    std::wstring wide = WideText(text);
    if (!wide.empty()) {
        CharLowerBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    }
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(wide[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                lowered.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        lowered.push_back(unit);
    }
}

// Wildcard match of an already lowered name against an already lowered pattern.
// Iterative with one backtracking point, so that patterns with many '*' stay linear
// per attempt instead of trying every split of the name.
bool MatchLowered(const MatchText& name, const MatchText& pattern) {
    if (name.empty()) {
        return false;
    }
    const std::size_t none = MatchText::npos;
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = none;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starPattern != none) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') {
        ++p;
    }
    return p == pattern.size();
}

// The masks of one scan, with their patterns lowered once.
class MaskSet {
public:
    explicit MaskSet(const std::vector<std::string>& masks) {
        masks_.reserve(masks.size());
        for (const std::string& text : masks) {
            Mask mask;
            mask.Exclusion = !text.empty() && text[0] == '^';
            mask.AppliesToDotNames = IsDotName(text);
            LowerForMatch(mask.Exclusion ? text.substr(1) : text, mask.Pattern);
            masks_.push_back(std::move(mask));
        }
    }

    bool Accept(const std::string& name, uint32_t attributes, uint32_t filter) {
        if ((attributes & filter) != filter && (filter & FILE_ATTRIBUTE_NORMAL) == 0) {
            return false;
        }
        const bool dotName = IsDotName(name);
        if (!dotName && (filter & FILE_ATTRIBUTE_NORMAL) != 0 &&
            (filter & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return true;
        }
        bool inclusionSeen = false;
        bool lowered = false;
        for (const Mask& mask : masks_) {
            if (dotName && !mask.AppliesToDotNames) {
                continue;
            }
            if (!lowered) {
                // Lowered into a buffer reused across entries, sparing an allocation per name.
                LowerForMatch(name, lowerName_);
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
        MatchText Pattern;
    };

    std::vector<Mask> masks_;
    MatchText lowerName_;
};

// How far a name reported by the platform can be trusted to lead to its entry.
enum class NameState {
    Whole,
    // '?' never occurs in a name: the platform put it for a character the ANSI code
    // page lacks.
    Damaged,
    // A name as long as the record holds may have been cut short, and U+FFFD may stand
    // for UTF-16 that UTF-8 cannot carry: such names are looked up before they are kept.
    Doubtful,
};

NameState StateOfName(const std::string& name) {
    if (name.find('?') != std::string::npos) {
        return NameState::Damaged;
    }
    if (name.size() >= CutNameLength || name.find("\xEF\xBF\xBD") != std::string::npos) {
        return NameState::Doubtful;
    }
    return NameState::Whole;
}

// True when the platform finds the entry at exactPath; error receives its reason when not.
bool Reachable(const std::string& exactPath, DWORD& error) {
    if (GetFileAttributesA(exactPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    error = GetLastError();
    return false;
}

// After FindFirstFileA failed with listError on the folder at exactFolder (with its
// trailing backslash): true when the folder is there, or cannot even be looked at, so
// that its content is unknown rather than absent.
bool IsRefusedFolder(const std::string& exactFolder, DWORD listError) {
    if (listError == ERROR_FILE_NOT_FOUND || listError == ERROR_NO_MORE_FILES) {
        return false;  // listed: nothing in it
    }
    std::string folder = exactFolder;
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') {
        folder.pop_back();
    }
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    switch (GetLastError()) {
        case ERROR_PATH_NOT_FOUND:
            // Some systems say so of a path longer than they accept.
            return folder.size() >= LongPathLength;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_READY:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return false;
        default:
            return true;
    }
}

struct SortKey {
    bool IsDirectory = false;
    std::wstring Name;  // converted once, not at every comparison
    int64_t Size = 0;
    SYSTEMTIME Created = {};
    std::size_t Index = 0;
};

SortKey SortKeyOf(const WIN32_FIND_DATAA& record, std::size_t index) {
    SortKey key;
    key.IsDirectory = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    key.Name = WideText(std::string(record.cFileName, strnlen(record.cFileName, MAX_PATH)));
    key.Size = Value64FromHalves(record.nFileSizeLow, record.nFileSizeHigh);
    // A time the platform cannot convert keeps the zero time, so it still has a
    // consistent place in the order.
    if (!FileTimeToSystemTime(&record.ftCreationTime, &key.Created)) {
        key.Created = SYSTEMTIME();
    }
    key.Index = index;
    return key;
}

int32_t CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    const WORD left[] = {a.wYear, a.wMonth, a.wDay, a.wHour, a.wMinute, a.wSecond, a.wMilliseconds};
    const WORD right[] = {b.wYear,   b.wMonth,  b.wDay,         b.wHour,
                          b.wMinute, b.wSecond, b.wMilliseconds};
    for (std::size_t i = 0; i < sizeof(left) / sizeof(left[0]); ++i) {
        if (left[i] != right[i]) {
            return left[i] < right[i] ? -1 : 1;
        }
    }
    return 0;
}

int32_t CompareSortKeys(const SortKey& a, const SortKey& b) {
    if (a.IsDirectory != b.IsDirectory) {
        return a.IsDirectory ? -1 : 1;
    }
    const int32_t names = CompareWideTextIgnoringCase(a.Name, b.Name);
    if (names != 0) {
        return names < 0 ? -1 : 1;
    }
    const int32_t sizes = CompareValue64(a.Size, b.Size);
    if (sizes != 0) {
        return sizes;
    }
    return CompareSystemTimes(a.Created, b.Created);
}

}  // namespace

DirectoryListing::DirectoryListing(const std::string& path, const std::string& maskText,
                                   uint32_t attributeFilter) {
    Scan(path, maskText, attributeFilter);
}

void DirectoryListing::Scan(const std::string& path, const std::string& maskText,
                            uint32_t attributeFilter) {
    MaskSet masks(SplitMaskText(maskText));
    entries_.clear();
    folderRefused_ = false;
    skippedFiles_ = 0;
    skippedFolders_ = 0;
    folderPath_ = path;
    if (path.empty()) {
        return;
    }
    folderPath_ = WithTrailingBackslash(path);
    const std::string exactFolder = ExactPath(folderPath_);

    WIN32_FIND_DATAA record;
    FindHandle find = FindHandle::First((exactFolder + "*.*").c_str(), record);
    if (!find.IsValid()) {
        folderRefused_ = IsRefusedFolder(exactFolder, GetLastError());
        return;
    }
    std::string name;
    do {
        name.assign(record.cFileName, strnlen(record.cFileName, MAX_PATH));
        const bool accepted = masks.Accept(name, record.dwFileAttributes, attributeFilter);
        if (IsDotName(name)) {
            if (accepted) {
                entries_.push_back(record);
            }
            continue;
        }
        const bool isFolder = (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const NameState state = StateOfName(name);
        const bool longPath = !isFolder && exactFolder.size() + name.size() >= LongPathLength;
        if (state == NameState::Whole && !longPath) {
            if (accepted) {
                entries_.push_back(record);
            }
            continue;
        }
        // A name possibly cut short says nothing reliable about the masks: its end,
        // where the extension is, may be gone.
        const bool maybeCut = state == NameState::Doubtful && name.size() >= CutNameLength;
        const bool passesFilter = (record.dwFileAttributes & attributeFilter) == attributeFilter ||
                                  (attributeFilter & FILE_ATTRIBUTE_NORMAL) != 0;
        if (!accepted && !(maybeCut && passesFilter)) {
            continue;
        }
        DWORD error = ERROR_INVALID_NAME;
        const bool reachable =
            state != NameState::Damaged && Reachable(ExactPath(folderPath_ + name), error);
        // A whole name that is no longer found went away meanwhile: listed as before.
        if (reachable || (state == NameState::Whole && error == ERROR_FILE_NOT_FOUND)) {
            if (accepted) {
                entries_.push_back(record);
            }
        } else if (isFolder) {
            ++skippedFolders_;
        } else {
            ++skippedFiles_;
        }
    } while (find.Next(record));
}

void DirectoryListing::SortEntries() {
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

int32_t DirectoryListing::EntryCount() const {
    return static_cast<int32_t>(entries_.size());
}

std::string DirectoryListing::EntryName(int32_t index) const {
    if (index < 0 || index >= EntryCount()) {
        return std::string();
    }
    return entries_[static_cast<std::size_t>(index)].cFileName;
}

bool DirectoryListing::EntryIsDirectory(int32_t index) const {
    if (index < 0 || index >= EntryCount()) {
        return false;
    }
    return (entries_[static_cast<std::size_t>(index)].dwFileAttributes &
            FILE_ATTRIBUTE_DIRECTORY) != 0;
}

const WIN32_FIND_DATAA& DirectoryListing::EntryRecord(int32_t index) const {
    static const WIN32_FIND_DATAA empty = {};
    if (index < 0 || index >= EntryCount()) {
        return empty;
    }
    return entries_[static_cast<std::size_t>(index)];
}

std::vector<std::string> SplitMaskText(const std::string& maskText) {
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
                 const std::vector<std::string>& masks) {
    MaskSet set(masks);
    return set.Accept(name, attributes, attributeFilter);
}

bool WildcardMatch(const std::string& name, const std::string& pattern) {
    MatchText loweredName;
    MatchText loweredPattern;
    LowerForMatch(name, loweredName);
    LowerForMatch(pattern, loweredPattern);
    return MatchLowered(loweredName, loweredPattern);
}

int32_t CompareEntryRecords(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return CompareSortKeys(SortKeyOf(a, 0), SortKeyOf(b, 1));
}
