// Cost of filling the result list as the search does (AddRow into the Name-sorted list
// view, then SetCell of Path and Size at the returned index) against a bare unsorted
// LVM_INSERTITEMA + two LVM_SETITEMTEXTA loop on a report list view, side by side in one
// run (batch by batch in turn, after a shorter warm-up fill). The per-row time of the
// last fifth of the rows against the first fifth (the lower quartile of each fifth's
// batches, the least disturbed by the machine's other work) shows whether insertion
// stays flat as the list grows. A list view with the platform's own sorted insertion
// (LVS_SORTASCENDING) is measured on the first 10,000 rows for information: it looks for
// each row's place one row at a time. So is a bare list that inserts each row at a random
// place: what the platform's list view itself costs for a row that lands amid the others,
// as every row of a sorted list does.
// Every list is visible and suspends redrawing per batch of rows (WM_SETREDRAW), then
// repaints once, as a visible list view repaints after every insertion otherwise.
//
// Usage: bench_ListView [rows]   (default 50,000)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "control/Control.h"
#include "control/ListView.h"
#include "search/ResultList.h"

using bench::Now;

namespace {

const int BatchSize = 500;
const int Segments = 5;
const int PlatformSortedRows = 10000;
const int WarmUpRows = 5000;

struct Row {
    std::string Name;
    std::string Path;
    std::string Size;
};

std::vector<Row> RandomRows(int count) {
    std::vector<Row> rows;
    rows.reserve(static_cast<size_t>(count));
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < count; ++i) {
        Row row;
        int length = 4 + static_cast<int>(next() % 9);
        for (int c = 0; c < length; ++c) {
            uint64_t value = next();
            char letter = static_cast<char>('a' + value % 26);
            row.Name += (value >> 20) % 3 == 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
        }
        row.Name += ".exe";
        row.Path = "C:\\Data\\Folder" + std::to_string(next() % 500) + "\\";
        row.Size = std::to_string(1 + next() % 999) + "," + std::to_string(100 + next() % 900);
        rows.push_back(row);
    }
    return rows;
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// A list view being filled: addRow(i) adds row i; the per-row milliseconds of each batch.
struct Filling {
    const char* Label;
    HWND Window;
    std::function<void(int)> AddRow;
    std::vector<double> BatchMs;
};

// Adds rowTotal rows to every list, batch by batch in turn, so that the lists are
// measured side by side. Redrawing of each list is suspended for its batch, which ends
// with one repaint.
void FillSideBySide(const std::vector<Filling*>& lists, int rowTotal) {
    for (int first = 0; first < rowTotal; first += BatchSize) {
        const int end = std::min(rowTotal, first + BatchSize);
        for (Filling* list : lists) {
            const double start = Now();
            SendMessageA(list->Window, WM_SETREDRAW, FALSE, 0);
            for (int i = first; i < end; ++i)
                list->AddRow(i);
            SendMessageA(list->Window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list->Window, nullptr, TRUE);
            UpdateWindow(list->Window);
            list->BatchMs.push_back((Now() - start) / (end - first) * 1e3);
        }
        DrainMessages();
    }
}

// The lower quartile of the per-row milliseconds of the batches in each fifth of the
// rows: the machine's other work only ever adds time, so the least disturbed batches
// tell the list's own cost best.
double LowerQuartile(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 4];
}

std::vector<double> SegmentMs(const Filling& list) {
    std::vector<double> segments;
    const size_t batches = list.BatchMs.size();
    for (size_t segment = 0; segment < static_cast<size_t>(Segments); ++segment) {
        const size_t first = batches * segment / Segments;
        const size_t end = std::max(first + 1, batches * (segment + 1) / Segments);
        segments.push_back(LowerQuartile(std::vector<double>(
            list.BatchMs.begin() + static_cast<std::ptrdiff_t>(first),
            list.BatchMs.begin() + static_cast<std::ptrdiff_t>(std::min(end, batches)))));
    }
    return segments;
}

void PrintSegments(const Filling& list, int rowTotal) {
    const std::vector<double> segments = SegmentMs(list);
    for (size_t segment = 0; segment < segments.size(); ++segment) {
        std::printf("  %-12s rows %6d to %6d  %9.4f ms/row (lower quartile of its batches)\n",
                    list.Label, static_cast<int>(segment) * rowTotal / Segments + 1,
                    (static_cast<int>(segment) + 1) * rowTotal / Segments, segments[segment]);
    }
}

double MillisecondsPerRow(const Filling& list) {
    double total = 0;
    for (double ms : list.BatchMs)
        total += ms;
    return total / static_cast<double>(list.BatchMs.size());
}

