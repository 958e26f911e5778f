// Cost of filling the result list as the search does (AddRow into the Name-sorted list
// view, then SetCell of Path and Size at the returned index) against a bare
// LVM_INSERTITEMA loop on an unsorted report list view, side by side in one run. A bare
// loop on a list view with the platform's own sorted insertion (LVS_SORTASCENDING) is
// measured too, to tell the platform's cost of sorted insertion from the layer's.
// Every list is visible and suspends redrawing per batch of rows (WM_SETREDRAW), then
// repaints once, as a visible list view repaints after every insertion otherwise.
//
// Usage: bench_ListView [rows]   (default 50,000)
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "control/Control.h"
#include "control/ListView.h"
#include "search/ResultList.h"
#include "bench/BenchTiming.h"

using bench::Now;

namespace {

const int BatchSize = 500;
const int Segments = 5;

struct Row {
    std::string Name;
    std::string Path;
    std::string Size;
};

std::vector<Row> RandomRows(int count)
{
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

void DrainMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Runs addRow(i) for every row with redrawing of window suspended per batch; returns
// the seconds taken by each of the Segments equal parts.
std::vector<double> Fill(const char* label, HWND window, int rowTotal, const std::function<void(int)>& addRow)
{
    const int segmentRows = rowTotal / Segments;
    std::vector<double> segments;
    double start = Now();
    for (int i = 0; i < rowTotal; ++i) {
        if (i % BatchSize == 0)
            SendMessageA(window, WM_SETREDRAW, FALSE, 0);
        addRow(i);
        if ((i + 1) % BatchSize == 0 || i + 1 == rowTotal) {
            SendMessageA(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
            UpdateWindow(window);
        }
        if ((i + 1) % segmentRows == 0 && static_cast<int>(segments.size()) < Segments) {
            double now = Now();
            segments.push_back(now - start);
            std::printf("  %-12s %6d rows  %9.4f ms/row in the last %d\n", label, i + 1,
                        (now - start) / segmentRows * 1e3, segmentRows);
            std::fflush(stdout);
            start = now;
        }
    }
    DrainMessages();
    return segments;
}

double MillisecondsPerRow(const std::vector<double>& segments, int rowTotal)
{
    double total = 0;
    for (double s : segments)
        total += s;
    return total / (rowTotal / Segments * Segments) * 1e3;
}

HWND BareListView(HWND parent, DWORD extraStyle, int left)
{
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | extraStyle,
                                left, 0, 400, 700, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    const char* captions[] = {"Name", "Path", "Size (bytes)"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<char*>(captions[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void BareInsert(HWND list, const std::string& name, int index)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(name.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool NamesAscend(Control* view)
{
    ResultList list(view);
    std::string previous;
    for (int row = 0; row < list.RowCount(); ++row) {
        std::string name = list.GetCell(row, NameColumn);
        if (row > 0 && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1, name.c_str(), -1) ==
                           CSTR_GREATER_THAN)
            return false;
        previous = name;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int rowTotal = argc > 1 ? std::atoi(argv[1]) : 50000;
    if (rowTotal < Segments)
        rowTotal = Segments;
    std::vector<Row> rows = RandomRows(rowTotal);

    Control* form = CreateForm(nullptr, "List view benchmark");
    form->SetPosition(0, 0)->SetClientSize(1200, 700);
    Control* view = CreateResultListView(form);
    view->SetPosition(800, 0)->Resize(400, 700);
    HWND formWindow = form->WindowHandle();
    view->WindowHandle();
    view->SetVisible(true);
    ShowWindow(formWindow, SW_SHOW);
    HWND bare = BareListView(formWindow, 0, 0);
    HWND bareSorted = BareListView(formWindow, LVS_SORTASCENDING, 400);
    DrainMessages();

    std::printf("%d rows with random names; redraw suspended per batch of %d; all lists visible\n", rowTotal,
                BatchSize);
    std::vector<double> bareTimes =
        Fill("bare", bare, rowTotal, [&](int i) { BareInsert(bare, rows[static_cast<size_t>(i)].Name, i); });
    std::vector<double> listTimes = Fill("result list", view->Handle, rowTotal, [&](int i) {
        ResultList list(view);
        const Row& source = rows[static_cast<size_t>(i)];
        int row = list.AddRow(source.Name);
        list.SetCell(row, PathColumn, source.Path);
        list.SetCell(row, SizeColumn, source.Size);
    });
    std::vector<double> sortedTimes = Fill("bare sorted", bareSorted, rowTotal, [&](int i) {
        BareInsert(bareSorted, rows[static_cast<size_t>(i)].Name, i);
    });

    double bareRow = MillisecondsPerRow(bareTimes, rowTotal);
    double listRow = MillisecondsPerRow(listTimes, rowTotal);
    double sortedRow = MillisecondsPerRow(sortedTimes, rowTotal);
    std::printf("\nper row over all %d rows:\n", rowTotal);
    std::printf("  bare LVM_INSERTITEMA, unsorted list         %9.4f ms\n", bareRow);
    std::printf("  AddRow (sorted) + 2 x SetCell, result list  %9.4f ms\n", listRow);
    std::printf("  bare LVM_INSERTITEMA, LVS_SORTASCENDING     %9.4f ms\n", sortedRow);
    std::printf("ratio result list / bare unsorted:   %8.2f\n", listRow / bareRow);
    std::printf("ratio result list / bare sorted:     %8.2f   (the layer's own share)\n", listRow / sortedRow);
    std::printf("growth of the per-row time, last fifth / first fifth: bare %.2f, result list %.2f, "
                "bare sorted %.2f\n",
                bareTimes.back() / bareTimes.front(), listTimes.back() / listTimes.front(),
                sortedTimes.back() / sortedTimes.front());
    std::printf("result list rows in Name order: %s (%d rows)\n", NamesAscend(view) ? "yes" : "NO",
                ResultList(view).RowCount());

    DestroyWindow(bare);
    DestroyWindow(bareSorted);
    form->Release();
    return 0;
}
