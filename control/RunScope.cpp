#include "control/RunScope.h"

#include "control/Control.h"

DisabledButtonScope::DisabledButtonScope(Control* button) : button_(button) {
  if (button_ != nullptr) {
    button_->SetEnabled(false);
  }
}

void DisabledButtonScope::End() {
  if (button_ != nullptr) {
    Control* button = button_;
    button_ = nullptr;
    button->SetEnabled(true);
  }
}
