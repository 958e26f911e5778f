#pragma once
// Keeps a window (a list view, say) from repainting after every change during a long
// update, and shows the changes gathered so far a few times a second. Adding a row to a
// visible list view, or writing a cell of it, repaints it each time, which would cost
// more than the work itself; batching keeps the progress visible at a
// fraction of that cost.
//
// While the batch lasts the window's redrawing is suspended (WM_SETREDRAW), so changes
// ask for no paint at all, and a paint the window is asked for all the same (also one
// that some list views ask for at once when they scroll a newly focused row into view)
// is put off to the next showing: the window keeps its last picture until then. Each
// showing repaints the window's client area (and its frame when a frame paint was put
// off).
#include <windows.h>

struct Control;
struct MessageRecord;

class RedrawBatch {
public:
    enum Kind {
        // Rows are added: each showing turns redrawing on for its moment, so that the list
        // view brings its scroll bars up to date. That can cost tens of milliseconds (scroll
        // bars and header are redrawn), so the pause between showings is also at least
        // RepaintShare times the last showing's duration: showing takes at most about a
        // fortieth of the time.
        RowsAdded,
        // Cells and row states change, the rows stay: a window that still counts as visible
        // while its redrawing is suspended (some list views do not pass WM_SETREDRAW on to
        // the standard handling, which hides the window) is repainted as it is, without
        // turning redrawing on; the changes show every interval.
        CellsChanged,
    };

    RedrawBatch(Control* control, DWORD intervalMs, Kind kind);
    // Resumes redrawing; the window repaints once, when its thread next waits for messages.
    ~RedrawBatch();
    RedrawBatch(const RedrawBatch&) = delete;
    RedrawBatch& operator=(const RedrawBatch&) = delete;

    // Notes that the window's content changed.
    void Changed() { changed_ = true; }
    // Shows the changes now when there are any and the pause since the last showing is
    // over; redrawing stays suspended afterwards.
    void ShowIfDue();

    static const DWORD RepaintShare = 40;

private:
    void Show();
    static bool PutOffPaint(Control* control, MessageRecord& message, LRESULT& result, void* batch);

    Control* control_;  // held (AddRef) while the batch lasts
    HWND window_;
    Kind kind_;
    DWORD intervalMs_;
    DWORD pauseMs_;
    DWORD lastShown_;
    bool changed_ = false;
    bool frameChanged_ = false;  // a frame paint (scroll bars) was put off
    bool showing_ = false;
    bool paintsPutOff_ = false;  // this batch attached PutOffPaint
};
