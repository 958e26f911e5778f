// The "Find" command on a generated tree of 20,000 files in 2,000 folders (one file in
// ten matches "*.exe"), against the floor: one bare recursive FindFirstFileA /
// FindNextFileA walk of the same tree, measured alternately in the same run (with the
// search's own listing alone for information). Then the responsiveness: the time from a
// posted "Stop" click to the search's end, in folder steps and milliseconds. The search
// runs in a real, visible main window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"
#include "bench/SmallFile.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "control/UniqueHandle.h"
#include "search/DirectoryListing.h"
#include "search/StartSearch.h"
#include "support/ScratchFolder.h"

using bench::Median;
using bench::Now;

using bench::BareWalk;

namespace {

const int TopFolders = 40;
const int SubFolders = 49;      // 40 + 40 * 49 = 2,000 folders
const int FilesPerFolder = 10;  // one of them "*.exe"
const int Rounds = 5;

void FillFolder(const std::string& folder, int index) {
    static const char* const others[] = {".txt", ".dll", ".doc", ".xls", ".dat",
                                         ".ini", ".log", ".bmp", ".scr"};
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string program = folder + "\\program" + std::to_string(index) + ".exe";
    bench::WriteSmallFile(program, static_cast<DWORD>(program.size() % 97));
    for (int i = 0; i < FilesPerFolder - 1; ++i) {
        const std::string file = folder + "\\file" + std::to_string(i) + others[i];
        bench::WriteSmallFile(file, static_cast<DWORD>(file.size() % 97));
    }
}

int MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), nullptr);
    int folders = 0;
    for (int top = 0; top < TopFolders; ++top) {
        const std::string topFolder = root + "\\top" + std::to_string(top);
        FillFolder(topFolder, folders++);
        for (int sub = 0; sub < SubFolders; ++sub) {
            FillFolder(topFolder + "\\sub" + std::to_string(sub), folders++);
        }
    }
    return folders;
}

bool IsExeName(const std::string& name) {
    return name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".exe") == 0;
}

// The search's own listing without the list and the message handling: each folder
// listed once for the files the masks accept and every subfolder; returns the matching
// files.
int ListingsOnly(const std::string& folder) {
    DirectoryListing listing(folder, "*.exe", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY);
    listing.SortEntries();
    int found = 0;
    for (int32_t index = 0; index < listing.EntryCount(); ++index) {
        found += listing.EntryIsDirectory(index)
                     ? ListingsOnly(listing.FolderPath() + listing.EntryName(index))
                     : 1;
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

// Posts a "Stop" click from inside the running search (a timer message is handled at a
// folder step, like any input) and notes when and at which count it was posted.
MainWindow* StopTarget = nullptr;
bool StopPosted = false;
double StopPostedAt = 0;
int StopPostedCount = 0;
UINT_PTR StopTimer = 0;

void CALLBACK PostStop(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, StopTimer);
    StopTimer = 0;
    if (StopTarget->Searching == 0 || StopPosted) {
        return;
    }
    StopPosted = true;
    StopPostedAt = Now();
    StopPostedCount = StopTarget->FoundCount;
    PostMessageA(StopTarget->StopButton->Handle, BM_CLICK, 0, 0);
}

}  // namespace

int main() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root =
        std::string(temp) + "qf-bench-search-" + std::to_string(GetCurrentProcessId());
    const double madeStart = Now();
    const int folders = MakeTree(root);
    std::printf("tree: %d folders, %d files, %d match *.exe (made in %.1f s)\n", folders,
                folders * FilesPerFolder, folders, Now() - madeStart);

    MainWindow* window = nullptr;
    BuildMainWindow(&window, nullptr);
    window->MainForm->CreateWindowHandle();
    ShowWindow(window->MainForm->Handle, SW_SHOW);
    DrainMessages();
    window->FolderEdit->SetText(root);
    window->MaskCombo->SetText("*.exe");

    BareWalk(root, IsExeName);  // warms the file system's caches for both sides
    std::vector<double> floors;
    std::vector<double> listings;
    std::vector<double> searches;
    bool allFound = true;
    for (int round = 0; round < Rounds; ++round) {
        double start = Now();
        const int bareFound = BareWalk(root, IsExeName);
        floors.push_back(Now() - start);
        start = Now();
        const int listedFound = ListingsOnly(root);
        listings.push_back(Now() - start);
        DrainMessages();
        start = Now();
        StartSearch(window);
        searches.push_back(Now() - start);
        DrainMessages();
        allFound = allFound && bareFound == folders && listedFound == folders &&
                   window->FoundCount == folders &&
                   window->InfoLabel->GetText() == "Finish, found 2,000 Files";
    }
    const double floor = Median(floors);
    const double search = Median(searches);
    const double listing = Median(listings);
    std::printf("bare FindFirstFileA/FindNextFileA walk: %8.1f ms (median of %d)\n", floor * 1e3,
                Rounds);
    std::printf(
        "the search's one listing per folder:   %8.1f ms (median of %d), ratio to floor %.2f\n",
        listing * 1e3, Rounds, listing / floor);
    std::printf("StartSearch, visible main window:      %8.1f ms (median of %d), %s\n",
                search * 1e3, Rounds, allFound ? "all 2,000 files listed" : "FILES MISSING");
    std::printf("ratio StartSearch / floor:             %8.2f (must stay below 4)\n",
                search / floor);

    // Responsiveness: a "Stop" click posted halfway through the search.
    std::vector<double> stopMs;
    std::vector<int> stopSteps;
    for (int round = 0; round < Rounds; ++round) {
        StopTarget = window;
        StopPosted = false;
        StopTimer =
            SetTimer(nullptr, 0, static_cast<UINT>(std::max(1.0, search * 1e3 / 3)), PostStop);
        StartSearch(window);
        const double end = Now();
        if (StopTimer != 0) {
            KillTimer(nullptr, StopTimer);
            StopTimer = 0;
        }
        DrainMessages();
        if (StopPosted) {
            stopMs.push_back((end - StopPostedAt) * 1e3);
            stopSteps.push_back(window->FoundCount - StopPostedCount);
        }
    }
    if (stopMs.empty()) {
        std::printf("posted Stop: the search always ended before the click was posted\n");
    } else {
        std::sort(stopSteps.begin(), stopSteps.end());
        std::printf(
            "posted Stop to end of search:          %8.2f ms, %d folder steps (median of %zu; one "
            "match "
            "per folder, so rows added after the post = folder steps)\n",
            Median(stopMs), stopSteps[stopSteps.size() / 2], stopMs.size());
        std::printf("information line after the stop:      %s\n",
                    window->InfoLabel->GetText().c_str());
    }

    window->MainForm->Release();
    scratch::RemoveFolderTree(root);
    return 0;
}
