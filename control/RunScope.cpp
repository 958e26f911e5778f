#include "control/RunScope.h"

#include "control/Control.h"

RunScope::RunScope(bool& active, Control* button, std::uint8_t* ownFlag)
    : active_(&active), button_(button), ownFlag_(ownFlag) {
    active = true;
    if (ownFlag_ != nullptr) {
        *ownFlag_ = 1;
    }
    if (button_ != nullptr) {
        button_->SetEnabled(false);
    }
}

void RunScope::End() {
    if (active_ == nullptr) {
        return;
    }
    bool* active = active_;
    active_ = nullptr;
    if (button_ != nullptr) {
        button_->SetEnabled(true);
    }
    if (ownFlag_ != nullptr) {
        *ownFlag_ = 0;
    }
    *active = false;
}