HWND BareListView(HWND parent, DWORD extraStyle, int left) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | extraStyle, left, 0, 400, 700,
                                parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    const char* captions[] = {"Name", "Path", "Size (bytes)"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<char*>(captions[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

int BareInsert(HWND list, const std::string& name, int index) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(name.c_str());
    return static_cast<int>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void BareSetText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool NamesAscend(Control* view) {
    ResultList list(view);
    std::string previous;
    for (int row = 0; row < list.RowCount(); ++row) {
        std::string name = list.GetCell(row, NameColumn);
        if (row > 0 && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1,
                                      name.c_str(), -1) == CSTR_GREATER_THAN)
            return false;
        previous = name;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int rowTotal = argc > 1 ? std::atoi(argv[1]) : 50000;
    if (rowTotal < Segments)
        rowTotal = Segments;
    std::vector<Row> rows = RandomRows(rowTotal);

    Control* form = CreateForm(nullptr, "List view benchmark");
    form->SetPosition(0, 0)->SetClientSize(1600, 700);
    Control* view = CreateResultListView(form);
    view->SetPosition(800, 0)->Resize(400, 700);
    HWND formWindow = form->WindowHandle();
    view->WindowHandle();
    view->SetVisible(true);
    ShowWindow(formWindow, SW_SHOW);
    HWND bare = BareListView(formWindow, 0, 0);
    HWND bareSorted = BareListView(formWindow, LVS_SORTASCENDING, 400);
    HWND bareAmid = BareListView(formWindow, 0, 1200);
    DrainMessages();

    std::printf("%d rows with random names; redraw suspended per batch of %d; all lists visible\n",
                rowTotal, BatchSize);
    Filling bareFill{"bare",
                     bare,
                     [&](int i) {
                         const Row& source = rows[static_cast<size_t>(i)];
                         const int row = BareInsert(bare, source.Name, i);
                         BareSetText(bare, row, PathColumn, source.Path);
                         BareSetText(bare, row, SizeColumn, source.Size);
                     },
                     {}};
    uint32_t place = 12345;
    Filling amidFill{"bare amid",
                     bareAmid,
                     [&](int i) {
                         const Row& source = rows[static_cast<size_t>(i)];
                         place = place * 1103515245u + 12345u;
                         const int count =
                             static_cast<int>(SendMessageA(bareAmid, LVM_GETITEMCOUNT, 0, 0));
                         const int row = BareInsert(
                             bareAmid, source.Name,
                             static_cast<int>((place >> 8) % static_cast<uint32_t>(count + 1)));
                         BareSetText(bareAmid, row, PathColumn, source.Path);
                         BareSetText(bareAmid, row, SizeColumn, source.Size);
                     },
                     {}};
    Filling listFill{"result list",
                     view->Handle,
                     [&](int i) {
                         ResultList list(view);
                         const Row& source = rows[static_cast<size_t>(i)];
                         int row = list.AddRow(source.Name);
                         list.SetCell(row, PathColumn, source.Path);
                         list.SetCell(row, SizeColumn, source.Size);
                     },
                     {}};
    // A first, shorter fill brings code, fonts and memory into use; the lists are then
    // cleared and filled again, as a second search fills the result list.
    FillSideBySide({&bareFill, &amidFill, &listFill}, std::min(rowTotal, WarmUpRows));
    SendMessageA(bare, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(bareAmid, LVM_DELETEALLITEMS, 0, 0);
    ResultList(view).ClearRows();
    bareFill.BatchMs.clear();
    amidFill.BatchMs.clear();
    listFill.BatchMs.clear();
    FillSideBySide({&bareFill, &amidFill, &listFill}, rowTotal);
    PrintSegments(bareFill, rowTotal);
    PrintSegments(amidFill, rowTotal);
    PrintSegments(listFill, rowTotal);
    const int sortedTotal = std::min(rowTotal, PlatformSortedRows);
    Filling sortedFill{"bare sorted",
                       bareSorted,
                       [&](int i) { BareInsert(bareSorted, rows[static_cast<size_t>(i)].Name, i); },
                       {}};
    FillSideBySide({&sortedFill}, sortedTotal);
    PrintSegments(sortedFill, sortedTotal);

    std::vector<double> batchRatios;
    for (size_t batch = 0; batch < listFill.BatchMs.size(); ++batch)
        batchRatios.push_back(listFill.BatchMs[batch] / bareFill.BatchMs[batch]);
    const double ratio = bench::Median(batchRatios);
    const std::vector<double> listSegments = SegmentMs(listFill);
    const std::vector<double> bareSegments = SegmentMs(bareFill);
    const std::vector<double> amidSegments = SegmentMs(amidFill);
    const std::vector<double> sortedSegments = SegmentMs(sortedFill);
    const double growth = listSegments.back() / listSegments.front();
    const bool ordered = NamesAscend(view);
    std::printf("\nper row, mean of all batches:\n");
    std::printf(
        "  bare LVM_INSERTITEMA + 2 x LVM_SETITEMTEXTA, unsorted list  %9.4f ms (%d rows)\n",
        MillisecondsPerRow(bareFill), rowTotal);
    std::printf(
        "  bare LVM_INSERTITEMA at a random row + 2 x LVM_SETITEMTEXTA    %9.4f ms (%d rows)\n",
        MillisecondsPerRow(amidFill), rowTotal);
    std::printf("  AddRow (sorted) + 2 x SetCell, result list                 %9.4f ms (%d rows)\n",
                MillisecondsPerRow(listFill), rowTotal);
    std::printf(
        "  bare LVM_INSERTITEMA, LVS_SORTASCENDING                    %9.4f ms (first %d rows "
        "only)\n",
        MillisecondsPerRow(sortedFill), sortedTotal);
    std::printf(
        "ratio result list / bare unsorted:   %8.2f (median of the batches' ratios; limit 3)\n",
        ratio);
    std::printf(
        "growth of the per-row time, last fifth / first fifth: result list %.2f (limit 1.5), bare "
        "%.2f, bare amid %.2f, bare sorted %.2f (over %d rows)\n",
        growth, bareSegments.back() / bareSegments.front(),
        amidSegments.back() / amidSegments.front(), sortedSegments.back() / sortedSegments.front(),
        sortedTotal);
    std::printf("result list rows in Name order: %s (%d rows)\n", ordered ? "yes" : "NO",
                ResultList(view).RowCount());

    DestroyWindow(bare);
    DestroyWindow(bareSorted);
    DestroyWindow(bareAmid);
    form->Release();
    return ordered && ratio <= 3.0 && growth <= 1.5 ? 0 : 1;
}
