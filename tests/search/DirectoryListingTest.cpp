#include "search/DirectoryListing.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ScratchFolder.h"
#include "support/ScriptNames.h"

namespace {

std::vector<std::string> SortedNames(const std::string& path, const std::string& masks,
                                     uint32_t filter) {
    DirectoryListing listing(path, masks, filter);
    listing.SortEntries();
    std::vector<std::string> names;
    for (int32_t i = 0; i < listing.EntryCount(); ++i) {
        names.push_back(listing.EntryName(i));
    }
    return names;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(WildcardMatch, StarQuestionMarkAndLiteralsIgnoringCase) {
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

TEST(WildcardMatch, EmptyNameNeverMatches) {
    EXPECT_FALSE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("", ""));
    EXPECT_FALSE(WildcardMatch("a", ""));
}

TEST(WildcardMatch, ManyStarsOnALongNameFinishQuickly) {
    const std::string name(250, 'a');
    const DWORD start = GetTickCount();
    EXPECT_FALSE(WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(name, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*"));
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(SplitMaskText, TrimsAndDropsEmptyPieces) {
    EXPECT_EQ((Names{"*.doc", "*.xls"}), SplitMaskText(" *.doc ; ;*.xls "));
    EXPECT_EQ((Names{"*.exe", "*.dll", "*.scr"}), SplitMaskText("*.exe;*.dll;*.scr"));
    EXPECT_EQ((Names{"*", "*.*"}), SplitMaskText("*;*.*"));
    EXPECT_EQ((Names{"a"}), SplitMaskText(";;a;"));
    EXPECT_TRUE(SplitMaskText("").empty());
    EXPECT_TRUE(SplitMaskText(" ; \t ;").empty());
}

TEST(AcceptEntry, FirstDecidingMaskWins) {
    const Names excludeFirst = SplitMaskText("^a*;*");
    EXPECT_FALSE(AcceptEntry("abc.txt", FILE_ATTRIBUTE_ARCHIVE, 0, excludeFirst));
    EXPECT_TRUE(AcceptEntry("bcd.txt", FILE_ATTRIBUTE_ARCHIVE, 0, excludeFirst));
    const Names includeFirst = SplitMaskText("*;^a*");
    EXPECT_TRUE(AcceptEntry("abc.txt", FILE_ATTRIBUTE_ARCHIVE, 0, includeFirst));
}

TEST(AcceptEntry, DotEntriesOnlyThroughADotMask) {
    const DWORD folder = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_FALSE(AcceptEntry(".", folder, 0, SplitMaskText("*;*.*")));
    EXPECT_FALSE(AcceptEntry("..", folder, 0, SplitMaskText("")));
    EXPECT_FALSE(AcceptEntry("..", folder, 0, SplitMaskText("^x")));
    EXPECT_TRUE(AcceptEntry(".", folder, 0, SplitMaskText(".")));
    EXPECT_TRUE(AcceptEntry("..", folder, 0, SplitMaskText("*.exe;..")));
    EXPECT_FALSE(AcceptEntry(".", folder, 0, SplitMaskText("..")));
}

TEST(AcceptEntry, OnlyExclusionMasksKeepTheRest) {
    const Names masks = SplitMaskText("^*.tmp;^~*");
    EXPECT_TRUE(AcceptEntry("a.doc", 0, 0, masks));
    EXPECT_FALSE(AcceptEntry("a.TMP", 0, 0, masks));
    EXPECT_FALSE(AcceptEntry("~lock", 0, 0, masks));
    EXPECT_TRUE(AcceptEntry("anything", 0, 0, SplitMaskText("^")));
}

TEST(AcceptEntry, AttributeFilter) {
    const Names all = SplitMaskText("*");
    EXPECT_TRUE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN,
                            FILE_ATTRIBUTE_DIRECTORY, all));
    EXPECT_FALSE(AcceptEntry("f", FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_DIRECTORY, all));
    EXPECT_FALSE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY,
                             FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, all));
    EXPECT_TRUE(AcceptEntry("d", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN,
                            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN, all));
    // FILE_ATTRIBUTE_NORMAL in the filter lets every entry through to the masks.
    EXPECT_TRUE(AcceptEntry("f", FILE_ATTRIBUTE_ARCHIVE,
                            FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN, all));
    EXPECT_FALSE(AcceptEntry("f.txt", FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NORMAL,
                             SplitMaskText("*.exe")));
    // With both FILE_ATTRIBUTE_NORMAL and the folder bit, folders skip the masks.
    EXPECT_TRUE(AcceptEntry("sub", FILE_ATTRIBUTE_DIRECTORY,
                            FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY,
                            SplitMaskText("*.exe")));
    EXPECT_FALSE(AcceptEntry("f.txt", FILE_ATTRIBUTE_ARCHIVE,
                             FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY,
                             SplitMaskText("*.exe")));
    EXPECT_FALSE(AcceptEntry("..", FILE_ATTRIBUTE_DIRECTORY,
                             FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY,
                             SplitMaskText("*.exe")));
}

TEST(DirectoryListing, KeepsEntriesMatchingAnyMaskIgnoringCase) {
    scratch::ScratchFolder folder("qf-listing");
    for (const char* name : {"a.EXE", "b.dll", "c.txt", "d.scr", "e.exe.txt"}) {
        folder.WriteFile(name, "");
    }
    EXPECT_EQ((Names{"a.EXE", "b.dll", "d.scr"}),
              SortedNames(folder.Root(), "*.exe;*.dll;*.scr", 0));
}

TEST(DirectoryListing, StarDotStarSkipsNamesWithoutFullStop) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("README", "");
    folder.WriteFile("x.txt", "");
    EXPECT_EQ((Names{"x.txt"}), SortedNames(folder.Root(), "*.*", 0));
    EXPECT_EQ((Names{"README", "x.txt"}), SortedNames(folder.Root(), "*", 0));
}

