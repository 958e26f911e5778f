#pragma once
// Keeps a window (the result list) from repainting after every change during a long
// update, and shows the changes gathered so far from time to time. Adding a row to a
// visible list view repaints it each time, which dominates a search that adds thousands
// of rows; batching keeps the rows appearing while the search runs. A repaint of a long
// list can itself be slow, so the pause between two repaints is at least the interval
// and at least RepaintShare times the last repaint's duration: repainting takes at
// most about a thirtieth of the update's time.
#include <windows.h>

struct Control;

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
  // Repaints the window now when it changed and the pause since the last repaint is
  // over; redrawing stays suspended afterwards.
  void ShowIfDue();

  static const DWORD RepaintShare = 29;

 private:
  void Show();

  HWND window_;
  DWORD intervalMs_;
  DWORD pauseMs_;
  DWORD lastShown_;
  bool changed_ = false;
};
