#include "search/TextHelpers.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/ScriptNames.h"

TEST(IntegerText, PlainDecimalDigits) {
    EXPECT_EQ("0", IntegerText(0));
    EXPECT_EQ("7", IntegerText(7));
    EXPECT_EQ("123456", IntegerText(123456));
    EXPECT_EQ("-1", IntegerText(-1));
    EXPECT_EQ("2147483647", IntegerText(2147483647));
    EXPECT_EQ("-2147483648", IntegerText(INT32_MIN));
}

TEST(GroupedIntegerText, CommaBetweenGroupsOfThree) {
    EXPECT_EQ("0", GroupedIntegerText(0));
    EXPECT_EQ("999", GroupedIntegerText(999));
    EXPECT_EQ("1,000", GroupedIntegerText(1000));
    EXPECT_EQ("12,345", GroupedIntegerText(12345));
    EXPECT_EQ("123,456", GroupedIntegerText(123456));
    EXPECT_EQ("1,234,567", GroupedIntegerText(1234567));
    EXPECT_EQ("2,147,483,647", GroupedIntegerText(2147483647));
}

TEST(GroupedIntegerText, MinusSignStaysFirstWithoutComma) {
    EXPECT_EQ("-999", GroupedIntegerText(-999));
    EXPECT_EQ("-1,234", GroupedIntegerText(-1234));
    EXPECT_EQ("-123,456", GroupedIntegerText(-123456));
    EXPECT_EQ("-2,147,483,648", GroupedIntegerText(INT32_MIN));
}

TEST(ParseLeadingInteger, ReadsSignAndDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(123, ParseLeadingInteger("123"));
    EXPECT_EQ(-45, ParseLeadingInteger("-45x"));
    EXPECT_EQ(7, ParseLeadingInteger("+7"));
    EXPECT_EQ(-1, ParseLeadingInteger("-1"));
    EXPECT_EQ(1, ParseLeadingInteger("1,234"));
    EXPECT_EQ(12, ParseLeadingInteger("12 34"));
}

TEST(ParseLeadingInteger, NoDigitsGiveZero) {
    EXPECT_EQ(0, ParseLeadingInteger(""));
    EXPECT_EQ(0, ParseLeadingInteger(" 7"));
    EXPECT_EQ(0, ParseLeadingInteger("-"));
    EXPECT_EQ(0, ParseLeadingInteger("+"));
    EXPECT_EQ(0, ParseLeadingInteger("x12"));
    EXPECT_EQ(0, ParseLeadingInteger("--3"));
}

TEST(ParseLeadingInteger, WrapsModulo2To32) {
    EXPECT_EQ(INT32_MAX, ParseLeadingInteger("2147483647"));
    EXPECT_EQ(INT32_MIN, ParseLeadingInteger("-2147483648"));
    EXPECT_EQ(INT32_MIN, ParseLeadingInteger("2147483648"));
    EXPECT_EQ(0, ParseLeadingInteger("4294967296"));
    EXPECT_EQ(-1, ParseLeadingInteger("4294967295"));
}

