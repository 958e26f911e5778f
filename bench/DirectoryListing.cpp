// Lists a folder of 20,000 files with a three-mask text through DirectoryListing and
// with a bare FindFirstFileA/FindNextFileA loop, side by side in the same run, and
// prints the median ratio of the two times. The listing must stay below 3 times the
// bare enumeration.

#include "search/DirectoryListing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "bench/BenchTiming.h"
#include "control/UniqueHandle.h"

using bench::Median;
using bench::Now;

namespace {

const int FileCount = 20000;
const int Rounds = 7;
const char* const MaskText = "*.exe;*.dll;*.scr";
const char* const Extensions[] = {".exe", ".dll", ".scr", ".txt", ".doc"};

std::string FileName(int i) {
    char name[32];
    std::snprintf(name, sizeof(name), "file%05d%s", i, Extensions[i % 5]);
    return name;
}

bool CreateFiles(const std::string& folder) {
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        return false;
    }
    for (int i = 0; i < FileCount; ++i) {
        const std::string path = folder + "\\" + FileName(i);
        FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) {
            return false;
        }
        file.Close();
    }
    return true;
}

void RemoveFiles(const std::string& folder) {
    for (int i = 0; i < FileCount; ++i) {
        DeleteFileA((folder + "\\" + FileName(i)).c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

// Returns the number of entries the platform reported.
int BareEnumeration(const std::string& folder) {
    WIN32_FIND_DATAA record;
    FindHandle find(FindFirstFileA((folder + "\\*.*").c_str(), &record));
    if (!find.IsValid()) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(find.Get(), &record));
    find.Close();
    return count;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "qf_bench_listing_" + std::to_string(GetCurrentProcessId());

    std::printf("creating %d files...\n", FileCount);
    std::fflush(stdout);
    if (!CreateFiles(folder)) {
        std::printf("could not create the files in %s\n", folder.c_str());
        RemoveFiles(folder);
        return 1;
    }

    // One untimed pass of each, so both start from the same warm state.
    int bareCount = BareEnumeration(folder);
    int listedCount = DirectoryListing(folder, MaskText, 0).EntryCount();

    std::vector<double> bareTimes;
    std::vector<double> listingTimes;
    std::vector<double> ratios;
    for (int round = 0; round < Rounds; ++round) {
        double bare = 0;
        double listing = 0;
        for (int step = 0; step < 2; ++step) {
            // Alternate which one runs first in each round.
            if ((step == 0) == (round % 2 == 0)) {
                const double start = Now();
                bareCount = BareEnumeration(folder);
                bare = Now() - start;
            } else {
                const double start = Now();
                DirectoryListing listed(folder, MaskText, 0);
                listedCount = listed.EntryCount();
                listing = Now() - start;
            }
        }
        bareTimes.push_back(bare);
        listingTimes.push_back(listing);
        ratios.push_back(listing / bare);
    }

    // For information: the search also sorts every listing it walks.
    std::vector<double> sortedRatios;
    for (int round = 0; round < 3; ++round) {
        double start = Now();
        BareEnumeration(folder);
        const double bare = Now() - start;
        start = Now();
        DirectoryListing listed(folder, MaskText, 0);
        listed.SortEntries();
        sortedRatios.push_back((Now() - start) / bare);
    }

    RemoveFiles(folder);

    const double ratio = Median(ratios);
    std::printf("entries reported: %d, kept by \"%s\": %d\n", bareCount, MaskText, listedCount);
    std::printf("bare FindFirstFileA/FindNextFileA loop: median %.2f ms\n",
                Median(bareTimes) * 1000.0);
    std::printf("DirectoryListing scan:                  median %.2f ms\n",
                Median(listingTimes) * 1000.0);
    std::printf("ratio DirectoryListing / bare loop (median of %d): %.2f (limit 3)\n", Rounds,
                ratio);
    std::printf("ratio with SortEntries added (median of 3, information only): %.2f\n",
                Median(sortedRatios));
    if (listedCount != FileCount * 3 / 5) {
        std::printf("unexpected number of kept entries\n");
        return 1;
    }
    return ratio < 3.0 ? 0 : 1;
}
