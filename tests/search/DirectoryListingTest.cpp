#include "search/DirectoryListing.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// A fresh folder below the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int counter = 0;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "qf_listing_" + std::to_string(GetCurrentProcessId()) + "_"
              + std::to_string(++counter);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }

    std::string File(const std::string& name, std::size_t size = 0) const
    {
        const std::string full = path_ + "\\" + name;
        HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const std::string bytes(size, 'q');
            DWORD written = 0;
            if (size > 0) {
                WriteFile(file, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
            }
            CloseHandle(file);
        }
        return full;
    }

    std::string Folder(const std::string& name) const
    {
        const std::string full = path_ + "\\" + name;
        CreateDirectoryA(full.c_str(), nullptr);
        return full;
    }

private:
    static void RemoveTree(const std::string& folder)
    {
        WIN32_FIND_DATAA record;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &record);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = record.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                const std::string full = folder + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(find, &record));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

std::vector<std::string> SortedNames(const std::string& path, const std::string& masks, uint32_t filter)
{
    DirectoryListing listing(path, masks, filter);
    listing.SortEntries();
    std::vector<std::string> names;
    for (int32_t i = 0; i < listing.EntryCount(); ++i) {
        names.push_back(listing.EntryName(i));
    }
    return names;
}

using Names = std::vector<std::string>;

} // namespace

