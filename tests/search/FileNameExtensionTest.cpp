#include <gtest/gtest.h>

#include "search/FileNameExtension.h"
#include "search/TextHelpers.h"

TEST(ReplaceFileNameExtension, ReplacesOnlyTheExtensionOfTheNamePart) {
  EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\a.exe", ".vrs"), "C:\\x\\a.vrs");
  EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\abc.dll.exe", ".vrs"), "C:\\x\\abc.dll.vrs");
  EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\a.exe", "_vrs"), "C:\\x\\a_vrs");
  EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\a.exe", "..vrs"), "C:\\x\\a..vrs");
}

TEST(ReplaceFileNameExtension, FullStopInAFolderNameStaysInTheFolder) {
  EXPECT_EQ(ReplaceFileNameExtension("C:\\dir.v1\\file", ".doc"), "C:\\dir.v1\\file.doc");
  EXPECT_EQ(ReplaceFileNameExtension("C:\\a.b\\c.d\\letter", ".vrs"), "C:\\a.b\\c.d\\letter.vrs");
  EXPECT_EQ(ReplaceFileNameExtension("C:/dir.v1/file", ".doc"), "C:/dir.v1/file.doc");
  EXPECT_EQ(ReplaceFileNameExtension("D:file", ".doc"), "D:file.doc");
  EXPECT_EQ(ReplaceFileNameExtension("C:\\dir.v1\\file.exe", ".doc"), "C:\\dir.v1\\file.doc");
}

TEST(ReplaceFileNameExtension, NamesWithoutFolderMatchReplaceFileExtension) {
  for (const char* name : {"a.b.c", "noext", ".hidden", "file.", "x.exe", ""}) {
    for (const char* extension : {".doc", "_vrs", ""}) {
      EXPECT_EQ(ReplaceFileNameExtension(name, extension), ReplaceFileExtension(name, extension))
          << name << " " << extension;
    }
  }
}

TEST(ReplaceFileNameExtension, PathEndingInASeparatorGetsTheExtensionAppended) {
  EXPECT_EQ(ReplaceFileNameExtension("C:\\x.y\\", ".doc"), "C:\\x.y\\.doc");
}
