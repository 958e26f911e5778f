// The command line's arguments, the exit-code rule for finished rows, and the CSV report
// with its new-file write.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/CsvReport.h"
#include "app/Unattended.h"
#include "support/ScratchFolder.h"

namespace {

CommandLine Parse(std::vector<std::string> arguments) {
    return ParseCommandLine(arguments);
}

TEST(CommandLineTest, NoArgumentsOpenTheWindowAndUsageWinsOverEverything) {
    EXPECT_EQ(Parse({}).Action, CommandAction::Interactive);
    EXPECT_EQ(Parse({"/?"}).Action, CommandAction::Usage);
    EXPECT_EQ(Parse({"/find", "C:\\", "-?"}).Action, CommandAction::Usage);
    EXPECT_EQ(Parse({"/bogus", "/?"}).Action, CommandAction::Usage);
}

TEST(CommandLineTest, SwitchesIgnoreCaseTakeEitherPrefixAndKeepTheWindowsDefaults) {
    const CommandLine find = Parse({"-FIND", "D:\\Shares"});
    EXPECT_EQ(find.Action, CommandAction::Find);
    EXPECT_EQ(find.Folder, "D:\\Shares");
    EXPECT_EQ(find.Mask, "*.exe");
    EXPECT_FALSE(find.Delete);
    EXPECT_EQ(find.RenameText, "_vrs");
    EXPECT_EQ(find.ReportPath, "");
    EXPECT_FALSE(find.Quiet);

    const CommandLine restore = Parse({"/Restore", "D:\\Shares\\", "/MASK", "*.exe;^setup*",
                                       "/rename", "vir", "/Report", "r.csv", "-quiet"});
    EXPECT_EQ(restore.Action, CommandAction::Restore);
    EXPECT_EQ(restore.Folder, "D:\\Shares\\");
    EXPECT_EQ(restore.Mask, "*.exe;^setup*");
    EXPECT_EQ(restore.RenameText, "vir");
    EXPECT_EQ(restore.ReportPath, "r.csv");
    EXPECT_TRUE(restore.Quiet);

    const CommandLine remove = Parse({"/restore", "x", "/delete"});
    EXPECT_TRUE(remove.Delete);
    // A value is taken as given, even when it begins like a switch.
    EXPECT_EQ(Parse({"/find", "-old"}).Folder, "-old");
}

TEST(CommandLineTest, RefusesWhatCannotBeMeantWithAOneLineReason) {
    const struct {
        std::vector<std::string> Arguments;
        const char* Reason;
    } cases[] = {
        {{"/fnd", "C:\\"}, "Unknown switch: /fnd"},
        {{"C:\\"}, "Unknown argument: C:\\"},
        {{"/find", "C:\\", "extra"}, "Unknown argument: extra"},
        {{"/find"}, "/find needs a value"},
        {{"/find", "/quiet"}, "/find needs a value"},
        {{"/find", "  "}, "/find needs a value that is not empty"},
        {{"/find", "a", "/restore", "b"}, "Give one /find or one /restore"},
        {{"/quiet"}, "Give /find FOLDER or /restore FOLDER"},
        {{"/find", "a", "/mask", "*.exe", "/mask", "*.dll"}, "/mask is given twice"},
        {{"/find", "a", "/quiet", "-QUIET"}, "-QUIET is given twice"},
        {{"/restore", "a", "/delete", "/rename", "vrs"},
         "Give either /delete or /rename, not both"},
        {{"/find", "a", "/delete"}, "/delete and /rename go with /restore only"},
        {{"/find", "a", "/rename", "vrs"}, "/delete and /rename go with /restore only"},
        {{"/restore", "a", "/rename", "a:b"}, "The extension may not contain \\ / : * ? \" < > |"},
        {{"/restore", "a", "/rename", "a\tb"}, "The extension may not contain control characters"},
        {{"/find", "C:\\My Docs\" /quiet"},
         "The folder contains a quotation mark; leave out a backslash before a closing quotation "
         "mark"},
    };
    for (const auto& test : cases) {
        const CommandLine command = Parse(test.Arguments);
        EXPECT_EQ(command.Action, CommandAction::Invalid) << test.Reason;
        EXPECT_EQ(command.Reason, test.Reason);
    }
}

TEST(UnattendedExitCodeTest, FailuresAreTheStatusesAndInformationTextsOfFailedFiles) {
    EXPECT_FALSE(RowEndedInFailure("OK... Fixed", "Org file renamed to : a._vrs"));
    EXPECT_FALSE(RowEndedInFailure("OK... Fixed", "Virus was deleted"));
    EXPECT_FALSE(RowEndedInFailure("Not Detected", "Microsoft Office Document"));
    EXPECT_FALSE(RowEndedInFailure("Not Detected", ""));
    EXPECT_FALSE(RowEndedInFailure("Analyzing...", ""));  // an empty file
    EXPECT_FALSE(RowEndedInFailure("", ""));              // listed only
    EXPECT_TRUE(RowEndedInFailure("OK... Fixed", "Rename failed, The file exists."));
    EXPECT_TRUE(RowEndedInFailure("OK... Fixed", "Delete failed, Access denied."));
    for (const char* status : {"Save failed", "Delete failed", "Rename failed", "Not Accessible",
                               "Not Supported", "Infected..."}) {
        EXPECT_TRUE(RowEndedInFailure(status, "")) << status;
    }
}

TEST(CsvReportTest, QuotesOnlyWhatNeedsItAndDoublesQuotationMarks) {
    EXPECT_EQ(CsvField("report.exe"), "report.exe");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("10,240"), "\"10,240\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(CsvField("line\nfeed"), "\"line\nfeed\"");
}

