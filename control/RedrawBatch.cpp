#include "control/RedrawBatch.h"

#include "control/Control.h"

namespace {

HWND ExistingWindowOf(Control* control) {
    return control != nullptr && control->Handle != nullptr && IsWindow(control->Handle)
               ? control->Handle
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
        RedrawWindow(window_, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    control_->Release();
}

bool RedrawBatch::PutOffPaint(Control* control, MessageRecord& message, LRESULT& result,
                              void* batch) {
    auto* self = static_cast<RedrawBatch*>(batch);
    if (self->showing_ || message.Window != control->Handle) {
        return false;
    }
    if (message.Message == WM_PAINT && message.WParam == 0) {
        ValidateRect(message.Window, nullptr);
        self->changed_ = true;
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
        const bool drawnAsItIs =
            kind_ == CellsChanged && (GetWindowLongPtrA(window_, GWL_STYLE) & WS_VISIBLE) != 0;
        if (!drawnAsItIs) {
            SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        }
        RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | frame);
        if (!drawnAsItIs) {
            SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
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
