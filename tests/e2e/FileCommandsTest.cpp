// A user deletes and renames selected files from the result list, and reads the about box.
#include <windows.h>

#include <string>
#include <vector>

#include "ProgramTest.h"
#include "control/UniqueHandle.h"

namespace {

using FileCommands = ProgramTest;

// Opens a file without sharing it, so that the program can neither delete nor rename it.
FileHandle LockFile(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST_F(FileCommands, DeleteFilesDeletesOnlyTheSelectedFilesAfterConfirmation) {
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe"}) {
        files.WriteFile(name, name);
    }
    files.WriteFile("sub\\e.exe", "e");
    ASSERT_EQ(Find(files.Root(), "*.exe"), "Finish, found 5 Files");
    const std::vector<std::vector<std::string>> found = program.Rows();

    // Nothing selected: the program says so and deletes nothing.
    ASSERT_TRUE(program.SetRowState(-1, 0));
    program.Click("Delete files");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Caption, ProgramTitle);
    EXPECT_EQ(box.Text, "Select the file from the list first");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDOK}));
    ASSERT_TRUE(program.Answer(box, IDOK));

    SelectRows({"b.exe", "e.exe"});
    program.Click("Delete files");
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Text,
              "Are you sure you want to delete the selected files ?\r\nThis will delete the files");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDYES, IDNO}));
    EXPECT_TRUE(box.HasIcon);
    ASSERT_TRUE(program.Answer(box, IDNO));
    ASSERT_TRUE(program.Sync());
    EXPECT_TRUE(program.NoBoxWithin(300));
    EXPECT_EQ(program.Rows(), found) << "answering No changed the list";
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));
    EXPECT_TRUE(scratch::FileExists(files.Path("sub\\e.exe")));

    program.Click("Delete files");
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    ASSERT_TRUE(program.Answer(box, IDYES));
    ASSERT_TRUE(program.Sync());
    EXPECT_TRUE(program.NoBoxWithin(300)) << "a delete shows no summary";

    EXPECT_FALSE(scratch::FileExists(files.Path("b.exe")));
    EXPECT_FALSE(scratch::FileExists(files.Path("sub\\e.exe")));
    for (const char* name : {"a.exe", "c.exe", "d.exe"}) {
        EXPECT_TRUE(scratch::FileExists(files.Path(name))) << name;
    }
    // Deleted rows stay, emptied but for their Status, and unselected.
    const std::vector<std::vector<std::string>> rows = program.Rows();
    ASSERT_EQ(rows.size(), 5u);
    int emptied = 0;
    for (int row = 0; row < 5; ++row) {
        if (rows[row][0].empty()) {
            ++emptied;
            EXPECT_EQ(rows[row], std::vector<std::string>(5, ""));
            EXPECT_FALSE(program.IsRowSelected(row));
        }
    }
    EXPECT_EQ(emptied, 2);
    EXPECT_GE(program.FindRow("a.exe"), 0);
    EXPECT_GE(program.FindRow("c.exe"), 0);
    EXPECT_GE(program.FindRow("d.exe"), 0);
}

TEST_F(FileCommands, RenameFilesKeepsEveryFileInItsFolder) {
    files.WriteFile("a.exe", "a");
    files.WriteFile("b.exe", "b");
    files.WriteFile("v1.2\\readme", "no extension, in a folder with a full stop");
    files.WriteFile("v1.2\\x.dll.exe", "x");
    ASSERT_EQ(Find(files.Root(), "*"), "Finish, found 4 Files");

    SelectRows({"a.exe", "b.exe", "readme", "x.dll.exe"});
    ASSERT_TRUE(program.SetText(program.RenameFilesEdit(), "  "));
    program.Click("Rename files");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Text, "File extention is empty\r\nPlease fill the file extention");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDOK}));
    ASSERT_TRUE(program.Answer(box, IDOK));
    EXPECT_TRUE(scratch::FileExists(files.Path("a.exe")));

    ASSERT_TRUE(program.Type(program.RenameFilesEdit(), "vrs"));
    const FileHandle locked = LockFile(files.Path("b.exe"));
    ASSERT_TRUE(locked.IsValid());
    program.Click("Rename files");
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Text, "Are you sure you rename the selected files ?");
    EXPECT_EQ(box.Buttons, std::vector<int>({IDYES, IDNO}));
    ASSERT_TRUE(program.Answer(box, IDYES));
    ASSERT_TRUE(program.Sync());
    EXPECT_TRUE(program.NoBoxWithin(300));

    EXPECT_TRUE(scratch::FileExists(files.Path("a.vrs")));
    EXPECT_FALSE(scratch::FileExists(files.Path("a.exe")));
    EXPECT_EQ(scratch::ReadWholeFile(files.Path("v1.2\\readme.vrs")),
              "no extension, in a folder with a full stop");
    EXPECT_FALSE(scratch::FileExists(files.Path("v1.vrs"))) << "a file left its folder";
    EXPECT_TRUE(scratch::FileExists(files.Path("v1.2\\x.dll.vrs")));
    EXPECT_TRUE(scratch::FileExists(files.Path("b.exe")));

    const int renamedA = program.FindRow("a.vrs");
    const int renamedReadme = program.FindRow("readme.vrs");
    const int lockedRow = program.FindRow("b.exe");
    ASSERT_GE(renamedA, 0);
    ASSERT_GE(renamedReadme, 0);
    ASSERT_GE(program.FindRow("x.dll.vrs"), 0);
    ASSERT_GE(lockedRow, 0);
    EXPECT_EQ(program.Cell(renamedReadme, 1), files.Root() + "\\v1.2\\");
    EXPECT_FALSE(program.IsRowSelected(renamedA));
    EXPECT_FALSE(program.IsRowSelected(renamedReadme));
    EXPECT_TRUE(program.IsRowSelected(lockedRow)) << "a failed rename keeps its row selected";
}