TEST(ParseLeadingInteger, ReadsBackIntegerText) {
    for (int32_t value : {0, 1, -1, 65535, -65536, 123456789, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(value, ParseLeadingInteger(IntegerText(value)));
    }
}

TEST(Value64Text, DigitsWithoutSeparators) {
    EXPECT_EQ("0", Value64Text(0));
    EXPECT_EQ("4294967296", Value64Text(4294967296LL));
    EXPECT_EQ("-42", Value64Text(-42));
    EXPECT_EQ("9223372036854775807", Value64Text(INT64_MAX));
    EXPECT_EQ("-9223372036854775808", Value64Text(INT64_MIN));
}

TEST(FileSizeText, GroupedBelowTheBoundaryPlainFromIt) {
    EXPECT_EQ("0", FileSizeText(0, 0));
    EXPECT_EQ("1,234", FileSizeText(0, 1234));
    EXPECT_EQ("2,147,483,646", FileSizeText(0, 2147483646));
    EXPECT_EQ("2147483647", FileSizeText(0, 2147483647));
    EXPECT_EQ("2147483648", FileSizeText(0, 2147483648u));
    EXPECT_EQ("3000000000", FileSizeText(0, 3000000000u));
    EXPECT_EQ("4294967295", FileSizeText(0, 0xFFFFFFFFu));
    EXPECT_EQ("4294967296", FileSizeText(1, 0));
    EXPECT_EQ("4294967297", FileSizeText(1, 1));
}

TEST(FileSizeText, HugeHighHalfIsNeverNegativeOrGrouped) {
    EXPECT_EQ("9223372036854775808", FileSizeText(0x80000000u, 0));
    EXPECT_EQ("18446744073709551615", FileSizeText(0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(WithTrailingBackslash, AddsOneBackslashOnlyWhenMissing) {
    EXPECT_EQ("C:\\", WithTrailingBackslash("C:\\"));
    EXPECT_EQ("C:\\Docs\\", WithTrailingBackslash("C:\\Docs"));
    EXPECT_EQ("C:\\Docs\\", WithTrailingBackslash("C:\\Docs\\"));
    EXPECT_EQ("C:/Docs/\\", WithTrailingBackslash("C:/Docs/"));
    EXPECT_EQ("\\", WithTrailingBackslash(""));
}

TEST(FileExtensionOf, FromTheLastFullStopAnywhere) {
    EXPECT_EQ(".c", FileExtensionOf("a.b.c"));
    EXPECT_EQ("", FileExtensionOf("noext"));
    EXPECT_EQ(".hidden", FileExtensionOf(".hidden"));
    EXPECT_EQ(".v1\\file", FileExtensionOf("C:\\dir.v1\\file"));
    EXPECT_EQ(".", FileExtensionOf("file."));
    EXPECT_EQ("", FileExtensionOf(""));
}

TEST(ReplaceFileExtension, DropsTheExtensionAndAppendsTheNewOne) {
    EXPECT_EQ("a.b.doc", ReplaceFileExtension("a.b.c", ".doc"));
    EXPECT_EQ("noext.doc", ReplaceFileExtension("noext", ".doc"));
    EXPECT_EQ(".doc", ReplaceFileExtension(".hidden", ".doc"));
    EXPECT_EQ("file.doc", ReplaceFileExtension("file.", ".doc"));
    EXPECT_EQ("C:\\dir.doc", ReplaceFileExtension("C:\\dir.v1\\file", ".doc"));
    EXPECT_EQ("x_vrs", ReplaceFileExtension("x.exe", "_vrs"));
    EXPECT_EQ("C:\\x\\y.exe._vrs", ReplaceFileExtension("C:\\x\\y.exe.exe", "._vrs"));
    EXPECT_EQ("y", ReplaceFileExtension("y.doc", ""));
}

TEST(FileNameOf, TextAfterTheLastSeparator) {
    EXPECT_EQ("y.doc", FileNameOf("C:\\x\\y.doc"));
    EXPECT_EQ("abc", FileNameOf("C:abc"));
    EXPECT_EQ("", FileNameOf("C:\\x\\"));
    EXPECT_EQ("plain", FileNameOf("plain"));
    EXPECT_EQ("b.txt", FileNameOf("a/b.txt"));
    EXPECT_EQ("c", FileNameOf("C:/a\\b:c"));
    EXPECT_EQ("", FileNameOf(""));
}

TEST(TrimBlanks, RemovesControlCharactersAndSpacesAtBothEndsOnly) {
    EXPECT_EQ("a b", TrimBlanks("  a b  "));
    EXPECT_EQ("x", TrimBlanks("\t\r\nx\x01\x1f "));
    EXPECT_EQ("", TrimBlanks(" \t\x01\x1f "));
    EXPECT_EQ("", TrimBlanks(""));
    EXPECT_EQ("\xe9t\xe9", TrimBlanks("\xe9t\xe9"));
    const std::string withZero("\0a\0", 3);
    EXPECT_EQ(withZero, TrimBlanks(withZero));
}

TEST(TextPosition, OneBasedExactMatch) {
    EXPECT_EQ(8, TextPosition("files", "Delete files"));
    EXPECT_EQ(0, TextPosition("files", "Select All"));
    EXPECT_EQ(0, TextPosition("Files", "Delete files"));
    EXPECT_EQ(1, TextPosition("ab", "abab"));
    EXPECT_EQ(0, TextPosition("", "abc"));
    EXPECT_EQ(0, TextPosition("a", ""));
    EXPECT_EQ(0, TextPosition("abcd", "abc"));
}

TEST(BytesEqual, ComparesOnlyTheGivenCount) {
    const unsigned char ole2[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1};
    const unsigned char read[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0x00};
    EXPECT_TRUE(BytesEqual(ole2, read, 5));
    EXPECT_FALSE(BytesEqual(ole2, read, 6));
    EXPECT_TRUE(BytesEqual(ole2, "xyz", 0));
    EXPECT_TRUE(BytesEqual(ole2, "xyz", -3));
}

TEST(CompareTextIgnoringCase, IgnoresCaseAndOrdersLikeTheLocale) {
    EXPECT_EQ(0, CompareTextIgnoringCase("Report.DOC", "report.doc"));
    EXPECT_LT(CompareTextIgnoringCase("apple", "Banana"), 0);
    EXPECT_GT(CompareTextIgnoringCase("banana", "Apple"), 0);
    EXPECT_LT(CompareTextIgnoringCase("", "a"), 0);
    EXPECT_EQ(0, CompareTextIgnoringCase("", ""));
    EXPECT_LT(CompareTextIgnoringCase("1,000", "999"), 0);
}

// Names in other scripts, as UTF-8: the test program runs with the program's manifest.
namespace {
using scriptnames::Utf16;
const std::string ReportRu = scriptnames::ReportRu + ".exe";
const std::string ReportRuUpper = "\xD0\x9E\xD0\xA2\xD0\xA7\xD0\x81\xD0\xA2.EXE";  // ОТЧЁТ.EXE
const std::string Anger = scriptnames::Anger + ".exe";
const std::string Smile = scriptnames::Smile + ".exe";

int Sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}
}  // namespace

TEST(CodePage, TestProgramsRunWithTheProgramsUtf8CodePage) {
    EXPECT_EQ(GetACP(), 65001u);
}

TEST(CompareTextIgnoringCase, OrdersOtherScriptsAsThePlatformDoesInUtf16) {
    EXPECT_EQ(0, CompareTextIgnoringCase(ReportRu, ReportRuUpper));
    const std::string names[] = {"arbeit.exe",
                                 Anger,
                                 "Zebra.exe",
                                 ReportRu,
                                 Smile,
                                 "\xE6\x8A\xA5\xE5\x91\x8A.exe",
                                 "\xCE\xB1\xCE\xB2.exe",
                                 "b.exe"};
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            const std::wstring wa = Utf16(a);
            const std::wstring wb = Utf16(b);
            const int platform = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                                                -1, wb.c_str(), -1) -
                                 2;
            EXPECT_EQ(Sign(platform), Sign(CompareTextIgnoringCase(a, b))) << a << " / " << b;
        }
    }
    EXPECT_LT(CompareTextIgnoringCase("arbeit.exe", Anger), 0);
    EXPECT_LT(CompareTextIgnoringCase(Anger, "b.exe"), 0);
}

TEST(LowerCaseText, LowersWholeCharactersOfEveryScript) {
    EXPECT_EQ(LowerCaseText(ReportRuUpper), ReportRu);
    EXPECT_EQ(LowerCaseText("\xC3\x84RGER.EXE"), "\xC3\xA4rger.exe");
    EXPECT_EQ(LowerCaseText("\xCE\x91\xCE\x92.EXE"), "\xCE\xB1\xCE\xB2.exe");
    EXPECT_EQ(LowerCaseText("X\xF0\x9F\x98\x80.EXE"), Smile);
    EXPECT_EQ(LowerCaseText("\xE6\x8A\xA5\xE5\x91\x8A.EXE"), "\xE6\x8A\xA5\xE5\x91\x8A.exe");
}

TEST(PathHelpers, MultiByteNamesKeepEveryByte) {
    EXPECT_EQ(FileExtensionOf(ReportRu), ".exe");
    EXPECT_EQ(ReplaceFileExtension(ReportRu, "._vrs"),
              "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82._vrs");
    EXPECT_EQ(FileNameOf("C:\\\xE6\x8A\xA5\xE5\x91\x8A\\" + Smile), Smile);
    EXPECT_EQ(TrimBlanks(" " + Anger + " "), Anger);
}
