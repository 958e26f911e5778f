// Seeded random sequences of user actions over a folder of carriers, genuine documents
// and programs. After each sequence no document may be lost, no original file changed
// or removed unless its bytes are kept, nothing made outside the folder, and the program
// must have ended cleanly.
//
// Replay one seed:   QF_NOLOSS_SEED=<n> ./scripts/test.sh -R noloss
// Every seed's actions and files, also when it passes: QF_NOLOSS_VERBOSE=1
// Many seeds:        ./scripts/test.sh -L long   (QF_NOLOSS_COUNT seeds from QF_NOLOSS_FIRST,
//                    by default 200 from 1000)
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "NoLossFolder.h"
#include "NoLossSession.h"
#include "ProgramDriver.h"
#include "ProgramTest.h"
#include "support/CarrierFiles.h"
#include "support/FolderSnapshot.h"
#include "support/ScratchFolder.h"

namespace {

// The seeds every test run plays; together about two minutes under Wine.
const std::vector<uint32_t> FixedSeeds = [] {
    std::vector<uint32_t> seeds;
    for (uint32_t seed = 1; seed <= 45; ++seed) {
        seeds.push_back(seed);
    }
    return seeds;
}();

// Seeds of the long run (ctest label "long") unless QF_NOLOSS_COUNT says otherwise.
const int LongSeedCount = 200;

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", value);
    return text;
}

std::vector<std::string> OutsideChanges(const scratch::FolderSnapshot& before,
                                        const scratch::FolderSnapshot& after) {
    std::vector<std::string> changes;
    for (const auto& file : after.Files) {
        const auto original = before.Files.find(file.first);
        if (original == before.Files.end()) {
            changes.push_back("made outside the test folder: " + file.first);
        } else if (original->second != file.second) {
            changes.push_back("changed outside the test folder: " + file.first);
        }
    }
    for (const auto& file : before.Files) {
        if (after.Files.count(file.first) == 0) {
            changes.push_back("removed outside the test folder: " + file.first);
        }
    }
    if (after.Folders != before.Folders) {
        changes.push_back("the folders outside the test folder changed");
    }
    return changes;
}

// The title of a visible window that reports a crash, or empty when none is shown.
BOOL CALLBACK FindCrashWindow(HWND window, LPARAM found) {
    char title[256] = {};
    if (IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) > 0 &&
        std::string(title).find("Program Error") != std::string::npos) {
        *reinterpret_cast<std::string*>(found) = title;
        return FALSE;
    }
    return TRUE;
}

std::string CrashWindowTitle() {
    std::string title;
    EnumWindows(FindCrashWindow, reinterpret_cast<LPARAM>(&title));
    return title;
}

struct SeedResult {
    bool Failed = false;
    // The broken rules, the files made, changed or gone, and the actions.
    std::string Report;
};

// What a sequence did to the folder, for reading a report.
std::string FolderChanges(const scratch::FolderSnapshot& before,
                          const scratch::FolderSnapshot& after) {
    std::string text = "  files made, changed (*) or gone (-):\n";
    for (const auto& file : after.Files) {
        const auto original = before.Files.find(file.first);
        if (original == before.Files.end() || original->second != file.second) {
            text += std::string("    ") + (original == before.Files.end() ? "+ " : "* ") +
                    file.first + " (" + std::to_string(file.second.size()) + " bytes)\n";
        }
    }
    for (const auto& file : before.Files) {
        if (after.Files.count(file.first) == 0) {
            text += "    - " + file.first + "\n";
        }
    }
    return text;
}

