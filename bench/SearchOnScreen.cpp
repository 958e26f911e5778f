// "Find" in the real main window on screen over a large tree: 100,000 files in 5,000
// folders, 20,000 of them matching "*.exe;*.dll;*.scr", timed to "Finish, found 20,000
// Files" against a bare recursive FindFirstFileA / FindNextFileA walk of the same tree,
// side by side in one run. Before the timed rounds one search counts what the window
// repaints. The memory taken by a search is sampled by a second thread: once for a search
// of the same tree that lists nothing, then once for the search that lists 20,000 rows.
//
// Usage: bench_SearchOnScreen [rounds]   (default 5)
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"
#include "bench/RepaintCensus.h"
#include "bench/SmallFile.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "control/UniqueHandle.h"
#include "search/DirectoryListing.h"
#include "search/ResultList.h"
#include "search/StartSearch.h"
#include "support/ScratchFolder.h"

using bench::Median;
using bench::Now;

using bench::BareWalk;
using bench::MemorySampler;

namespace {

const int TopFolders = 50;
const int SubFolders = 99;  // 50 + 50 * 99 = 5,000 folders
const int FilesPerFolder = 20;
const char* const Masks = "*.exe;*.dll;*.scr";
const int MatchingPerFolder = 4;

// Twenty files, four of them matching; names vary so that rows land all over the list.
void FillFolder(const std::string& folder, int index, uint32_t& seed) {
    static const char* const matching[MatchingPerFolder] = {".exe", ".dll", ".scr", ".EXE"};
    static const char* const others[] = {".txt", ".doc", ".xls", ".dat",
                                         ".ini", ".log", ".bmp", ".sys"};
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < FilesPerFolder; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::string name;
        const int letters = 3 + static_cast<int>((seed >> 8) % 6);
        for (int c = 0; c < letters; ++c) {
            seed = seed * 1103515245u + 12345u;
            const char letter = static_cast<char>('a' + (seed >> 16) % 26);
            name += (seed >> 12) % 4 == 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
        }
        name += std::to_string(index) + "_" + std::to_string(i);
        name += i < MatchingPerFolder ? matching[i] : others[i % 8];
        bench::WriteSmallFile(folder + "\\" + name, seed % 97);
    }
}

int MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), nullptr);
    int folders = 0;
    uint32_t seed = 7;
    for (int top = 0; top < TopFolders; ++top) {
        const std::string topFolder = root + "\\top" + std::to_string(top);
        FillFolder(topFolder, folders++, seed);
        for (int sub = 0; sub < SubFolders; ++sub) {
            FillFolder(topFolder + "\\sub" + std::to_string(sub), folders++, seed);
        }
    }
    return folders;
}

bool Matches(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    const char* tail = name.c_str() + name.size() - 4;
    return _stricmp(tail, ".exe") == 0 || _stricmp(tail, ".dll") == 0 ||
           _stricmp(tail, ".scr") == 0;
}

