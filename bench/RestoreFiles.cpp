// "Restore File" on a real window, measured side by side with its floor in one run:
// 1. 1,000 carriers of about 150 KiB with their documents at 3 distinct offsets:
//    RestoreFiles wall time against reading the same files once and writing their
//    tails once with bare ReadFile/WriteFile.
// 2. One carrier of 200 MiB: the process's peak working set divided by the size of
//    the document, which the restore holds in memory in full.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareSave.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"
#include "control/Control.h"
#include "control/ListView.h"
#include "control/MessageLoop.h"
#include "control/StringList.h"
#include "control/UniqueHandle.h"
#include "recovery/RestoreFiles.h"
#include "recovery/RestoreWindow.h"
#include "search/ResultList.h"
#include "support/ProgramBody.h"
#include "support/RestoreTestWindow.h"
#include "support/ScratchFolder.h"

using bench::Now;
using carriers::ProgramBody;

namespace {

constexpr int CarrierCount = 1000;
constexpr int Rounds = 5;
const int32_t Offsets[3] = {4096, 8192, 12288};
constexpr int32_t DocumentSize = 143 * 1024;  // with the offsets: 147 to 155 KiB
constexpr int64_t LargeDocumentSize = int64_t(200) << 20;
const std::string Ole2("\xD0\xCF\x11\xE0\xA1", 5);

// ---- files ---------------------------------------------------------------------------

bool WriteWholeFile(const std::string& path, const char* data, size_t size) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    file.Close();
    return ok;
}

void RemoveFolderFiles(const std::string& folder) {
    WIN32_FIND_DATAA record;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &record));
    if (!find.IsValid()) {
        return;
    }
    do {
        if ((record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileA((folder + "\\" + record.cFileName).c_str());
        }
    } while (FindNextFileA(find.Get(), &record));
    find.Close();
}

// Pseudo-random letters a to t: no signature, no type word.
void FillNeutral(char* data, size_t size, uint32_t& seed) {
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        data[i] = static_cast<char>('a' + (seed >> 16) % 20);
    }
}

// A document that the type tests find to be a Word document ("Word" near its end).
std::string MakeDocument(int32_t size, uint32_t seed) {
    std::string document(static_cast<size_t>(size), '\0');
    FillNeutral(&document[0], document.size(), seed);
    document.replace(0, Ole2.size(), Ole2);
    document.replace(document.size() - 100, 4, "Word");
    return document;
}

std::string CarrierName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "carrier%04d.exe", index);
    return name;
}

// ---- the window ------------------------------------------------------------------------

// Lists the files the way the search does (redraw suspended while rows are added).
void ListFiles(RestoreTestWindow& window, const std::string& folder,
               const std::vector<std::string>& names) {
    ResultList list = window.List();
    list.ClearRows();
    HWND view = window.Record().ResultListView->WindowHandle();
    SendMessageA(view, WM_SETREDRAW, FALSE, 0);
    for (const std::string& name : names) {
        list.SetCell(list.AddRow(name), PathColumn, folder + "\\");
    }
    SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view, nullptr, TRUE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string Status(RestoreTestWindow& window, int row) {
    return window.List().GetCell(row, StatusColumn);
}

// ---- 1. many carriers -------------------------------------------------------------------

struct Round {
    double Floor = 0;
    double Restore = 0;
    bool Correct = false;
};

// Reads every file once and saves its tail once with the bare platform calls, as every
// save must be made (bench/BareSave.h); returns the seconds taken. The tails are removed
// afterwards.
double Floor(const std::vector<std::string>& paths, const std::string& suffix) {
    std::vector<char> buffer(256 * 1024);
    const double start = Now();
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string path =
            suffix.empty() ? paths[i] : paths[i].substr(0, paths[i].size() - 4) + suffix;
        FileHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD read = 0;
        ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr);
        in.Close();
        const DWORD offset = static_cast<DWORD>(Offsets[i % 3]);
        bench::SaveDurably(path + ".tail", buffer.data() + offset,
                           read > offset ? read - offset : 0);
    }
    const double seconds = Now() - start;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string path =
            suffix.empty() ? paths[i] : paths[i].substr(0, paths[i].size() - 4) + suffix;
        DeleteFileA((path + ".tail").c_str());
    }
    return seconds;
}