SeedResult PlaySeed(uint32_t seed) {
    SeedResult result;
    const std::string title = "seed " + std::to_string(seed) +
                              " (replay: QF_NOLOSS_SEED=" + std::to_string(seed) +
                              " ./scripts/test.sh -R noloss)\n";
    scratch::ScratchFolder scratch("qf-noloss");
    // Files beside the test folder, which the program must never reach.
    scratch.WriteFile("outside.exe",
                      carriers::Carrier(10240, carriers::TestDocument("letter.doc")));
    scratch.WriteFile("outside.doc", "beside the test folder\r\n");
    const std::string folder = scratch.MakeFolder("case");
    const noloss::Corpus corpus = noloss::BuildFolder(folder, seed);
    if (corpus.Documents.empty()) {
        return {true, title + "  the test folder could not be built\n"};
    }
    const scratch::FolderSnapshot outsideBefore =
        scratch::TakeFolderSnapshot(scratch.Root(), "case");
    const scratch::FolderSnapshot before = scratch::TakeFolderSnapshot(folder);

    std::vector<std::string> failures;
    std::vector<std::string> actions;
    std::vector<noloss::UserDeletion> deleted;
    {
        std::vector<FileHandle> open;
        for (const std::string& file : corpus.LockedFiles) {
            open.push_back(noloss::OpenHeld(folder + "\\" + file, false));
        }
        for (const std::string& file : corpus.HeldFiles) {
            open.push_back(noloss::OpenHeld(folder + "\\" + file, true));
        }
        ProgramDriver program;
        if (!program.Start(ProgramPath(), ProgramTitle)) {
            return {true, title + "  " + program.Failure() + "\n"};
        }
        noloss::Session session(program, folder, seed);
        session.Play(15 + static_cast<int>(seed % 26));
        const long code = session.Close();
        if (code != 0) {
            failures.push_back(code == -1 ? "the program did not end"
                                          : "exit code " + Hex(static_cast<unsigned long>(code)) +
                                                " (0 expected)");
        }
        const std::string crash = CrashWindowTitle();
        if (!crash.empty()) {
            failures.push_back("a crash was reported: " + crash);
        }
        failures.insert(failures.end(), session.Problems().begin(), session.Problems().end());
        actions = session.Actions();
        deleted = session.Deleted();
    }

    const scratch::FolderSnapshot after = scratch::TakeFolderSnapshot(folder);
    for (const std::string& violation : noloss::Violations(corpus, before, after, deleted)) {
        failures.push_back(violation);
    }
    for (const std::string& change :
         OutsideChanges(outsideBefore, scratch::TakeFolderSnapshot(scratch.Root(), "case"))) {
        failures.push_back(change);
    }
    result.Failed = !failures.empty();
    result.Report = title;
    for (const std::string& failure : failures) {
        result.Report += "  " + failure + "\n";
    }
    result.Report += FolderChanges(before, after) + "  actions:\n";
    for (const std::string& action : actions) {
        result.Report += "    " + action + "\n";
    }
    return result;
}

std::vector<uint32_t> SeedsFromText(const char* text) {
    std::vector<uint32_t> seeds;
    for (const char* at = text; *at != '\0';) {
        char* end = nullptr;
        const unsigned long seed = std::strtoul(at, &end, 10);
        if (end == at) {
            ++at;
            continue;
        }
        seeds.push_back(static_cast<uint32_t>(seed));
        at = end;
    }
    return seeds;
}

