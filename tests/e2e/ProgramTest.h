#pragma once
// Fixture of the end-to-end tests: a scratch folder for the test's files and the
// program started on its main window. Each test ends by closing the window and checking
// that the program exits with code 0.
#include <gtest/gtest.h>

#include <string>

#include "ProgramDriver.h"
#include "support/CarrierFiles.h"
#include "support/ProgramTexts.h"
#include "support/ScratchFolder.h"

// Prefixes of the information line once a search has ended.
const char* const FinishedPrefix = "Finish, found ";
const char* const StoppedPrefix = "Searching stopped, found ";

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : files("qf-e2e") {}

    void SetUp() override {
        ASSERT_TRUE(program.Start(ProgramPath(), ProgramTitle)) << program.Failure();
    }

    void TearDown() override {
        if (!program.HasExited()) {
            EXPECT_EQ(program.Close(20000), 0) << "the program did not end cleanly";
        }
    }

    // Types the folder and the mask, clicks "Find" and waits for the search's end; returns
    // the information line ("Finish, found ..." or "Searching stopped, found ...").
    std::string Find(const std::string& folder, const std::string& mask) {
        EXPECT_TRUE(program.Type(program.FolderEdit(), folder));
        EXPECT_TRUE(program.Type(program.MaskCombo(), mask));
        EXPECT_TRUE(program.ClickAndWait("Find", 120000));
        return program.WaitForInfo({FinishedPrefix, StoppedPrefix}, 1000);
    }

    // Selects exactly the rows with the given names, as a user's Ctrl+clicks would.
    void SelectRows(std::initializer_list<const char*> names) {
        ASSERT_TRUE(program.SetRowState(-1, 0));
        for (const char* name : names) {
            const int row = program.FindRow(name);
            ASSERT_GE(row, 0) << name;
            ASSERT_TRUE(program.SetRowState(row, LVIS_SELECTED)) << name;
        }
    }

    scratch::ScratchFolder files;
    ProgramDriver program;
};