TEST(WildcardMatch, StarQuestionMarkAndLiteralsIgnoringCase)
{
    EXPECT_TRUE(WildcardMatch("A.EXE", "*.exe"));
    EXPECT_TRUE(WildcardMatch("setup.exe", "S*.E?E"));
    EXPECT_TRUE(WildcardMatch("a.txt", "?.txt"));
    EXPECT_FALSE(WildcardMatch("ab.txt", "?.txt"));
    EXPECT_FALSE(WildcardMatch(".txt", "?.txt"));
    EXPECT_TRUE(WildcardMatch("abc", "a*"));
    EXPECT_TRUE(WildcardMatch("abc", "*c"));
    EXPECT_TRUE(WildcardMatch("abc", "a**c"));
    EXPECT_TRUE(WildcardMatch("abc", "abc***"));
    EXPECT_FALSE(WildcardMatch("abc", "abcd"));
    EXPECT_FALSE(WildcardMatch("abcd", "abc"));
    EXPECT_TRUE(WildcardMatch("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(WildcardMatch("mississippi", "m*iss*ppx"));
    EXPECT_TRUE(WildcardMatch("x.exe.exe", "*.exe"));
    EXPECT_FALSE(WildcardMatch("x.exe.txt", "*.exe"));
}

TEST(WildcardMatch, EmptyNameNeverMatches)
{
    EXPECT_FALSE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("", ""));
    EXPECT_FALSE(WildcardMatch("a", ""));
}

TEST(WildcardMatch, ManyStarsOnALongNameFinishQuickly)
{
    const std::string name(250, 'a');
    const DWORD start = GetTickCount();
    EXPECT_FALSE(WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*"));
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(SplitMaskText, TrimsAndDropsEmptyPieces)
{
    EXPECT_EQ((Names{"*.doc", "*.xls"}), SplitMaskText(" *.doc ; ;*.xls "));
    EXPECT_EQ((Names{"*.exe", "*.dll", "*.scr"}), SplitMaskText("*.exe;*.dll;*.scr"));
    EXPECT_EQ((Names{"*", "*.*"}), SplitMaskText("*;*.*"));
    EXPECT_EQ((Names{"a"}), SplitMaskText(";;a;"));
    EXPECT_TRUE(SplitMaskText("").empty());
    EXPECT_TRUE(SplitMaskText(" ; \t ;").empty());
}

TEST(AcceptEntry, FirstDecidingMaskWins)
{
    const Names excludeFirst = SplitMaskText("^a*;*");
    EXPECT_FALSE(AcceptEntry("abc.txt", FILE_ATTRIBUTE_ARCHIVE, 0, excludeFirst));
    EXPECT_TRUE(AcceptEntry("bcd.txt", FILE_ATTRIBUTE_ARCHIVE, 0, excludeFirst));
    const Names includeFirst = SplitMaskText("*;^a*");
    EXPECT_TRUE(AcceptEntry("abc.txt", FILE_ATTRIBUTE_ARCHIVE, 0, includeFirst));
}

TEST(AcceptEntry, DotEntriesOnlyThroughADotMask)
{
    const DWORD folder = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_FALSE(AcceptEntry(".", folder, 0, SplitMaskText("*;*.*")));
    EXPECT_FALSE(AcceptEntry("..", folder, 0, SplitMaskText("")));
    EXPECT_FALSE(AcceptEntry("..", folder, 0, SplitMaskText("^x")));
    EXPECT_TRUE(AcceptEntry(".", folder, 0, SplitMaskText(".")));
    EXPECT_TRUE(AcceptEntry("..", folder, 0, SplitMaskText("*.exe;..")));
    EXPECT_FALSE(AcceptEntry(".", folder, 0, SplitMaskText("..")));
}

TEST(AcceptEntry, OnlyExclusionMasksKeepTheRest)
{
    const Names masks = SplitMaskText("^*.tmp;^~*");
    EXPECT_TRUE(AcceptEntry("a.doc", 0, 0, masks));
    EXPECT_FALSE(AcceptEntry("a.TMP", 0, 0, masks));
    EXPECT_FALSE(AcceptEntry("~lock", 0, 0, masks));
    EXPECT_TRUE(AcceptEntry("anything", 0, 0, SplitMaskText("^")));
}

TEST(AcceptEntry, AttributeFilter)
{
    const Names all = SplitMaskText("*");
    EXPECT_TRUE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, 0x10, all));
    EXPECT_FALSE(AcceptEntry("f", FILE_ATTRIBUTE_ARCHIVE, 0x10, all));
    EXPECT_FALSE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY, 0x12, all));
    EXPECT_TRUE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, 0x12, all));
    // FILE_ATTRIBUTE_NORMAL in the filter lets every entry through to the masks.
    EXPECT_TRUE(AcceptEntry("f", FILE_ATTRIBUTE_ARCHIVE, 0x82, all));
    EXPECT_FALSE(AcceptEntry("f.txt", FILE_ATTRIBUTE_ARCHIVE, 0x80, SplitMaskText("*.exe")));
    // With both FILE_ATTRIBUTE_NORMAL and the folder bit, folders skip the masks.
    EXPECT_TRUE(AcceptEntry("sub", FILE_ATTRIBUTE_DIRECTORY, 0x90, SplitMaskText("*.exe")));
    EXPECT_FALSE(AcceptEntry("f.txt", FILE_ATTRIBUTE_ARCHIVE, 0x90, SplitMaskText("*.exe")));
    EXPECT_FALSE(AcceptEntry("..", FILE_ATTRIBUTE_DIRECTORY, 0x90, SplitMaskText("*.exe")));
}

TEST(DirectoryListing, KeepsEntriesMatchingAnyMaskIgnoringCase)
{
    ScratchFolder folder;
    for (const char* name : {"a.EXE", "b.dll", "c.txt", "d.scr", "e.exe.txt"}) {
        folder.File(name);
    }
    EXPECT_EQ((Names{"a.EXE", "b.dll", "d.scr"}), SortedNames(folder.Path(), "*.exe;*.dll;*.scr", 0));
}

TEST(DirectoryListing, StarDotStarSkipsNamesWithoutFullStop)
{
    ScratchFolder folder;
    folder.File("README");
    folder.File("x.txt");
    EXPECT_EQ((Names{"x.txt"}), SortedNames(folder.Path(), "*.*", 0));
    EXPECT_EQ((Names{"README", "x.txt"}), SortedNames(folder.Path(), "*", 0));
}

