#include "control/MessageBox.h"

#include "control/Control.h"

int ShowMessageBox(const std::string& text, std::uint32_t flags) {
    Control* application = ApplicationObject();
    const char* caption = application != nullptr ? application->Caption.c_str() : nullptr;
    return MessageBoxA(nullptr, text.c_str(), caption, flags);
}

int ShowMessageBox(const std::string& text) {
    return ShowMessageBox(text, 0);
}
