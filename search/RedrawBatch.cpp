#include "search/RedrawBatch.h"

#include "control/Control.h"

namespace {

HWND ExistingWindowOf(Control* control) {
  return control != nullptr && control->Handle != nullptr && IsWindow(control->Handle) ? control->Handle
                                                                                       : nullptr;
}

}  // namespace

RedrawBatch::RedrawBatch(Control* control, DWORD intervalMs)
    : control_(control), window_(ExistingWindowOf(control)), intervalMs_(intervalMs), lastShown_(GetTickCount()) {
  if (window_ == nullptr) {
    control_ = nullptr;
    return;
  }
  control_->AddRef();
  SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
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
    // The last changes are painted by the message loop as soon as it is idle.
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  control_->Release();
}

bool RedrawBatch::PutOffPaint(Control* control, MessageRecord& message, LRESULT& result, void* batch) {
  auto* self = static_cast<RedrawBatch*>(batch);
  if (message.Message != WM_PAINT || message.WParam != 0 || self->showing_ || message.Window != control->Handle) {
    return false;
  }
  ValidateRect(message.Window, nullptr);
  self->changed_ = true;
  result = 0;
  return true;
}

void RedrawBatch::ShowIfDue() {
  if (!changed_ || GetTickCount() - lastShown_ < intervalMs_) {
    return;
  }
  Show();
}

void RedrawBatch::Show() {
  changed_ = false;
  if (window_ != nullptr && IsWindow(window_)) {
    showing_ = true;
    SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    showing_ = false;
  }
  lastShown_ = GetTickCount();
}
