#include "control/WindowDispatch.h"

#include "control/Control.h"
#include "control/InternalError.h"

namespace {

// The control whose CreateWindowExA call is in progress.
Control* beingCreated = nullptr;

// Holds a control (AddRef) for a scope, on every way out.
class HeldControl {
public:
    explicit HeldControl(Control* control) : control_(control) { control_->AddRef(); }
    ~HeldControl() { control_->Release(); }
    HeldControl(const HeldControl&) = delete;
    HeldControl& operator=(const HeldControl&) = delete;

private:
    Control* control_;
};

}  // namespace

void SetBeingCreated(Control* control) {
    beingCreated = control;
}

Control* ControlFromWindow(HWND window) {
    if (!window || !IsWindow(window))
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)) != CommonWindowProc)
        return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK CommonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!control && beingCreated) {
        control = beingCreated;
        beingCreated = nullptr;
        control->Handle = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);

    MessageRecord record{window, message, wParam, lParam};
    if (control->IsDestroying)
        return control->DefaultProcessing(record);

    EnterMessageHandling();
    ++control->NestingDepth;
    LRESULT result = 0;
    try {
        result = control->WindowProc(record);
    } catch (...) {
        // Nothing crosses into the platform: the message ends here with result 0.
        ReportCaughtException("Window procedure failed: ", __FILE__, __LINE__);
        result = 0;
    }
    --control->NestingDepth;
    // A form of its own (no owner) whose window is gone goes with its last handler;
    // owned controls live until their owner releases them.
    if (control->RefCount == 0 && control->NestingDepth <= 0 && control->DestroyRequested &&
        control->WindowGone && control != ApplicationObject() && !control->Parent &&
        !control->IsDestroyScheduled())
        control->Release();
    LeaveMessageHandling();
    return result;
}

bool RunAttachedProcs(Control* control, MessageRecord& message, LRESULT& result) {
    if (control->MessageProcs.empty())
        return false;
    const std::vector<AttachedProc> procedures = control->MessageProcs;
    const HeldControl held(control);
    for (auto it = procedures.rbegin(); it != procedures.rend(); ++it) {
        if (IsTerminated() && !it->Argument)
            continue;
        if (!control->HasMessageProc(it->Procedure))
            continue;
        if (it->Procedure(control, message, result, it->Argument))
            return true;
    }
    return false;
}