Round MeasureRound(const std::string& folder, RestoreTestWindow& window,
                   const std::vector<std::string>& documents) {
    Round round;
    RemoveFolderFiles(folder);
    std::vector<std::string> names;
    std::vector<std::string> paths;
    for (int i = 0; i < CarrierCount; ++i) {
        const int32_t offset = Offsets[i % 3];
        const std::string carrier =
            ProgramBody(static_cast<size_t>(offset)) + documents[i % documents.size()];
        names.push_back(CarrierName(i));
        paths.push_back(folder + "\\" + names.back());
        WriteWholeFile(paths.back(), carrier.data(), carrier.size());
    }
    // Both sides find the files in the system's cache.
    for (const std::string& path : paths) {
        scratch::ReadWholeFile(path);
    }

    const double floorBefore = Floor(paths, "");
    ListFiles(window, folder, names);
    bench::boxShownAt = 0;
    const double start = Now();
    window.ClickRestore();
    round.Restore = (bench::boxShownAt > 0 ? bench::boxShownAt : Now()) - start;

    // The restored carriers are read again the same way: the floor before and after the
    // run evens out the machine's drift.
    const double floorAfter = Floor(paths, "._vrs");
    round.Floor = (floorBefore + floorAfter) / 2;

    round.Correct = window.List().RowCount() == CarrierCount;
    for (int i = 0; i < CarrierCount && round.Correct; ++i) {
        const std::string base = paths[i].substr(0, paths[i].size() - 4);
        round.Correct = Status(window, i) == "OK... Fixed" &&
                        scratch::ReadWholeFile(base + ".doc") == documents[i % documents.size()] &&
                        GetFileAttributesA((base + "._vrs").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    return round;
}

bool BenchmarkManyCarriers(const std::string& folder) {
    std::vector<std::string> documents;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        documents.push_back(MakeDocument(DocumentSize, seed));
    }
    RestoreTestWindow window;
    std::vector<Round> rounds;
    for (int r = 0; r < Rounds; ++r) {
        rounds.push_back(MeasureRound(folder, window, documents));
        const Round& round = rounds.back();
        std::printf("round %d: floor %.3f s, RestoreFiles %.3f s, ratio %.2f%s\n", r + 1,
                    round.Floor, round.Restore, round.Restore / round.Floor,
                    round.Correct ? "" : "  (WRONG RESULT)");
    }
    RemoveFolderFiles(folder);
    std::vector<double> ratios;
    bool correct = true;
    for (const Round& round : rounds) {
        ratios.push_back(round.Restore / round.Floor);
        correct = correct && round.Correct;
    }
    const double ratio = bench::Median(ratios);
    std::printf(
        "%d carriers of %d to %d KiB, documents at 3 offsets: RestoreFiles / floor = %.2f "
        "(median of %d rounds; limit 2)\n",
        CarrierCount, (Offsets[0] + DocumentSize) / 1024, (Offsets[2] + DocumentSize) / 1024, ratio,
        Rounds);
    return correct && ratio < 2.0;
}

// ---- 2. one large carrier ---------------------------------------------------------------

bool BenchmarkLargeCarrier(const std::string& folder, const std::string& body) {
    RemoveFolderFiles(folder);
    const std::string path = folder + "\\large.exe";
    // Written in blocks so that the benchmark itself never holds the document.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        std::printf("cannot write %s\n", path.c_str());
        return false;
    }
    DWORD written = 0;
    WriteFile(file.Get(), body.data(), 20480, &written, nullptr);
    std::vector<char> block(1 << 20);
    uint32_t seed = 99;
    for (int64_t done = 0; done < LargeDocumentSize; done += static_cast<int64_t>(block.size())) {
        FillNeutral(block.data(), block.size(), seed);
        if (done == 0) {
            std::copy(Ole2.begin(), Ole2.end(), block.begin());
        }
        if (done + static_cast<int64_t>(block.size()) == LargeDocumentSize) {
            std::copy_n("Word", 4, block.end() - 100);
        }
        WriteFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    file.Close();

    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    RestoreTestWindow window;
    ListFiles(window, folder, {"large.exe"});
    const double start = Now();
    window.ClickRestore();
    const double seconds = Now() - start;
    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof after;
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);

    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const bool saved =
        GetFileAttributesExA((folder + "\\large.doc").c_str(), GetFileExInfoStandard, &data) &&
        data.nFileSizeLow == static_cast<DWORD>(LargeDocumentSize) &&
        Status(window, 0) == "OK... Fixed";
    RemoveFolderFiles(folder);
    const double ratio =
        static_cast<double>(after.PeakWorkingSetSize) / static_cast<double>(LargeDocumentSize);
    std::printf(
        "200 MiB document: restored in %.2f s%s; peak working set %.1f MiB (%.1f MiB before the "
        "run) / document = %.2f (limit 1.2)\n",
        seconds, saved ? "" : " (WRONG RESULT)", after.PeakWorkingSetSize / 1048576.0,
        before.PeakWorkingSetSize / 1048576.0, ratio);
    return saved && ratio <= 1.2;
}

}  // namespace

int main() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "qf-bench-restore-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string body = ProgramBody(20480);
    if (body.size() < 20480 || body.find(Ole2) != std::string::npos) {
        std::printf("the benchmark's own executable cannot serve as a carrier body\n");
        return 1;
    }
    HHOOK hook = SetWindowsHookExA(WH_CBT, bench::SummaryBoxHook, nullptr, GetCurrentThreadId());

    const bool large = BenchmarkLargeCarrier(folder, body);
    const bool many = BenchmarkManyCarriers(folder);

    UnhookWindowsHookEx(hook);
    RemoveFolderFiles(folder);
    RemoveDirectoryA(folder.c_str());
    return many && large ? 0 : 1;
}