void PlaySeeds(const std::vector<uint32_t>& seeds) {
    const bool verbose = std::getenv("QF_NOLOSS_VERBOSE") != nullptr;
    int failed = 0;
    for (uint32_t seed : seeds) {
        const DWORD start = GetTickCount();
        const SeedResult result = PlaySeed(seed);
        std::printf("seed %u: %s in %.1f s\n", seed, result.Failed ? "FAILED" : "kept every byte",
                    (GetTickCount() - start) / 1000.0);
        if (result.Failed) {
            ++failed;
            ADD_FAILURE() << result.Report;
        } else if (verbose) {
            std::printf("%s", result.Report.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("%d of %zu seeds failed\n", failed, seeds.size());
}

// The checks themselves, on made-up folders: what a sound restore leaves passes, each
// kind of loss is named.
class NoLossChecks : public ::testing::Test {
protected:
    NoLossChecks() {
        corpus.Documents = {{Document, "a.exe", Body.size()}, {Genuine, "b.doc", 0}};
        corpus.Carriers["a.exe"] = 0;
        before.Files = {
            {"a.exe", Body + Document}, {"b.doc", Genuine}, {"sub\\c.exe", "c program"}};
        before.Folders = {"sub"};
    }

    // The broken rules for the folder after, as one text.
    std::string Broken(const std::map<std::string, std::string>& files,
                       const std::vector<noloss::UserDeletion>& deleted = {}) {
        scratch::FolderSnapshot after;
        after.Files = files;
        after.Folders = before.Folders;
        std::string text;
        for (const std::string& violation : noloss::Violations(corpus, before, after, deleted)) {
            text += violation + "\n";
        }
        return text;
    }

    const std::string Body = "MZ program body ";
    const std::string Document = "document carried by a.exe";
    const std::string Genuine = "a genuine document";
    noloss::Corpus corpus;
    scratch::FolderSnapshot before;
};

TEST_F(NoLossChecks, SoundOutcomesPass) {
    const std::string c = "c program";
    // Renamed carrier and its document.
    EXPECT_EQ(Broken({{"a._vrs", Body + Document},
                      {"a.doc", Document},
                      {"b.doc", Genuine},
                      {"sub\\c.exe", c}}),
              "");
    // Deleted carrier; the document saved under a free name beside an existing file.
    before.Files["a.doc"] = "someone's own a.doc";
    EXPECT_EQ(Broken({{"a.doc", "someone's own a.doc"},
                      {"a (2).doc", Document},
                      {"b.doc", Genuine},
                      {"sub\\c.exe", c}}),
              "");
    // Files the user deleted, and a file renamed by the user.
    EXPECT_EQ(Broken({{"a.doc", "someone's own a.doc"}, {"b.vrs", Genuine}},
                     {{"a.exe", Body + Document}, {"sub\\c.exe", c}}),
              "");
}

TEST_F(NoLossChecks, EveryKindOfLossIsNamed) {
    const std::string c = "c program";
    // An existing output replaced, the carrier deleted: two documents lost.
    before.Files["a.doc"] = "another genuine document";
    corpus.Documents.push_back({"another genuine document", "a.doc", 0});
    std::string broken = Broken({{"a.doc", Document + "!"}, {"b.doc", Genuine}, {"sub\\c.exe", c}});
    EXPECT_NE(broken.find("lost: the document of a.exe"), std::string::npos) << broken;
    EXPECT_NE(broken.find("lost: the document of a.doc"), std::string::npos) << broken;
    EXPECT_NE(broken.find("changed: a.doc"), std::string::npos) << broken;
    EXPECT_NE(broken.find("removed: a.exe"), std::string::npos) << broken;
    EXPECT_NE(broken.find("unexpected file: a.doc"), std::string::npos) << broken;

    // A genuine document cut and removed; a program moved out of its folder; a temporary
    // file left; a copy under a name of no file of its folder; a folder made.
    scratch::FolderSnapshot after;
    after.Files = {{"a._vrs", Body + Document}, {"a.doc", "another genuine document"},
                   {"b.xls", "document"},       {"c.exe", c},
                   {"~qf1.tmp", Document},      {"zz.doc", Document}};
    after.Folders = {"sub", "new"};
    broken.clear();
    for (const std::string& violation : noloss::Violations(corpus, before, after, {})) {
        broken += violation + "\n";
    }
    EXPECT_NE(broken.find("lost: the document of b.doc"), std::string::npos) << broken;
    EXPECT_NE(broken.find("removed: b.doc"), std::string::npos) << broken;
    EXPECT_NE(broken.find("unexpected file: b.xls"), std::string::npos) << broken;
    EXPECT_NE(broken.find("moved out of its folder: sub\\c.exe is now c.exe"), std::string::npos)
        << broken;
    EXPECT_NE(broken.find("temporary file left: ~qf1.tmp"), std::string::npos) << broken;
    EXPECT_NE(broken.find("unexpected name: zz.doc"), std::string::npos) << broken;
    EXPECT_NE(broken.find("folder made: new"), std::string::npos) << broken;
    EXPECT_EQ(broken.find("a._vrs"), std::string::npos) << broken;
}

TEST(NoLoss, FixedSeeds) {
    const char* replay = std::getenv("QF_NOLOSS_SEED");
    PlaySeeds(replay != nullptr && *replay != '\0' ? SeedsFromText(replay) : FixedSeeds);
}

TEST(NoLoss, ManySeeds) {
    const char* count = std::getenv("QF_NOLOSS_COUNT");
    const char* longRun = std::getenv("QF_NOLOSS_LONG");
    const int seedCount = count != nullptr     ? std::atoi(count)
                          : longRun != nullptr ? LongSeedCount
                                               : 0;
    if (seedCount <= 0) {
        GTEST_SKIP() << "set QF_NOLOSS_COUNT to play many seeds";
    }
    const char* first = std::getenv("QF_NOLOSS_FIRST");
    const uint32_t from =
        first != nullptr ? static_cast<uint32_t>(std::strtoul(first, nullptr, 10)) : 1000;
    std::vector<uint32_t> seeds;
    for (int index = 0; index < seedCount; ++index) {
        seeds.push_back(from + static_cast<uint32_t>(index));
    }
    PlaySeeds(seeds);
}

}  // namespace
