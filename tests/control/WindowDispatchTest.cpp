#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ControlTestHelpers.h"
#include "control/Control.h"
#include "control/InternalError.h"

namespace {

// Collects the internal errors reported while it lives.
class ReportedErrors {
public:
    ReportedErrors() { SetInternalErrorHandler(Collect, &messages_); }
    ~ReportedErrors() { SetInternalErrorHandler(nullptr, nullptr); }
    ReportedErrors(const ReportedErrors&) = delete;
    ReportedErrors& operator=(const ReportedErrors&) = delete;

    const std::vector<std::string>& Messages() const { return messages_; }

private:
    static void Collect(void* context, const std::string& message) {
        static_cast<std::vector<std::string>*>(context)->push_back(message);
    }

    std::vector<std::string> messages_;
};

void ThrowOnClick(void* context, Control*) {
    ++*static_cast<int*>(context);
    throw std::runtime_error("click failed");
}

// Throws for a key that reaches one of the combo box's inner windows.
bool ThrowOnInnerKey(void*, Control* combo, MessageRecord& message, LRESULT&) {
    if (message.Message == WM_KEYDOWN && message.Window != combo->Handle)
        throw std::runtime_error("key failed");
    return false;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

}  // namespace

TEST(WindowDispatchTest, AHandlerThatThrowsIsReportedAndTheControlGoesOnWorking) {
    ReportedErrors errors;
    Control* form = CreateForm(nullptr, "Dispatch test");
    Control* button = CreateButton(form, "Go", ButtonNoBorder, 0, nullptr, 0);
    int clicks = 0;
    button->SetClickEvent(ThrowOnClick, &clicks);
    ASSERT_TRUE(form->CreateWindowHandle());
    const int references = button->RefCount;

    for (int i = 0; i < 2; ++i) {
        SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button->Handle));
    }
    EXPECT_EQ(clicks, 2);
    // The hold taken while the attached procedures run is given back on the way out.
    EXPECT_EQ(button->RefCount, references);
    ASSERT_EQ(errors.Messages().size(), 2u);
    EXPECT_TRUE(StartsWith(errors.Messages()[0],
                           "Window procedure failed: click failed WindowDispatch.cpp("))
        << errors.Messages()[0];
    form->Release();
}

TEST(WindowDispatchTest, TheComboBoxSubclassProcedureReportsAThrowingHookAndPassesTheMessageOn) {
    ReportedErrors errors;
    Control* form = CreateForm(nullptr, "Dispatch test");
    Control* combo = CreateComboBox(form, ComboNoIntegralHeight);
    combo->SetMessageHook(ThrowOnInnerKey, nullptr);
    ASSERT_TRUE(form->CreateWindowHandle());
    HWND inner = GetWindow(combo->Handle, GW_CHILD);
    ASSERT_NE(inner, nullptr);

    SendMessageA(inner, WM_KEYDOWN, 'A', 0);
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_TRUE(StartsWith(errors.Messages()[0],
                           "Combo box subclass procedure failed: key failed ComboBox.cpp("))
        << errors.Messages()[0];
    // The inner window still answers its messages.
    SendMessageA(inner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("*.exe"));
    EXPECT_EQ(WindowTextOf(inner), "*.exe");
    form->Release();
}
