// The cost of looking for Office packages and PDF documents in files where no OLE2 or
// RTF document was found: "Restore File" over 1,000 programs with nothing embedded
// (program bodies of 150 KB to 2 MB, half of them with data after their image, as signed
// programs carry), against the same run without that second search. The second
// search's share is measured in the same run by repeating exactly its work on every
// file: before = restore time - second search time.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "recovery/ByteStream.h"
#include "recovery/ModernDocument.h"
#include "recovery/ProgramImage.h"
#include "support/CarrierFiles.h"
#include "support/MessageBoxAnswerer.h"
#include "support/RestoreTestWindow.h"
#include "support/ScratchFolder.h"

using bench::Median;
using bench::Now;

namespace {

constexpr int ProgramCount = 1000;
constexpr int Rounds = 3;
constexpr size_t SmallestBody = 150 * 1000;
constexpr size_t LargestBody = 2000 * 1000;

// Repeats the second search on every file (the file's end and the scan after the image;
// opening the file and reading its image end are the restore's work anyway).
double SecondSearchSeconds(const std::vector<std::string>& paths) {
    double seconds = 0;
    for (const std::string& path : paths) {
        ByteStreamPtr file = OpenFileStreamForRead(path);
        const int64_t imageEnd = ProgramImageEnd(*file);
        if (imageEnd >= StreamSize(*file)) {
            continue;  // the restore skips these before any search
        }
        const double start = Now();
        const int32_t from = static_cast<int32_t>(imageEnd);
        std::string extension;
        FindModernDocument(*file, from, ReadDocumentEnd(*file, from), extension);
        seconds += Now() - start;
    }
    return seconds;
}

}  // namespace

int main() {
    scratch::ScratchFolder folder("qf-bench-modern");
    RestoreTestWindow window;
    MessageBoxAnswerer answerer(IDOK);
    std::vector<std::string> paths;
    size_t total = 0;
    for (int index = 0; index < ProgramCount; ++index) {
        const size_t size = SmallestBody + (LargestBody - SmallestBody) *
                                               static_cast<size_t>(index) / (ProgramCount - 1);
        std::string program = carriers::ProgramBody(size);
        if (index % 2 == 1) {
            program += carriers::NeutralBytes(8192, static_cast<uint32_t>(index));
        }
        char name[32];
        std::snprintf(name, sizeof name, "program%04d.exe", index);
        paths.push_back(folder.WriteFile(name, program));
        window.AddFile(folder.Root() + "\\", name);
        total += program.size();
    }
    for (const std::string& path : paths) {
        scratch::ReadWholeFile(path);  // both sides find the files in the system's cache
    }

    std::vector<double> ratios;
    bool correct = true;
    for (int round = 0; round < Rounds; ++round) {
        const double start = Now();
        window.ClickRestore();
        const double restore = Now() - start;
        const double second = SecondSearchSeconds(paths);
        correct = correct && window.Cell("program0001.exe", StatusColumn) == "Not Detected";
        ratios.push_back(restore / (restore - second));
        std::printf("round %d: restore %.3f s, second search %.3f s, ratio %.3f\n", round + 1,
                    restore, second, ratios.back());
    }
    const double ratio = Median(ratios);
    std::printf(
        "%d programs (%.0f MB, half with data after their image): restore with / without the "
        "second "
        "search = %.3f (median of %d, limit 1.1)%s\n",
        ProgramCount, total / 1e6, ratio, Rounds, correct ? "" : " (WRONG RESULT)");
    return correct && ratio < 1.1 ? 0 : 1;
}