TEST_F(FileCommands, ListCommandsWorkOnTheRowsOnly) {
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe"}) {
        files.WriteFile(name, name);
    }
    ASSERT_EQ(Find(files.Root(), "*.exe"), "Finish, found 4 Files");

    ASSERT_TRUE(program.ClickAndWait("Select All"));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(program.RowState(row), static_cast<unsigned>(LVIS_SELECTED)) << row;
    }
    ASSERT_TRUE(program.ClickAndWait("Clear All"));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(program.RowState(row), static_cast<unsigned>(LVIS_CUT)) << row;
    }
    SelectRows({"b.exe", "c.exe"});
    ASSERT_TRUE(program.ClickAndWait("Delete list"));
    EXPECT_EQ(program.RowCount(), 2);
    EXPECT_EQ(program.Cell(0, 0), "a.exe");
    EXPECT_EQ(program.Cell(1, 0), "d.exe");
    ASSERT_TRUE(program.ClickAndWait("Clear Result"));
    EXPECT_EQ(program.RowCount(), 0);
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe"}) {
        EXPECT_TRUE(scratch::FileExists(files.Path(name))) << "list commands must not touch files";
    }
}

TEST_F(FileCommands, ColumnClicksSortAndTheDeleteKeyRemovesTheFocusedRow) {
    files.WriteFile("a.exe", "aaaa");
    files.WriteFile("b.exe", "b");
    files.WriteFile("c.exe", "ccc");
    files.WriteFile("d.exe", "dd");
    ASSERT_EQ(Find(files.Root(), "*.exe"), "Finish, found 4 Files");
    const auto names = [this] {
        std::vector<std::string> listed;
        for (const std::vector<std::string>& row : program.Rows()) {
            listed.push_back(row[0]);
        }
        return listed;
    };

    program.ClickColumnHeader(2);
    ASSERT_TRUE(program.Drain(10000));
    EXPECT_EQ(names(), std::vector<std::string>({"b.exe", "d.exe", "c.exe", "a.exe"}));
    program.ClickColumnHeader(0);
    ASSERT_TRUE(program.Drain(10000));
    EXPECT_EQ(names(), std::vector<std::string>({"a.exe", "b.exe", "c.exe", "d.exe"}));

    ASSERT_TRUE(program.SetRowState(-1, 0));
    ASSERT_TRUE(program.SetRowState(1, LVIS_SELECTED));
    ASSERT_TRUE(program.PostRowState(2, LVIS_SELECTED | LVIS_FOCUSED));
    program.PressListKey(VK_DELETE);
    ASSERT_TRUE(program.Drain(10000));
    EXPECT_EQ(names(), std::vector<std::string>({"a.exe", "b.exe", "d.exe"}));
    EXPECT_EQ(program.SelectedRows(), std::vector<int>({1}));
    EXPECT_TRUE(scratch::FileExists(files.Path("c.exe")))
        << "the Delete key removes the row, not the file";
}

TEST_F(FileCommands, AboutShowsTheProgramsHelpText) {
    program.Click("About");
    ProgramBox box;
    ASSERT_TRUE(program.WaitForBox(box, 20000));
    EXPECT_EQ(box.Caption, ProgramTitle);
    EXPECT_EQ(box.Text, AboutText());
    EXPECT_EQ(box.Buttons, std::vector<int>({IDOK}));
    EXPECT_TRUE(box.HasIcon);
    ASSERT_TRUE(program.Answer(box, IDOK));
}

}  // namespace
