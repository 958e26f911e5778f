// "Restore File" in the real main window on screen (BuildMainWindow: gradient bar,
// transparent labels, owner-drawn buttons), measured side by side in one run with:
// - the bare floor: per carrier open, read five bytes at the known offset, read the tail,
//   write it to a new file that is flushed and moved into place (bench/BareSave.h: the
//   work the rule never to overwrite asks of every save), rename the carrier;
// - the same run with the window minimised;
// - the engine with the window hidden, which paints nothing (for information).
// The folder holds 200 carriers: program bodies of about 150 KB, 490 KB and 1.7 MB, each
// followed by a real document of the test data. Before the timed rounds one run counts
// what the window repaints per restored row. The memory taken during a run is sampled by
// a second thread and compared with the largest document.
//
// Usage: bench_RestoreOnScreen [rounds]   (default 9)
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
#include "bench/BareSave.h"
#include "bench/BenchTiming.h"
#include "bench/BenchWindow.h"
#include "bench/RepaintCensus.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "control/UniqueHandle.h"
#include "recovery/ByteStream.h"
#include "recovery/DocumentType.h"
#include "search/ResultList.h"
#include "search/StartSearch.h"
#include "support/ProgramBody.h"
#include "support/ScratchFolder.h"

using bench::Median;
using bench::Now;

using bench::MemorySampler;

namespace {

constexpr int CarrierCount = 200;
const size_t BodySizes[3] = {150 * 1024, 490 * 1024, 1700 * 1024};
// Documents of the test data; every body size meets an OLE2 document before the RTF one,
// so that the RTF documents are found at an offset already listed.
const char* const DocumentNames[4] = {"letter.doc", "budget.xls", "minutes.doc", "letter.rtf"};

struct CarrierFile {
    std::string Path;         // ...\carrierNNN.exe
    std::string OutputPath;   // the restored document
    std::string RenamedPath;  // ...\carrierNNN._vrs
    DWORD Offset = 0;
    DWORD Size = 0;
    size_t Document = 0;
};

std::string DataPath(const std::string& name) {
    return std::string(QF_TEST_DATA_DIR) + "\\" + name;
}

// The extension the restore gives the document: ".doc" for RTF (found at a listed
// offset), else what the type words in its last 64 KiB tell.
std::string OutputExtension(const std::string& document) {
    if (document.compare(0, 5, "{\\rtf") == 0) {
        return ".doc";
    }
    ByteStreamPtr stream = NewMemoryStream();
    StreamWrite(*stream, document.data(), static_cast<int32_t>(document.size()));
    const std::string extension = DocumentExtension(*stream);
    FreeStream(stream);
    return extension;
}

bool WriteNewFile(const std::string& path, const std::string& first, const std::string& second) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file.Get(), first.data(), static_cast<DWORD>(first.size()), &written,
                        nullptr) != 0;
    ok = ok && WriteFile(file.Get(), second.data(), static_cast<DWORD>(second.size()), &written,
                         nullptr) != 0;
    file.Close();
    return ok;
}

std::vector<CarrierFile> MakeCarriers(const std::string& folder,
                                      const std::vector<std::string>& documents,
                                      int64_t& totalBytes) {
    std::vector<std::string> bodies;
    for (size_t size : BodySizes) {
        bodies.push_back(carriers::ProgramBody(size));
    }
    std::vector<CarrierFile> files;
    totalBytes = 0;
    for (int i = 0; i < CarrierCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "carrier%03d", i);
        CarrierFile file;
        file.Document = static_cast<size_t>(i % 4);
        const std::string& body = bodies[static_cast<size_t>(i % 3)];
        file.Path = folder + "\\" + name + ".exe";
        file.OutputPath = folder + "\\" + name + OutputExtension(documents[file.Document]);
        file.RenamedPath = folder + "\\" + name + "._vrs";
        file.Offset = static_cast<DWORD>(body.size());
        file.Size = static_cast<DWORD>(body.size() + documents[file.Document].size());
        WriteNewFile(file.Path, body, documents[file.Document]);
        totalBytes += file.Size;
        files.push_back(file);
    }
    return files;
}

