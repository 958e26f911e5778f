#include "search/RedrawBatch.h"

#include "control/Control.h"

namespace {

HWND ExistingWindowOf(Control* control) {
  return control != nullptr && control->Handle != nullptr && IsWindow(control->Handle) ? control->Handle
                                                                                       : nullptr;
}

}  // namespace

RedrawBatch::RedrawBatch(Control* control, DWORD intervalMs)
    : window_(ExistingWindowOf(control)), intervalMs_(intervalMs), pauseMs_(intervalMs), lastShown_(GetTickCount()) {
  if (window_ != nullptr) {
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  }
}

RedrawBatch::~RedrawBatch() {
  if (window_ != nullptr && IsWindow(window_)) {
    // The last changes are painted by the message loop as soon as it is idle.
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void RedrawBatch::ShowIfDue() {
  if (!changed_ || GetTickCount() - lastShown_ < pauseMs_) {
    return;
  }
  Show();
}

void RedrawBatch::Show() {
  changed_ = false;
  const DWORD start = GetTickCount();
  if (window_ != nullptr && IsWindow(window_)) {
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  }
  lastShown_ = GetTickCount();
  const DWORD repaintMs = lastShown_ - start;
  pauseMs_ = repaintMs * RepaintShare > intervalMs_ ? repaintMs * RepaintShare : intervalMs_;
}
