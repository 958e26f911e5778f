#pragma once
// Keeps a window (the result list) from repainting after every change during a long
// update, and shows the changes gathered so far a few times a second. Adding a row to a
// visible list view, or writing a cell of it, repaints it each time, which would cost
// more than the search or the restore itself; batching keeps the progress visible at a
// fraction of that cost.
//
// While the batch lasts, a paint the window is asked for (also one that some list views
// ask for at once, whatever their redraw state, when they scroll a newly focused row
// into view) is put off to the next showing: the window keeps its last picture until
// then.
#include <windows.h>

struct Control;
struct MessageRecord;

class RedrawBatch {
 public:
  enum Kind {
    // Rows are added: the window's redrawing is suspended (WM_SETREDRAW), since a list
    // view updates its scroll bars on every new row otherwise; each showing repaints the
    // whole window. Turning a list view's redrawing back on can cost tens of
    // milliseconds (scroll bars and header are redrawn), so the pause between showings
    // is also at least RepaintShare times the last showing's duration: showing takes at
    // most about a twentieth of the time.
    RowsAdded,
    // Cells and row states change: the window keeps noting what changed, and each
    // showing repaints only that, every interval.
    CellsChanged,
  };

  RedrawBatch(Control* control, DWORD intervalMs, Kind kind);
  // Ends the batch; what is still to be painted is painted when the window's thread next
  // waits for messages.
  ~RedrawBatch();
  RedrawBatch(const RedrawBatch&) = delete;
  RedrawBatch& operator=(const RedrawBatch&) = delete;

  // Notes that the window's content changed (needed for RowsAdded only: a window whose
  // redrawing is suspended notes nothing itself).
  void Changed() { changed_ = true; }
  // Shows the changes now when there are any and the pause since the last showing is
  // over.
  void ShowIfDue();

  static const DWORD RepaintShare = 20;

 private:
  void Show();
  void PutOff(HWND window);
  static bool PutOffPaint(Control* control, MessageRecord& message, LRESULT& result, void* batch);

  Control* control_;  // held (AddRef) while the batch lasts
  HWND window_;
  Kind kind_;
  DWORD intervalMs_;
  DWORD pauseMs_;
  DWORD lastShown_;
  HRGN pending_ = nullptr;  // CellsChanged: the area whose paint was put off
  bool changed_ = false;
  bool frameChanged_ = false;  // a frame paint (scroll bars) was put off
  bool showing_ = false;
  bool paintsPutOff_ = false;  // this batch attached PutOffPaint
};
