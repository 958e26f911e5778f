#include <gtest/gtest.h>

#include "search/FileNameExtension.h"
#include "search/TextHelpers.h"
#include "support/ProgramTexts.h"

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
            EXPECT_EQ(ReplaceFileNameExtension(name, extension),
                      ReplaceFileExtension(name, extension))
                << name << " " << extension;
        }
    }
}

TEST(ReplaceFileNameExtension, PathEndingInASeparatorGetsTheExtensionAppended) {
    EXPECT_EQ(ReplaceFileNameExtension("C:\\x.y\\", ".doc"), "C:\\x.y\\.doc");
}

TEST(NumberedFileName, InsertsTheNumberBeforeTheExtensionOfTheNamePart) {
    EXPECT_EQ(NumberedFileName("C:\\d\\report.doc", 2), "C:\\d\\report (2).doc");
    EXPECT_EQ(NumberedFileName("C:\\d\\a.b.xls", 10), "C:\\d\\a.b (10).xls");
    EXPECT_EQ(NumberedFileName("C:\\dir.v1\\readme", 3), "C:\\dir.v1\\readme (3)");
    EXPECT_EQ(NumberedFileName("report.dat", 2), "report (2).dat");
}

TEST(ExtensionTextAllowed, RefusesWhatWouldLeaveTheFolderOrIsNoName) {
    for (const char* text : {"vrs", "_vrs", ".vrs", "a b", "a.b.c", "\xC3\xA4rger", ""}) {
        EXPECT_TRUE(ExtensionTextAllowed(text)) << text;
    }
    for (const char* text : RefusedExtensionTexts) {
        EXPECT_FALSE(ExtensionTextAllowed(text)) << text;
    }
    EXPECT_FALSE(ExtensionTextAllowed("\x1f"));  // a control character alone
    EXPECT_STREQ(ExtensionRefusedText, RefusedExtensionMessage);
}

TEST(ReplaceFileNameExtension, MultiByteFolderAndFileNamesKeepEveryByte) {
    // 报告.d\отчёт.exe and x😀.exe
    EXPECT_EQ(
        ReplaceFileNameExtension(
            "C:\\\xE6\x8A\xA5\xE5\x91\x8A.d\\\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.exe", ".doc"),
        "C:\\\xE6\x8A\xA5\xE5\x91\x8A.d\\\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.doc");
    EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\x\xF0\x9F\x98\x80.exe", "._vrs"),
              "C:\\x\\x\xF0\x9F\x98\x80._vrs");
    EXPECT_EQ(ReplaceFileNameExtension("C:\\x\\report.exe ", ".doc"), "C:\\x\\report.doc");
}