TEST(DirectoryListing, EmptyMaskTextKeepsEverythingButDotEntries)
{
    ScratchFolder folder;
    folder.File("a.txt");
    folder.File("README");
    folder.Folder("Sub");
    EXPECT_EQ((Names{"Sub", "a.txt", "README"}), SortedNames(folder.Path(), "", 0));
}

TEST(DirectoryListing, ExclusionMaskAlone)
{
    ScratchFolder folder;
    for (const char* name : {"keep.doc", "drop.tmp", "DROP2.TMP", "tmp"}) {
        folder.File(name);
    }
    folder.Folder("old.tmp");
    folder.Folder("Sub");
    EXPECT_EQ((Names{"Sub", "keep.doc", "tmp"}), SortedNames(folder.Path(), "^*.tmp", 0));
}

TEST(DirectoryListing, FolderFilterKeepsOnlySubfolders)
{
    ScratchFolder folder;
    folder.File("a.exe");
    folder.File("README");
    folder.Folder("old.exe");
    folder.Folder("NoDot");
    EXPECT_EQ((Names{"NoDot", "old.exe"}), SortedNames(folder.Path(), "*;*.*", 0x10));
}

TEST(DirectoryListing, FoldersMatchingTheMasksAreKeptWithFilterZero)
{
    ScratchFolder folder;
    folder.File("a.exe");
    folder.Folder("old.exe");
    DirectoryListing listing(folder.Path(), "*.exe", 0);
    listing.SortEntries();
    ASSERT_EQ(2, listing.EntryCount());
    EXPECT_EQ("old.exe", listing.EntryName(0));
    EXPECT_TRUE(listing.EntryIsDirectory(0));
    EXPECT_EQ("a.exe", listing.EntryName(1));
    EXPECT_FALSE(listing.EntryIsDirectory(1));
}

TEST(DirectoryListing, EntryMatchedBySeveralMasksIsKeptOnce)
{
    ScratchFolder folder;
    folder.File("report.doc");
    folder.File("readme.txt");
    EXPECT_EQ((Names{"readme.txt", "report.doc"}), SortedNames(folder.Path(), "*.doc;r*;*.*", 0));
}