// The search's own listing without the list and the message handling: each folder
// listed once for the files the masks accept and every subfolder; returns the files.
int ListingsOnly(const std::string& folder) {
    DirectoryListing listing(folder, Masks, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY);
    listing.SortEntries();
    int found = 0;
    for (int32_t index = 0; index < listing.EntryCount(); ++index) {
        if (listing.EntryIsDirectory(index)) {
            found += ListingsOnly(listing.FolderPath() + listing.EntryName(index));
        } else {
            ++found;
        }
    }
    return found;
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

double SearchGrowthKiB(MainWindow* window, MemorySampler& sampler, const char* masks) {
    // An empty list first, so that the rows of the previous search are gone on both sides.
    ResultList(window->ResultListView).ClearRows();
    DrainMessages();
    window->MaskCombo->SetText(masks);
    const SIZE_T before = sampler.Start();
    StartSearch(window);
    const SIZE_T peak = sampler.Stop();
    DrainMessages();
    window->MaskCombo->SetText(Masks);
    return peak > before ? (peak - before) / 1024.0 : 0.0;
}

// ---- what a search repaints -----------------------------------------------------------------

void PrintRepaintCensus(MainWindow* window) {
    bench::RepaintCensus census;
    const double start = Now();
    StartSearch(window);
    const double seconds = Now() - start;
    census.End();
    DrainMessages();
    std::printf("WM_PAINT during one search with counting hooks (%.2f s, %d rows):", seconds,
                window->FoundCount);
    for (const auto& entry : census.Result()) {
        std::printf(" %s %d;", bench::WindowName(window, entry.first).c_str(), entry.second.Paint);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "qf-bench-bigsearch-" + std::to_string(GetCurrentProcessId());
    const double madeStart = Now();
    const int folders = MakeTree(root);
    const int expected = folders * MatchingPerFolder;
    std::printf("tree: %d folders, %d files, %d match %s (made in %.1f s)\n", folders,
                folders * FilesPerFolder, expected, Masks, Now() - madeStart);
    std::fflush(stdout);

    MainWindow* window = nullptr;
    BuildMainWindow(&window, nullptr);
    window->MainForm->CreateWindowHandle();
    ShowWindow(window->MainForm->Handle, SW_SHOW);
    DrainMessages();
    window->FolderEdit->SetText(root);
    window->MaskCombo->SetText(Masks);
    const std::string finished = "Finish, found 20,000 Files";

    BareWalk(root, Matches);  // warms the file system's caches for both sides
    // Memory first, while the process has not yet held any rows: a search that lists
    // nothing, then one that lists 20,000 rows.
    MemorySampler sampler;
    const double noneGrowth = SearchGrowthKiB(window, sampler, "*.none");
    const double listedGrowth = SearchGrowthKiB(window, sampler, Masks);
    std::printf(
        "working set growth: search of the 100,000 files listing none %.0f KiB; listing 20,000 "
        "rows %.0f KiB "
        "(%.2f KiB per row)\n",
        noneGrowth, listedGrowth, listedGrowth / expected);
    PrintRepaintCensus(window);

    std::vector<double> floors;
    std::vector<double> searches;
    std::vector<double> ratios;
    std::vector<double> listingRatios;
    bool allFound = true;
    for (int round = 0; round < rounds; ++round) {
        double start = Now();
        const int bareFound = BareWalk(root, Matches);
        const double floorBefore = Now() - start;
        DrainMessages();
        start = Now();
        StartSearch(window);
        const double search = Now() - start;
        DrainMessages();
        start = Now();
        const int listed = ListingsOnly(root);
        const double listing = Now() - start;
        start = Now();
        BareWalk(root, Matches);
        const double floor = (floorBefore + (Now() - start)) / 2;
        listingRatios.push_back(listing / floor);
        const bool found = bareFound == expected && listed == expected &&
                           window->FoundCount == expected &&
                           ResultList(window->ResultListView).RowCount() == expected &&
                           window->InfoLabel->GetText() == finished;
        allFound = allFound && found;
        floors.push_back(floor);
        searches.push_back(search);
        ratios.push_back(search / floor);
        std::printf(
            "round %d: bare walk %.3f s, the search's listings alone %.3f s, Find %.3f s, ratio "
            "%.2f%s\n",
            round + 1, floor, listing, search, search / floor, found ? "" : "  (WRONG RESULT)");
        std::fflush(stdout);
    }
    const double ratio = Median(ratios);
    std::printf("median of %d rounds: bare walk %.3f s, Find on screen %.3f s\n", rounds,
                Median(floors), Median(searches));
    std::printf("ratio of the search's listings alone / bare walk: %.2f (for information)\n",
                Median(listingRatios));
    std::printf("ratio Find on screen / bare walk: %.2f (limit 2); %s\n", ratio,
                allFound ? "\"Finish, found 20,000 Files\" every time" : "FILES MISSING");

    window->MainForm->Release();
    scratch::RemoveFolderTree(root);
    return allFound && ratio <= 2.0 ? 0 : 1;
}
