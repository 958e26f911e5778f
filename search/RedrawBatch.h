#pragma once
// Keeps a window (the result list) from repainting after every change during a long
// update, and shows the changes gathered so far a few times a second. Adding a row to a
// visible list view, or writing a cell of it, repaints it each time, which would cost
// more than the search or the restore itself; batching keeps the progress visible at a
// fraction of that cost.
//
// While the batch lasts the window's redrawing is suspended (WM_SETREDRAW). A paint that
// the window is asked for all the same (some list views scroll a newly focused row into
// view and paint at once, whatever the redraw state) is put off to the next showing: the
// window keeps its last picture until then.
#include <windows.h>

struct Control;
struct MessageRecord;

class RedrawBatch {
 public:
  // Suspends the window's redrawing (WM_SETREDRAW FALSE) when it has a window.
  RedrawBatch(Control* control, DWORD intervalMs);
  // Resumes redrawing; the window repaints once, when its thread next waits for messages.
  ~RedrawBatch();
  RedrawBatch(const RedrawBatch&) = delete;
  RedrawBatch& operator=(const RedrawBatch&) = delete;

  // Notes that the window's content changed.
  void Changed() { changed_ = true; }
  // Repaints the window now when it changed and the interval since the last repaint is
  // over; redrawing stays suspended afterwards.
  void ShowIfDue();

 private:
  void Show();
  static bool PutOffPaint(Control* control, MessageRecord& message, LRESULT& result, void* batch);

  Control* control_;  // held (AddRef) while the batch lasts
  HWND window_;
  DWORD intervalMs_;
  DWORD lastShown_;
  bool changed_ = false;
  bool showing_ = false;
  bool paintsPutOff_ = false;  // this batch attached PutOffPaint
};