TEST(DirectoryListing, EmptyMaskTextKeepsEverythingButDotEntries) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("a.txt", "");
    folder.WriteFile("README", "");
    folder.MakeFolder("Sub");
    EXPECT_EQ((Names{"Sub", "a.txt", "README"}), SortedNames(folder.Root(), "", 0));
}

TEST(DirectoryListing, ExclusionMaskAlone) {
    scratch::ScratchFolder folder("qf-listing");
    for (const char* name : {"keep.doc", "drop.tmp", "DROP2.TMP", "tmp"}) {
        folder.WriteFile(name, "");
    }
    folder.MakeFolder("old.tmp");
    folder.MakeFolder("Sub");
    EXPECT_EQ((Names{"Sub", "keep.doc", "tmp"}), SortedNames(folder.Root(), "^*.tmp", 0));
}

TEST(DirectoryListing, FolderFilterKeepsOnlySubfolders) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("a.exe", "");
    folder.WriteFile("README", "");
    folder.MakeFolder("old.exe");
    folder.MakeFolder("NoDot");
    EXPECT_EQ((Names{"NoDot", "old.exe"}),
              SortedNames(folder.Root(), "*;*.*", FILE_ATTRIBUTE_DIRECTORY));
}

TEST(DirectoryListing, FoldersMatchingTheMasksAreKeptWithFilterZero) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("a.exe", "");
    folder.MakeFolder("old.exe");
    DirectoryListing listing(folder.Root(), "*.exe", 0);
    listing.SortEntries();
    ASSERT_EQ(2, listing.EntryCount());
    EXPECT_EQ("old.exe", listing.EntryName(0));
    EXPECT_TRUE(listing.EntryIsDirectory(0));
    EXPECT_EQ("a.exe", listing.EntryName(1));
    EXPECT_FALSE(listing.EntryIsDirectory(1));
}

TEST(DirectoryListing, EntryMatchedBySeveralMasksIsKeptOnce) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("report.doc", "");
    folder.WriteFile("readme.txt", "");
    EXPECT_EQ((Names{"readme.txt", "report.doc"}), SortedNames(folder.Root(), "*.doc;r*;*.*", 0));
}

