#pragma once
// Runs test actions from inside the message handling of a running command (a search or a
// restore handles one waiting message at a time between its steps).
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

// Runs an action from inside the message handling of a running command: the action
// waits in the queue as a posted message and runs at the first message handled after
// its condition holds (it is posted again until then).
class MidRunActions {
public:
    MidRunActions() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuillfixMidRunActions";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "QuillfixMidRunActions", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MidRunActions() {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        MSG message;
        while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        }
    }
    MidRunActions(const MidRunActions&) = delete;
    MidRunActions& operator=(const MidRunActions&) = delete;

    void When(std::function<bool()> condition, std::function<void()> action) {
        pending_.push_back(Pending{std::move(condition), std::move(action)});
        PostMessageA(window_, WM_APP, 0, 0);
    }
    // Runs action at the first message handled after milliseconds (one at a time).
    void After(UINT milliseconds, std::function<void()> action) {
        timed_ = std::move(action);
        SetTimer(window_, 1, milliseconds, nullptr);
    }
    // Actions whose condition never held.
    size_t PendingCount() const { return pending_.size(); }

private:
    struct Pending {
        std::function<bool()> Condition;
        std::function<void()> Action;
    };

    void RunDue() {
        if (pending_.empty()) {
            return;
        }
        if (!pending_.front().Condition()) {
            if (++checks_ < 100000) {
                PostMessageA(window_, WM_APP, 0, 0);
            }
            return;
        }
        const Pending due = pending_.front();
        pending_.erase(pending_.begin());
        due.Action();
        if (!pending_.empty()) {
            PostMessageA(window_, WM_APP, 0, 0);
        }
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            if (auto* self =
                    reinterpret_cast<MidRunActions*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
                self->RunDue();
            }
            return 0;
        }
        if (message == WM_TIMER) {
            KillTimer(window, 1);
            auto* self = reinterpret_cast<MidRunActions*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self != nullptr && self->timed_) {
                const std::function<void()> action = std::move(self->timed_);
                self->timed_ = nullptr;
                action();
            }
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::vector<Pending> pending_;
    std::function<void()> timed_;
    int checks_ = 0;
};
