#pragma once
// Fixture for tests of the main window built in-process with BuildMainWindow, shown on the
// test's display. Every message box and dialog is answered by a MessageBoxAnswerer (IDOK
// unless the test says otherwise). Whatever a test leaves behind (its window, a running
// search, the run loop's state, the application object) is cleaned up by the destructor,
// which runs after a failed assertion too, so the next test starts from a clean thread.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "control/Control.h"
#include "control/MessageLoop.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"

class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(int defaultAnswer = IDOK) : answerer_(defaultAnswer) {}

    ~MainWindowFixture() override {
        if (window_ != nullptr && form_ != nullptr) {
            window_->SearchStopped = 1;  // a search still running ends at its next step
        }
        Terminate(form_);
        PumpMessages();
        ResetRunLoopState();
        SetApplicationObject(nullptr);
    }

    // Builds the window and shows it; a derived SetUp may prepare the display before and
    // settle it after.
    void SetUp() override {
        ResetRunLoopState();
        BuildMainWindow(&window_, nullptr);
        form_ = window_->MainForm;
        ASSERT_TRUE(form_->CreateWindowHandle());
        PumpMessages();
    }

    MessageBoxAnswerer answerer_;
    // Both nullptr once the run loop has ended and released the window (RunLoop clears form_).
    MainWindow* window_ = nullptr;
    Control* form_ = nullptr;
};