TEST(CsvReportTest, ReportHasByteOrderMarkHeaderAndUtf8Rows) {
    // A name in the ANSI code page, whatever it is: e acute converted from UTF-16.
    char ansi[8] = {};
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, L"caf\u00e9", -1, ansi, sizeof ansi, nullptr, nullptr),
              0);
    const std::string text = CsvReportText({{std::string(ansi) + ".exe", "C:\\A,B\\", "1,234",
                                             "OK... Fixed", "Org file renamed to : x._vrs"},
                                            {"b.exe", "C:\\", "7", "", ""}});
    EXPECT_EQ(text,
              "\xEF\xBB\xBFName,Path,Size (bytes),Status,Information\r\n"
              "caf\xC3\xA9.exe,\"C:\\A,B\\\",\"1,234\",OK... Fixed,Org file renamed to : x._vrs\r\n"
              "b.exe,C:\\,7,,\r\n");
    EXPECT_EQ(CsvReportText({}), "\xEF\xBB\xBFName,Path,Size (bytes),Status,Information\r\n");
}

TEST(CsvReportTest, WritesANewFileAndNeverReplacesOne) {
    scratch::ScratchFolder files("qf-report");
    std::string failure;
    const std::string path = files.Path("report.csv");
    ASSERT_TRUE(WriteNewFile(path, "first", failure)) << failure;
    EXPECT_EQ(scratch::ReadWholeFile(path), "first");

    EXPECT_FALSE(WriteNewFile(path, "second", failure));
    EXPECT_EQ(scratch::ReadWholeFile(path), "first");
    // The whole second report is kept beside it under the name the failure gives.
    const std::string kept = failure.substr(failure.find("kept as ") + 8);
    EXPECT_EQ(scratch::ReadWholeFile(kept), "second");

    EXPECT_FALSE(WriteNewFile(files.Path("missing\\report.csv"), "x", failure));
    EXPECT_EQ(failure.compare(0, 31, "The report cannot be created be"), 0) << failure;
    EXPECT_FALSE(scratch::FolderExists(files.Path("missing")));
}

}  // namespace