// Puts the folder back as it was before a run: outputs removed, carriers renamed back.
void ResetCarriers(const std::vector<CarrierFile>& files) {
    for (const CarrierFile& file : files) {
        DeleteFileA(file.OutputPath.c_str());
        if (GetFileAttributesA(file.RenamedPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            MoveFileA(file.RenamedPath.c_str(), file.Path.c_str());
        }
    }
}

// True when every carrier was restored to its document and renamed.
bool AllRestored(const std::vector<CarrierFile>& files, const std::vector<std::string>& documents) {
    for (const CarrierFile& file : files) {
        if (scratch::ReadWholeFile(file.OutputPath) != documents[file.Document] ||
            GetFileAttributesA(file.RenamedPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
    }
    return true;
}

// ---- the floor ----------------------------------------------------------------------------

double BareRestore(const std::vector<CarrierFile>& files) {
    std::vector<char> tail(4 << 20);
    const double start = Now();
    for (const CarrierFile& file : files) {
        FileHandle in(CreateFileA(file.Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        char head[5];
        DWORD read = 0;
        SetFilePointer(in.Get(), static_cast<LONG>(file.Offset), nullptr, FILE_BEGIN);
        ReadFile(in.Get(), head, sizeof head, &read, nullptr);
        SetFilePointer(in.Get(), static_cast<LONG>(file.Offset), nullptr, FILE_BEGIN);
        ReadFile(in.Get(), tail.data(), file.Size - file.Offset, &read, nullptr);
        in.Close();
        bench::SaveDurably(file.OutputPath, tail.data(), read);
        MoveFileA(file.Path.c_str(), file.RenamedPath.c_str());
    }
    return Now() - start;
}

// ---- the window -----------------------------------------------------------------------------

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct RunResult {
    double Seconds = 0;
    bool Correct = false;
    SIZE_T Before = 0;  // working set when the run started
    SIZE_T Peak = 0;    // highest working set seen during the run
};

// Lists the folder with the window's own search, then clicks "Restore File" and times it
// to the summary box.
RunResult RestoreInWindow(MainWindow* window, MemorySampler& sampler, const std::string& folder,
                          const std::vector<CarrierFile>& files,
                          const std::vector<std::string>& documents) {
    window->FolderEdit->SetText(folder);
    window->MaskCombo->SetText("*.exe");
    StartSearch(window);
    DrainMessages();
    RunResult result;
    result.Before = sampler.Start();
    bench::boxShownAt = 0;
    bench::boxShown = false;
    const double start = Now();
    SendMessageA(window->RestoreButton->Handle, BM_CLICK, 0, 0);
    result.Seconds = (bench::boxShownAt > 0 ? bench::boxShownAt : Now()) - start;
    result.Peak = sampler.Stop();
    DrainMessages();
    result.Correct = ResultList(window->ResultListView).RowCount() == CarrierCount &&
                     AllRestored(files, documents);
    return result;
}

// ---- what a restored row repaints -------------------------------------------------------------

void PrintRepaintCensus(MainWindow* window, const std::string& folder,
                        const std::vector<CarrierFile>& files) {
    window->FolderEdit->SetText(folder);
    window->MaskCombo->SetText("*.exe");
    StartSearch(window);
    DrainMessages();
    bench::RepaintCensus census;
    const double start = Now();
    SendMessageA(window->RestoreButton->Handle, BM_CLICK, 0, 0);
    const double seconds = (bench::boxShownAt > 0 ? bench::boxShownAt : Now()) - start;
    census.End();
    DrainMessages();
    ResetCarriers(files);
    std::printf(
        "repaints during one run of %d rows (%.2f s with counting hooks), per 100 rows (PAINT "
        "counts the paints asked for, also those put off to the next showing; the list paints "
        "double-buffered, so its PRINTCL counts what it drew):\n",
        CarrierCount, seconds);
    std::printf("  %-24s %8s %8s %8s %8s %8s\n", "window", "PAINT", "ERASE", "NCPAINT", "DRAWITEM",
                "PRINTCL");
    for (const auto& entry : census.Result()) {
        const bench::PaintCounts& c = entry.second;
        const double scale = 100.0 / CarrierCount;
        std::printf("  %-24s %8.1f %8.1f %8.1f %8.1f %8.1f\n",
                    bench::WindowName(window, entry.first).c_str(), c.Paint * scale,
                    c.Erase * scale, c.FramePaint * scale, c.DrawItem * scale,
                    c.PrintClient * scale);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "qf-bench-onscreen-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    std::vector<std::string> documents;
    size_t largestDocument = 0;
    for (const char* name : DocumentNames) {
        documents.push_back(scratch::ReadWholeFile(DataPath(name)));
        largestDocument = std::max(largestDocument, documents.back().size());
    }
    int64_t totalBytes = 0;
    const std::vector<CarrierFile> files = MakeCarriers(folder, documents, totalBytes);
    std::printf(
        "%d carriers, bodies of %zu, %zu and %zu KiB, documents of the test data: %.1f MB in all\n",
        CarrierCount, BodySizes[0] / 1024, BodySizes[1] / 1024, BodySizes[2] / 1024,
        totalBytes / 1e6);

    HHOOK boxes = SetWindowsHookExA(WH_CBT, bench::SummaryBoxHook, nullptr, GetCurrentThreadId());
    MainWindow* window = nullptr;
    BuildMainWindow(&window, nullptr);
    window->MainForm->CreateWindowHandle();
    HWND form = window->MainForm->Handle;
    ShowWindow(form, SW_SHOW);
    DrainMessages();

    // A first run brings the files into the system's cache and the code into memory.
    MemorySampler sampler;
    const RunResult first = RestoreInWindow(window, sampler, folder, files, documents);
    ResetCarriers(files);
    std::printf(
        "first run on screen (%.3f s): working set %.1f MiB before, grew by %.0f KiB (the "
        "restore's code "
        "and buffers come into memory; later runs reuse them)\n",
        first.Seconds, first.Before / 1048576.0, (first.Peak - first.Before) / 1024.0);
    PrintRepaintCensus(window, folder, files);

    // Each round measures the four ways once, in an order that rotates from round to round.
    std::vector<double> floors, onScreen, minimised, hidden;
    std::vector<SIZE_T> growth = {first.Peak - first.Before};
    bool correct = true;
    for (int round = 0; round < rounds; ++round) {
        double floor = 0;
        RunResult shown, small, engine;
        for (int step = 0; step < 4; ++step) {
            ResetCarriers(files);
            switch ((round + step) % 4) {
                case 0:
                    floor = BareRestore(files);
                    correct = correct && AllRestored(files, documents);
                    break;
                case 1:
                    ShowWindow(form, SW_SHOWNORMAL);
                    DrainMessages();
                    shown = RestoreInWindow(window, sampler, folder, files, documents);
                    break;
                case 2:
                    ShowWindow(form, SW_MINIMIZE);
                    DrainMessages();
                    small = RestoreInWindow(window, sampler, folder, files, documents);
                    break;
                default:
                    ShowWindow(form, SW_HIDE);
                    DrainMessages();
                    engine = RestoreInWindow(window, sampler, folder, files, documents);
                    break;
            }
        }
        ResetCarriers(files);
        ShowWindow(form, SW_SHOWNORMAL);
        DrainMessages();

        floors.push_back(floor);
        onScreen.push_back(shown.Seconds);
        minimised.push_back(small.Seconds);
        hidden.push_back(engine.Seconds);
        growth.push_back(shown.Peak > shown.Before ? shown.Peak - shown.Before : 0);
        correct = correct && shown.Correct && small.Correct && engine.Correct;
        std::printf("round %d: floor %.3f s, on screen %.3f s, minimised %.3f s, hidden %.3f s%s\n",
                    round + 1, floor, shown.Seconds, small.Seconds, engine.Seconds,
                    shown.Correct && small.Correct && engine.Correct ? "" : "  (WRONG RESULT)");
        std::fflush(stdout);
    }

    std::vector<double> toFloor, toMinimised, toHidden, hiddenToFloor;
    for (size_t i = 0; i < floors.size(); ++i) {
        toFloor.push_back(onScreen[i] / floors[i]);
        toMinimised.push_back(onScreen[i] / minimised[i]);
        toHidden.push_back(onScreen[i] / hidden[i]);
        hiddenToFloor.push_back(hidden[i] / floors[i]);
    }
    const double ratioFloor = Median(toFloor);
    const double ratioMinimised = Median(toMinimised);
    std::sort(growth.begin(), growth.end());
    const double growthRatio =
        static_cast<double>(growth.back()) / static_cast<double>(largestDocument);
    std::printf(
        "median of %d rounds: floor %.3f s, on screen %.3f s, minimised %.3f s, hidden %.3f s\n",
        rounds, Median(floors), Median(onScreen), Median(minimised), Median(hidden));
    std::printf("ratio on screen / bare floor:  %6.2f (limit 1.5)\n", ratioFloor);
    std::printf("ratio on screen / minimised:   %6.2f (limit 1.2)\n", ratioMinimised);
    std::printf(
        "ratio on screen / hidden:      %6.2f (for information: the engine without window work)\n",
        Median(toHidden));
    std::printf(
        "ratio hidden / bare floor:     %6.2f (for information: the engine's own work against the "
        "floor)\n",
        Median(hiddenToFloor));
    std::printf(
        "working set growth during a run on screen (the first run included), largest of %d: %.0f "
        "KiB; "
        "largest document %.0f KiB; ratio %.2f (limit 1.2)\n",
        rounds + 1, growth.back() / 1024.0, largestDocument / 1024.0, growthRatio);
    std::printf("result: %s\n", correct ? "every document restored in every run" : "WRONG RESULT");

    UnhookWindowsHookEx(boxes);
    window->MainForm->Release();
    scratch::RemoveFolderTree(folder);
    return correct && ratioFloor <= 1.5 && ratioMinimised <= 1.2 && growthRatio <= 1.2 ? 0 : 1;
}
