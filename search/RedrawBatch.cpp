#include "search/RedrawBatch.h"

#include "control/Control.h"

namespace {

HWND ExistingWindowOf(Control* control) {
  return control != nullptr && control->Handle != nullptr && IsWindow(control->Handle) ? control->Handle
                                                                                       : nullptr;
}

}  // namespace

RedrawBatch::RedrawBatch(Control* control, DWORD intervalMs, Kind kind)
    : control_(control),
      window_(ExistingWindowOf(control)),
      kind_(kind),
      intervalMs_(intervalMs),
      pauseMs_(intervalMs),
      lastShown_(GetTickCount()) {
  if (window_ == nullptr) {
    control_ = nullptr;
    return;
  }
  control_->AddRef();
  if (kind_ == RowsAdded) {
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
  } else {
    pending_ = CreateRectRgn(0, 0, 0, 0);
  }
  // A batch inside another one on the same window leaves the outer one's procedure alone.
  if (!control_->HasMessageProc(PutOffPaint)) {
    control_->AttachMessageProc(PutOffPaint, this);
    paintsPutOff_ = true;
  }
}

RedrawBatch::~RedrawBatch() {
  if (control_ == nullptr) {
    return;
  }
  if (paintsPutOff_) {
    control_->DetachMessageProc(PutOffPaint);
  }
  if (IsWindow(window_)) {
    if (kind_ == RowsAdded) {
      SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    } else {
      InvalidateRgn(window_, pending_, TRUE);
      if (frameChanged_) {
        RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
    }
  }
  if (pending_ != nullptr) {
    DeleteObject(pending_);
  }
  control_->Release();
}

void RedrawBatch::PutOff(HWND window) {
  if (pending_ != nullptr) {
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    if (update != nullptr && GetUpdateRgn(window, update, FALSE) > NULLREGION) {
      CombineRgn(pending_, pending_, update, RGN_OR);
    }
    if (update != nullptr) {
      DeleteObject(update);
    }
  }
  ValidateRect(window, nullptr);
  changed_ = true;
}

bool RedrawBatch::PutOffPaint(Control* control, MessageRecord& message, LRESULT& result, void* batch) {
  auto* self = static_cast<RedrawBatch*>(batch);
  if (self->showing_ || message.Window != control->Handle) {
    return false;
  }
  if (message.Message == WM_PAINT && message.WParam == 0) {
    self->PutOff(message.Window);
    result = 0;
    return true;
  }
  if (message.Message == WM_NCPAINT) {
    self->frameChanged_ = true;
    self->changed_ = true;
    result = 0;
    return true;
  }
  return false;
}

void RedrawBatch::ShowIfDue() {
  if (window_ == nullptr) {
    return;
  }
  // The window notes its own changes: they are waiting as its update region.
  if (kind_ == CellsChanged && !changed_ && GetUpdateRect(window_, nullptr, FALSE)) {
    changed_ = true;
  }
  if (!changed_ || GetTickCount() - lastShown_ < pauseMs_) {
    return;
  }
  Show();
}

void RedrawBatch::Show() {
  changed_ = false;
  const DWORD start = GetTickCount();
  if (IsWindow(window_)) {
    showing_ = true;
    const UINT frame = frameChanged_ ? RDW_FRAME : 0;
    frameChanged_ = false;
    if (kind_ == RowsAdded) {
      SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | frame);
      SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    } else {
      RedrawWindow(window_, nullptr, pending_, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | frame);
      SetRectRgn(pending_, 0, 0, 0, 0);
    }
    showing_ = false;
  }
  lastShown_ = GetTickCount();
  const DWORD repaintMs = lastShown_ - start;
  if (kind_ == RowsAdded && repaintMs * RepaintShare > intervalMs_) {
    pauseMs_ = repaintMs * RepaintShare;
  } else {
    pauseMs_ = intervalMs_;
  }
}
