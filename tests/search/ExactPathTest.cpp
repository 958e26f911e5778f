#include "search/ExactPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/ScratchFolder.h"

namespace {

// Runs in folder as the current folder and restores the previous one afterwards.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder) {
        char previous[4096] = {};
        GetCurrentDirectoryA(sizeof previous, previous);
        previous_ = previous;
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(previous_.c_str()); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string previous_;
};

}  // namespace

TEST(ExactPath, PathsNormalisationLeavesAloneStayPlain) {
    for (const char* path :
         {"C:\\Docs\\report.exe", "C:\\", "C:\\Docs\\", "\\\\server\\share\\a.exe",
          "C:\\Docs\\console.txt", "C:\\Docs\\COM10", "C:\\Docs\\nullify.exe",
          "C:\\\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82\\x\xF0\x9F\x98\x80.exe",
          "C:\\Docs\\.hidden", "C:\\Docs\\ leading.exe"}) {
        EXPECT_EQ(ExactPath(path), path);
    }
    EXPECT_EQ(ExactPath(""), "");
    EXPECT_EQ(ExactPath("\\\\?\\C:\\x \\y."), "\\\\?\\C:\\x \\y.");
    EXPECT_EQ(ExactPath("\\\\.\\C:"), "\\\\.\\C:");
}

TEST(ExactPath, NamesNormalisationWouldChangeGetTheLiteralForm) {
    EXPECT_EQ(ExactPath("C:\\Docs\\report.exe "), "\\\\?\\C:\\Docs\\report.exe ");
    EXPECT_EQ(ExactPath("C:\\Docs\\sub.\\a.exe"), "\\\\?\\C:\\Docs\\sub.\\a.exe");
    EXPECT_EQ(ExactPath("C:\\Docs\\sub.\\"), "\\\\?\\C:\\Docs\\sub.\\");
    EXPECT_EQ(ExactPath("C:\\Docs\\nul.txt"), "\\\\?\\C:\\Docs\\nul.txt");
    EXPECT_EQ(ExactPath("C:\\Docs\\Com1"), "\\\\?\\C:\\Docs\\Com1");
    EXPECT_EQ(ExactPath("C:\\Docs\\LPT\xC2\xB9.doc"), "\\\\?\\C:\\Docs\\LPT\xC2\xB9.doc");
    EXPECT_EQ(ExactPath("C:\\Docs\\AUX .txt"), "\\\\?\\C:\\Docs\\AUX .txt");
    EXPECT_EQ(ExactPath("\\\\server\\share\\a.exe "), "\\\\?\\UNC\\server\\share\\a.exe ");
    // What the platform would resolve is resolved here, names are never trimmed.
    EXPECT_EQ(ExactPath("C:/Docs//x/./y/../z.exe."), "\\\\?\\C:\\Docs\\x\\z.exe.");
    EXPECT_EQ(ExactPath("C:\\..\\..\\x."), "\\\\?\\C:\\x.");
    EXPECT_EQ(ExactPath("//server/share/a/../b "), "\\\\?\\UNC\\server\\share\\b ");
}

TEST(ExactPath, RelativePathsAreMadeAbsolute) {
    scratch::ScratchFolder folder("qf-exact");
    CurrentFolder current(folder.Root());
    const std::string root = folder.Root();
    EXPECT_EQ(ExactPath("sub.\\a.exe"), "\\\\?\\" + root + "\\sub.\\a.exe");
    EXPECT_EQ(ExactPath(".\\b "), "\\\\?\\" + root + "\\b ");
    EXPECT_EQ(ExactPath("..\\c."), "\\\\?\\" + root.substr(0, root.rfind('\\')) + "\\c.");
    EXPECT_EQ(ExactPath("\\d."), "\\\\?\\" + root.substr(0, 2) + "\\d.");
    EXPECT_EQ(ExactPath(root.substr(0, 2) + "e."), "\\\\?\\" + root + "\\e.");
    // A relative path the platform takes as written stays relative.
    EXPECT_EQ(ExactPath("sub\\a.exe"), "sub\\a.exe");
}

TEST(ExactPath, ATrailingSpaceNameAndItsPlainTwinAreDifferentFiles) {
    scratch::ScratchFolder folder("qf-exact");
    folder.WriteFile("report.exe", "plain");
    folder.WriteFile("report.exe ", "spaced");
    folder.WriteFile("sub.\\inner.exe", "in a folder ending in a dot");
    EXPECT_EQ(scratch::ReadWholeFile(ExactPath(folder.Path("report.exe "))), "spaced");
    EXPECT_EQ(scratch::ReadWholeFile(ExactPath(folder.Path("report.exe"))), "plain");
    EXPECT_EQ(scratch::ReadWholeFile(ExactPath(folder.Path("sub.\\inner.exe"))),
              "in a folder ending in a dot");
    ASSERT_TRUE(DeleteFileA(ExactPath(folder.Path("report.exe ")).c_str()));
    EXPECT_EQ(scratch::ReadWholeFile(folder.Path("report.exe")), "plain");
    EXPECT_FALSE(scratch::FileExists(folder.Path("report.exe ")));
}