TEST(DirectoryListing, HiddenSystemAndReadOnlyEntriesAreKept)
{
    ScratchFolder folder;
    SetFileAttributesA(folder.File("hidden.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.File("system.exe").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(folder.File("readonly.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(folder.Folder("hidden folder.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    DirectoryListing listing(folder.Path(), "*.exe", 0);
    listing.SortEntries();
    ASSERT_EQ(4, listing.EntryCount());
    EXPECT_EQ("hidden folder.exe", listing.EntryName(0));
    EXPECT_EQ("hidden.exe", listing.EntryName(1));
    EXPECT_EQ("readonly.exe", listing.EntryName(2));
    EXPECT_EQ("system.exe", listing.EntryName(3));
    EXPECT_NE(0u, listing.EntryRecord(1).dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(0u, listing.EntryRecord(2).dwFileAttributes & FILE_ATTRIBUTE_READONLY);
}

TEST(DirectoryListing, FolderPathEndsInOneBackslash)
{
    ScratchFolder folder;
    folder.File("a.txt");
    DirectoryListing plain(folder.Path(), "*", 0);
    DirectoryListing slashed(folder.Path() + "\\", "*", 0);
    EXPECT_EQ(folder.Path() + "\\", plain.FolderPath());
    EXPECT_EQ(folder.Path() + "\\", slashed.FolderPath());
    EXPECT_EQ(1, plain.EntryCount());
    EXPECT_EQ(1, slashed.EntryCount());
    DirectoryListing root("C:\\", "^*", 0);
    EXPECT_EQ("C:\\", root.FolderPath());
}

TEST(DirectoryListing, FoldersThatCannotBeListedGiveAnEmptyListing)
{
    ScratchFolder folder;
    const std::string file = folder.File("a.txt");
    folder.File("b.txt");

    DirectoryListing listing(folder.Path(), "*", 0);
    EXPECT_EQ(2, listing.EntryCount());

    listing.Scan(folder.Path() + "\\missing", "*", 0);
    EXPECT_EQ(0, listing.EntryCount());
    EXPECT_EQ(folder.Path() + "\\missing\\", listing.FolderPath());

    listing.Scan(file, "*", 0);
    EXPECT_EQ(0, listing.EntryCount());

    listing.Scan(folder.Path() + "\\" + std::string(300, 'x'), "*", 0);
    EXPECT_EQ(0, listing.EntryCount());

    listing.Scan("", "*", 0);
    EXPECT_EQ(0, listing.EntryCount());
    EXPECT_EQ("", listing.FolderPath());
    EXPECT_EQ("", listing.EntryName(0));
}

TEST(DirectoryListing, RecordsCarrySizeAndOutOfRangeIndicesGiveSentinels)
{
    ScratchFolder folder;
    folder.File("big.bin", 1234);
    DirectoryListing listing(folder.Path(), "*.bin", 0);
    ASSERT_EQ(1, listing.EntryCount());
    EXPECT_EQ(1234u, listing.EntryRecord(0).nFileSizeLow);
    EXPECT_EQ(0u, listing.EntryRecord(0).nFileSizeHigh);
    EXPECT_STREQ("big.bin", listing.EntryRecord(0).cFileName);
    EXPECT_EQ("", listing.EntryName(1));
    EXPECT_EQ("", listing.EntryName(-1));
    EXPECT_FALSE(listing.EntryIsDirectory(5));
    EXPECT_EQ(0u, listing.EntryRecord(-1).dwFileAttributes);
    EXPECT_EQ('\0', listing.EntryRecord(1).cFileName[0]);
}

TEST(DirectoryListing, SortPutsFoldersFirstThenNamesIgnoringCase)
{
    ScratchFolder folder;
    for (const char* name : {"b.txt", "C.txt", "A.txt", "a2.txt"}) {
        folder.File(name);
    }
    folder.Folder("zdir");
    folder.Folder("Bdir");
    EXPECT_EQ((Names{"Bdir", "zdir", "A.txt", "a2.txt", "b.txt", "C.txt"}), SortedNames(folder.Path(), "", 0));
}

TEST(CompareEntryRecords, SizeThenCreationTimeToTheMillisecond)
{
    WIN32_FIND_DATAA small = {};
    lstrcpyA(small.cFileName, "same.doc");
    SYSTEMTIME time = {2020, 5, 0, 17, 10, 30, 15, 250};
    SystemTimeToFileTime(&time, &small.ftCreationTime);
    small.nFileSizeLow = 0xFFFFFFFFu;

    WIN32_FIND_DATAA big = small;
    big.nFileSizeHigh = 1;
    big.nFileSizeLow = 0;
    EXPECT_LT(CompareEntryRecords(small, big), 0);
    EXPECT_GT(CompareEntryRecords(big, small), 0);

    WIN32_FIND_DATAA later = small;
    time.wMilliseconds = 251;
    SystemTimeToFileTime(&time, &later.ftCreationTime);
    EXPECT_LT(CompareEntryRecords(small, later), 0);
    EXPECT_GT(CompareEntryRecords(later, small), 0);

    // Less than a millisecond apart counts as equal.
    WIN32_FIND_DATAA sameMillisecond = small;
    sameMillisecond.ftCreationTime.dwLowDateTime += 10;
    EXPECT_EQ(0, CompareEntryRecords(small, sameMillisecond));

    WIN32_FIND_DATAA folder = big;
    folder.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    lstrcpyA(folder.cFileName, "zzz");
    EXPECT_LT(CompareEntryRecords(folder, small), 0);

    WIN32_FIND_DATAA upper = small;
    lstrcpyA(upper.cFileName, "SAME.DOC");
    EXPECT_EQ(0, CompareEntryRecords(small, upper));
}