TEST(DirectoryListing, HiddenSystemAndReadOnlyEntriesAreKept) {
    scratch::ScratchFolder folder("qf-listing");
    SetFileAttributesA(folder.WriteFile("hidden.exe", "").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.WriteFile("system.exe", "").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(folder.WriteFile("readonly.exe", "").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(folder.MakeFolder("hidden folder.exe").c_str(), FILE_ATTRIBUTE_HIDDEN);
    DirectoryListing listing(folder.Root(), "*.exe", 0);
    listing.SortEntries();
    ASSERT_EQ(4, listing.EntryCount());
    EXPECT_EQ("hidden folder.exe", listing.EntryName(0));
    EXPECT_EQ("hidden.exe", listing.EntryName(1));
    EXPECT_EQ("readonly.exe", listing.EntryName(2));
    EXPECT_EQ("system.exe", listing.EntryName(3));
    EXPECT_NE(0u, listing.EntryRecord(1).dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(0u, listing.EntryRecord(2).dwFileAttributes & FILE_ATTRIBUTE_READONLY);
}

TEST(DirectoryListing, FolderPathEndsInOneBackslash) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("a.txt", "");
    DirectoryListing plain(folder.Root(), "*", 0);
    DirectoryListing slashed(folder.Root() + "\\", "*", 0);
    EXPECT_EQ(folder.Root() + "\\", plain.FolderPath());
    EXPECT_EQ(folder.Root() + "\\", slashed.FolderPath());
    EXPECT_EQ(1, plain.EntryCount());
    EXPECT_EQ(1, slashed.EntryCount());
    DirectoryListing root("C:\\", "^*", 0);
    EXPECT_EQ("C:\\", root.FolderPath());
}

TEST(DirectoryListing, FoldersThatCannotBeListedGiveAnEmptyListing) {
    scratch::ScratchFolder folder("qf-listing");
    const std::string file = folder.WriteFile("a.txt", "");
    folder.WriteFile("b.txt", "");

    DirectoryListing listing(folder.Root(), "*", 0);
    EXPECT_EQ(2, listing.EntryCount());

    listing.Scan(folder.Root() + "\\missing", "*", 0);
    EXPECT_EQ(0, listing.EntryCount());
    EXPECT_EQ(folder.Root() + "\\missing\\", listing.FolderPath());

    listing.Scan(file, "*", 0);
    EXPECT_EQ(0, listing.EntryCount());

    listing.Scan(folder.Root() + "\\" + std::string(300, 'x'), "*", 0);
    EXPECT_EQ(0, listing.EntryCount());

    listing.Scan("", "*", 0);
    EXPECT_EQ(0, listing.EntryCount());
    EXPECT_EQ("", listing.FolderPath());
    EXPECT_EQ("", listing.EntryName(0));
}

TEST(DirectoryListing, RecordsCarrySizeAndOutOfRangeIndicesGiveSentinels) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("big.bin", std::string(1234, 'q'));
    DirectoryListing listing(folder.Root(), "*.bin", 0);
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

TEST(DirectoryListing, SortPutsFoldersFirstThenNamesIgnoringCase) {
    scratch::ScratchFolder folder("qf-listing");
    for (const char* name : {"b.txt", "C.txt", "A.txt", "a2.txt"}) {
        folder.WriteFile(name, "");
    }
    folder.MakeFolder("zdir");
    folder.MakeFolder("Bdir");
    EXPECT_EQ((Names{"Bdir", "zdir", "A.txt", "a2.txt", "b.txt", "C.txt"}),
              SortedNames(folder.Root(), "", 0));
}

TEST(CompareEntryRecords, SizeThenCreationTimeToTheMillisecond) {
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

// ---- Names in every script, exact names, entries the platform refuses ------------------

namespace {

using scriptnames::Utf16;
const std::string ReportRu = scriptnames::ReportRu + ".exe";
const std::string ReportCn = scriptnames::ReportCn + ".exe";
const std::string Anger = scriptnames::Anger + ".exe";
const std::string Smile = "\xF0\x9F\x98\x80.exe";  // 😀.exe: one character before the extension

// Creates the file (or with folder true the folder) through the wide API in the literal
// form, past any path length limit of the ANSI calls.
bool CreateWide(const std::string& path, bool folder = false) {
    const std::wstring literal = L"\\\\?\\" + Utf16(path);
    if (folder) {
        return CreateDirectoryW(literal.c_str(), nullptr) != FALSE;
    }
    HANDLE file = CreateFileW(literal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

TEST(WildcardMatch, MatchesWholeCharactersOfEveryScriptIgnoringCase) {
    EXPECT_TRUE(
        WildcardMatch("\xD0\x9E\xD0\xA2\xD0\xA7\xD0\x81\xD0\xA2.EXE", "*.exe"));  // ОТЧЁТ.EXE
    EXPECT_TRUE(WildcardMatch(ReportRu, "\xD0\x9E\xD0\xA2\xD0\xA7*.EXE"));        // ОТЧ*.EXE
    EXPECT_TRUE(WildcardMatch("\xC3\xA4rger.exe", "\xC3\x84*"));                  // ärger.exe, Ä*
    EXPECT_TRUE(WildcardMatch(ReportCn, "??.exe"));
    EXPECT_FALSE(WildcardMatch(ReportCn, "?.exe"));
    EXPECT_TRUE(WildcardMatch(Smile, "?.exe"));
    EXPECT_TRUE(WildcardMatch("\xD0\xB6.exe", "?.EXE"));  // ж.exe
    EXPECT_FALSE(WildcardMatch(ReportRu, "\xD0\xB0*"));   // а* (Cyrillic a)
    EXPECT_FALSE(WildcardMatch(ReportRu, "o*"));          // a Latin o is no Cyrillic о
}

TEST(DirectoryListing, NamesInEveryScriptAreListedExactlyAndInThePlatformsOrder) {
    scratch::ScratchFolder folder("qf-listing");
    const std::vector<std::string> names = {
        "b.exe", Anger,       "arbeit.exe",           ReportRu, "\xD0\x90\xD0\xB1.exe", ReportCn,
        Smile,   "Zebra.exe", "\xCE\xB1\xCE\xB2.exe", "x.txt"};
    for (const std::string& name : names) {
        ASSERT_TRUE(CreateWide(folder.Path(name))) << name;
    }
    // The exclusion mask (Cyrillic lower-case a) takes Аб.exe out, whatever its case.
    const Names listed = SortedNames(folder.Root(), "^\xD0\xB0*;*.EXE", 0);
    ASSERT_EQ(names.size() - 2, listed.size());
    for (size_t i = 0; i + 1 < listed.size(); ++i) {
        const std::wstring a = Utf16(listed[i]);
        const std::wstring b = Utf16(listed[i + 1]);
        EXPECT_LE(
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1),
            CSTR_EQUAL)
            << listed[i] << " before " << listed[i + 1];
    }
    for (const std::string& name : names) {
        const bool kept = name != "x.txt" && name != "\xD0\x90\xD0\xB1.exe";
        EXPECT_EQ(kept, std::find(listed.begin(), listed.end(), name) != listed.end()) << name;
    }
    EXPECT_EQ((Names{ReportRu}), SortedNames(folder.Root(), "\xD0\x9E*", 0));  // О*
    DirectoryListing listing(folder.Root(), Smile, 0);
    ASSERT_EQ(1, listing.EntryCount());
    EXPECT_EQ(0u, listing.EntryRecord(0).nFileSizeLow);
    EXPECT_EQ(0, listing.SkippedFiles());
    EXPECT_FALSE(listing.FolderRefused());
}

TEST(DirectoryListing, NamesEndingInASpaceOrADotAreListedAsTheyAre) {
    scratch::ScratchFolder folder("qf-listing");
    folder.WriteFile("report.exe", "plain");
    folder.WriteFile("report.exe ", "spaced");
    folder.WriteFile("sub.\\inner.exe", "inner");
    EXPECT_EQ((Names{"sub.", "report.exe", "report.exe "}), SortedNames(folder.Root(), "*", 0));
    DirectoryListing inner(folder.Path("sub."), "*.exe", 0);
    EXPECT_EQ(folder.Path("sub.") + "\\", inner.FolderPath());
    ASSERT_EQ(1, inner.EntryCount());
    EXPECT_EQ("inner.exe", inner.EntryName(0));
    EXPECT_EQ(5u, inner.EntryRecord(0).nFileSizeLow);
}

TEST(DirectoryListing, FoldersAndFilesBeyondThePathLimitAreCountedNotDropped) {
    scratch::ScratchFolder folder("qf-listing");
    // A folder whose own path fits, holding a file whose path does not, and a subfolder
    // whose listing pattern does not.
    const size_t nearLimit = 240;
    ASSERT_LT(folder.Root().size() + 2, nearLimit);
    const std::string nearFolderName(nearLimit - folder.Root().size() - 1, 'n');
    const std::string nearFolder = folder.Path(nearFolderName);
    ASSERT_TRUE(CreateWide(nearFolder, true));
    ASSERT_TRUE(CreateWide(nearFolder + "\\short.exe"));
    const std::string longFile = nearFolder + "\\" + std::string(30, 'f') + ".exe";
    const std::string deepFolder = nearFolder + "\\" + std::string(30, 'd');
    ASSERT_TRUE(CreateWide(longFile));
    ASSERT_TRUE(CreateWide(deepFolder, true));
    ASSERT_TRUE(CreateWide(deepFolder + "\\deep.exe"));
    const bool longPathsWork = GetFileAttributesA(longFile.c_str()) != INVALID_FILE_ATTRIBUTES;

    DirectoryListing files(nearFolder, "*.exe", 0);
    EXPECT_FALSE(files.FolderRefused());
    EXPECT_EQ(longPathsWork ? 2 : 1, files.EntryCount());
    EXPECT_EQ(longPathsWork ? 0 : 1, files.SkippedFiles());
    EXPECT_EQ(0, files.SkippedFolders());

    DirectoryListing folders(nearFolder, "*;*.*", FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_EQ(1, folders.EntryCount());
    EXPECT_EQ(0, folders.SkippedFolders());

    DirectoryListing deep(deepFolder, "*", 0);
    EXPECT_EQ(!longPathsWork, deep.FolderRefused());
    EXPECT_EQ(longPathsWork ? 1 : 0, deep.EntryCount());
}

TEST(DirectoryListing, MissingFoldersFilesAndEmptyFoldersAreNotRefused) {
    scratch::ScratchFolder folder("qf-listing");
    const std::string file = folder.WriteFile("a.txt", "");
    folder.MakeFolder("empty");
    for (const std::string& path : {folder.Path("missing"), file, folder.Path("empty"),
                                    std::string(), folder.Path("missing\\deeper")}) {
        DirectoryListing listing(path, "*", 0);
        EXPECT_FALSE(listing.FolderRefused()) << path;
        EXPECT_EQ(0, listing.EntryCount()) << path;
    }
}
