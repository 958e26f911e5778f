#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "control/SystemErrorText.h"
#include "recovery/ByteStream.h"
#include "recovery/FindFast.h"
#include "recovery/RestoreFiles.h"
#include "search/StartSearch.h"
#include "support/CarrierFiles.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MidRunActions.h"
#include "support/RestoreTestWindow.h"
#include "support/ScratchFolder.h"
#include "support/SparseFile.h"
#include "support/ZipArchive.h"

namespace {

using carriers::Carrier;
using carriers::ExecutableBody;
using carriers::Ole2Bytes;
using carriers::TestDocument;
using scratch::FileExists;
using scratch::FolderExists;
using scratch::ReadWholeFile;

const char* const FinishPrefix = "OK... Finish\r\nTotal files infected and restored : ";

std::string FinishText(int count) {
    return FinishPrefix + std::to_string(count);
}

class RestoreFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string body = ExecutableBody(65536);
        ASSERT_EQ(body.size(), 65536u);
        ASSERT_EQ(body.find(Ole2Bytes), std::string::npos)
            << "the executable body holds a signature";
        ASSERT_EQ(body.find(carriers::RtfBytes), std::string::npos);
    }

    std::string Folder() const { return folder_.Root() + "\\"; }
    std::string Path(const std::string& name) const { return folder_.Path(name); }
    // Writes the file and lists it; returns its path.
    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = folder_.WriteFile(name, bytes);
        window_.AddFile(Folder(), name);
        return path;
    }
    std::string Status(const std::string& name) { return window_.Cell(name, StatusColumn); }
    std::string Information(const std::string& name) {
        return window_.Cell(name, InformationColumn);
    }
    std::string InfoLine() { return window_.Record().InfoLabel->GetText(); }
    bool RestoreButtonEnabled() {
        return IsWindowEnabled(window_.Record().RestoreButton->Handle) != FALSE;
    }
    std::vector<AnsweredBox> Boxes() const { return answerer_.MessageBoxes(); }
    // Exactly one box was shown, with this text and these flags.
    void ExpectOneBox(const std::string& text, uint32_t flags) {
        const std::vector<AnsweredBox> boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, text);
        EXPECT_EQ(boxes[0].Flags, flags);
    }

    scratch::ScratchFolder folder_{"qf-restore"};
    RestoreTestWindow window_;
    MessageBoxAnswerer answerer_;
};

// ---- the restore of one carrier ---------------------------------------------------------

TEST_F(RestoreFilesTest, CarrierGivesItsDocumentBesideItAndIsRenamed) {
    const std::string document = TestDocument("letter.doc");
    const std::string carrier = Carrier(20480, document);
    Put("report.exe", carrier);

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("report.doc")), carrier.substr(20480));
    EXPECT_EQ(ReadWholeFile(Path("report.doc")), document);
    EXPECT_EQ(ReadWholeFile(Path("report._vrs")), carrier);
    EXPECT_FALSE(FileExists(Path("report.exe")));
    EXPECT_EQ(Status("report.exe"), "OK... Fixed");
    EXPECT_EQ(Information("report.exe"), "Org file renamed to : report._vrs");
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"20480"}));
    EXPECT_EQ(InfoLine(), "Restoring files..");
    EXPECT_TRUE(RestoreButtonEnabled());
    EXPECT_EQ(window_.List().FocusedRow(), 0);
    EXPECT_TRUE(window_.List().IsRowSelected(0));
    EXPECT_FALSE(window_.Record().RunActive);
    EXPECT_EQ(window_.Record().RestoreStopRequested, 0);
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, DeleteModeDeletesTheCarrier) {
    const std::string carrier = Carrier(20480, TestDocument("budget.xls"));
    Put("book.exe", carrier);
    window_.SetDeleteMode();

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("book.xls")), TestDocument("budget.xls"));
    EXPECT_FALSE(FileExists(Path("book.exe")));
    EXPECT_FALSE(FileExists(Path("book._vrs")));
    EXPECT_EQ(Status("book.exe"), "OK... Fixed");
    EXPECT_EQ(Information("book.exe"), "Virus was deleted");
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, RenameTextGivesTheCarriersNewExtension) {
    const struct {
        const char* Text;
        const char* NewName;
    } cases[] = {{"  ", "x._vrs"}, {"vrs", "x.vrs"}, {" .vrs ", "x..vrs"}};
    for (const auto& test : cases) {
        window_.List().ClearRows();
        const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
        Put("x.exe", carrier);
        window_.SetRenameText(test.Text);

        window_.ClickRestore();

        EXPECT_EQ(ReadWholeFile(Path(test.NewName)), carrier) << test.Text;
        EXPECT_EQ(Information("x.exe"), std::string("Org file renamed to : ") + test.NewName);
        DeleteFileA(Path("x.doc").c_str());
    }
    EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(RestoreFilesTest, FailedDeleteOrRenameIsReportedAndTheFileStillCounts) {
    const std::string document = TestDocument("letter.doc");
    const std::string carrier = Carrier(20480, document);
    Put("held.exe", carrier);
    folder_.WriteFile("taken.exe", carrier);
    folder_.WriteFile("taken._vrs", "already here");

    // Another program has held.exe open without allowing deletion.
    HANDLE held = CreateFileA(Path("held.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_FALSE(DeleteFileA(Path("held.exe").c_str()));
    const DWORD deleteError = GetLastError();
    ASSERT_FALSE(MoveFileA(Path("taken.exe").c_str(), Path("taken._vrs").c_str()));
    const DWORD renameError = GetLastError();

    window_.SetDeleteMode();
    window_.ClickRestore();
    CloseHandle(held);
    EXPECT_EQ(Status("held.exe"), "OK... Fixed");
    EXPECT_EQ(Information("held.exe"), "Delete failed, " + SystemErrorText(deleteError));
    EXPECT_TRUE(FileExists(Path("held.exe")));
    EXPECT_EQ(ReadWholeFile(Path("held.doc")), document);

    window_.Record().RenameWithRadio->SetChecked(true);
    window_.List().ClearRows();
    window_.AddFile(Folder(), "taken.exe");
    window_.ClickRestore();
    EXPECT_EQ(Status("taken.exe"), "OK... Fixed");
    EXPECT_EQ(Information("taken.exe"), "Rename failed, " + SystemErrorText(renameError));
    EXPECT_EQ(ReadWholeFile(Path("taken.exe")), carrier);
    EXPECT_EQ(ReadWholeFile(Path("taken._vrs")), "already here");
    EXPECT_EQ(ReadWholeFile(Path("taken.doc")), document);

    const std::vector<AnsweredBox> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text, FinishText(1));
    EXPECT_EQ(boxes[1].Text, FinishText(1));
}

// ---- the offset list --------------------------------------------------------------------

TEST_F(RestoreFilesTest, ALaterCarrierIsResolvedFromTheListWithoutAScan) {
    const std::string first = Carrier(20480, TestDocument("letter.doc"));
    // A scan of the second carrier would stop at the decoy signature at 4096.
    std::string second = ExecutableBody(20480);
    second.replace(4096, 5, Ole2Bytes);
    second += TestDocument("budget.xls");
    Put("a.exe", first);
    const std::string secondPath = Put("b.exe", second);
    ASSERT_EQ(FindPatternInFile(secondPath, Ole2Bytes, true), 4096);

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("a.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("b.xls")), TestDocument("budget.xls"));
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"20480"}));
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, OfficeDocumentsAndFilesWithoutSignatureAreLeftAlone) {
    const std::string letter = TestDocument("letter.doc");
    const std::string plain1 = ExecutableBody(30000);
    const std::string plain2 = ExecutableBody(40000);
    Put("letter.doc", letter);
    Put("plain1.exe", plain1);
    Put("plain2.exe", plain2);

    window_.ClickRestore();

    EXPECT_EQ(Status("letter.doc"), "Not Detected");
    EXPECT_EQ(Information("letter.doc"), "Microsoft Office Document");
    EXPECT_EQ(Status("plain1.exe"), "Not Detected");
    EXPECT_EQ(Information("plain1.exe"), "");
    EXPECT_EQ(Status("plain2.exe"), "Not Detected");
    EXPECT_EQ(ReadWholeFile(Path("letter.doc")), letter);
    EXPECT_EQ(ReadWholeFile(Path("plain1.exe")), plain1);
    EXPECT_EQ(ReadWholeFile(Path("plain2.exe")), plain2);
    EXPECT_FALSE(FileExists(Path("letter._vrs")));
    EXPECT_FALSE(FileExists(Path("plain1.dat")));
    // A document and programs with nothing after their image are never scanned.
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>());
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AFileThatBeginsWithADocumentIsNeverCutAtAListedOffset) {
    // A genuine document (think of a .msg with an attachment) that holds the signature again
    // at the offset an earlier carrier listed.
    std::string genuine = TestDocument("minutes.doc");
    genuine.replace(20480, Ole2Bytes.size(), Ole2Bytes);
    std::string rtf = TestDocument("letter.rtf");
    rtf += std::string(20480 - rtf.size(), ' ') + Ole2Bytes + "rest of the text}";
    Put("a.exe", Carrier(20480, TestDocument("letter.doc")));
    Put("b.doc", genuine);
    Put("c.rtf", rtf);

    window_.ClickRestore();

    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    for (const char* name : {"b.doc", "c.rtf"}) {
        EXPECT_EQ(Status(name), "Not Detected") << name;
        EXPECT_EQ(Information(name), "Microsoft Office Document") << name;
    }
    EXPECT_EQ(ReadWholeFile(Path("b.doc")), genuine);
    EXPECT_EQ(ReadWholeFile(Path("c.rtf")), rtf);
    EXPECT_FALSE(FileExists(Path("b._vrs")));
    EXPECT_FALSE(FileExists(Path("b (2).doc")));
    EXPECT_FALSE(FileExists(Path("c.doc")));
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, ASignatureInsideAProgramsImageIsPartOfTheProgram) {
    const std::string document = TestDocument("letter.doc");
    const std::string installer = carriers::ProgramEmbedding(60000, document);
    const size_t embeddedAt = installer.find(Ole2Bytes);
    ASSERT_NE(embeddedAt, std::string::npos);
    // a.exe lists the offset at which the installer holds its package; c.exe is the same
    // installer with a document appended by the virus.
    Put("a.exe", Carrier(embeddedAt, TestDocument("budget.xls")));
    // Data after the image that is no document, as a signed program carries.
    const std::string signedInstaller = installer + carriers::NeutralBytes(3000, 7);
    Put("b.exe", signedInstaller);
    Put("d.exe", installer);
    const std::string infected = installer + TestDocument("budget.xls");
    Put("c.exe", infected);
    window_.SetDeleteMode();

    window_.ClickRestore();

    for (const char* name : {"b.exe", "d.exe"}) {
        EXPECT_EQ(Status(name), "Not Detected") << name;
        EXPECT_EQ(Information(name), "") << name;
    }
    EXPECT_EQ(ReadWholeFile(Path("b.exe")), signedInstaller);
    EXPECT_EQ(ReadWholeFile(Path("d.exe")), installer);
    EXPECT_FALSE(FileExists(Path("b.doc")));
    EXPECT_FALSE(FileExists(Path("d.doc")));
    EXPECT_EQ(Status("c.exe"), "OK... Fixed");
    EXPECT_EQ(ReadWholeFile(Path("c.xls")), TestDocument("budget.xls"));
    EXPECT_FALSE(FileExists(Path("c.exe")));
    EXPECT_FALSE(FileExists(Path("c.doc")));
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({std::to_string(embeddedAt), "-1",
                                                           std::to_string(installer.size())}));
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, NewerDocumentsAreRestoredWithTheirExtension) {
    const struct {
        const char* Document;
        const char* Output;
    } cases[] = {{"report.docx", "a.docx"},
                 {"sales.xlsx", "b.xlsx"},
                 {"slides.pptx", "c.pptx"},
                 {"report.pdf", "d.pdf"},
                 {"slides.ppt", "e.ppt"}};
    std::string name = "a.exe";
    for (const auto& one : cases) {
        Put(name, Carrier(20480, TestDocument(one.Document)));
        ++name[0];
    }

    window_.ClickRestore();

    name = "a.exe";
    for (const auto& one : cases) {
        EXPECT_EQ(ReadWholeFile(Path(one.Output)), TestDocument(one.Document)) << one.Output;
        EXPECT_EQ(Status(name), "OK... Fixed") << name;
        EXPECT_TRUE(FileExists(Path(name.substr(0, 1) + "._vrs"))) << name;
        ++name[0];
    }
    // The packages and the PDF share one offset: the first is found by the scan, the
    // others at the listed offset.
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"-1", "20480"}));
    ExpectOneBox(FinishText(5), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, NewerDocumentsAndArchivesAreNoCarriersOfTheirOwn) {
    const std::string docx = TestDocument("report.docx");
    const std::string pdf = TestDocument("report.pdf");
    const std::string archive = carriers::StoredZip({{"report.docx", docx}});
    const std::string selfExtracting =
        carriers::Carrier(30000, carriers::StoredZip({{"setup.ini", "[a]"}}));
    const std::string inside = carriers::ProgramEmbedding(40000, pdf);
    Put("report.docx", docx);
    Put("report.pdf", pdf);
    Put("archive.zip", archive);
    Put("setup.exe", selfExtracting);
    Put("viewer.exe", inside + carriers::NeutralBytes(100, 5));
    Put("tail.exe", Carrier(20480, docx + "extra"));

    window_.ClickRestore();

    EXPECT_EQ(Information("report.docx"), "Microsoft Office Document");
    EXPECT_EQ(Information("report.pdf"), "Microsoft Office Document");
    for (const char* name :
         {"report.docx", "report.pdf", "archive.zip", "setup.exe", "viewer.exe", "tail.exe"}) {
        EXPECT_EQ(Status(name), "Not Detected") << name;
    }
    EXPECT_EQ(ReadWholeFile(Path("report.docx")), docx);
    EXPECT_EQ(ReadWholeFile(Path("archive.zip")), archive);
    EXPECT_EQ(ReadWholeFile(Path("setup.exe")), selfExtracting);
    for (const char* name : {"report._vrs", "archive._vrs", "setup._vrs", "viewer._vrs",
                             "tail._vrs", "report (2).docx"}) {
        EXPECT_FALSE(FileExists(Path(name))) << name;
    }
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AnOle2DocumentWinsOverANewerOneInTheSameCarrier) {
    const std::string both = TestDocument("letter.doc") + TestDocument("report.pdf");
    Put("both.exe", Carrier(20480, both));

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("both.doc")), both);
    EXPECT_FALSE(FileExists(Path("both.pdf")));
}

TEST_F(RestoreFilesTest, RtfIsRecognisedOnlyAtAListedOffset) {
    const std::string rtf = TestDocument("letter.rtf");
    Put("a.exe", Carrier(20480, TestDocument("letter.doc")));
    Put("b.exe", Carrier(20480, rtf));
    const std::string unlisted = Carrier(12288, rtf);
    Put("c.exe", unlisted);

    window_.ClickRestore();

    // Saved as ".doc" without the type tests, which would have given ".dat".
    EXPECT_EQ(ReadWholeFile(Path("b.doc")), rtf);
    EXPECT_FALSE(FileExists(Path("b.dat")));
    EXPECT_EQ(Status("c.exe"), "Not Detected");
    EXPECT_EQ(ReadWholeFile(Path("c.exe")), unlisted);
    EXPECT_FALSE(FileExists(Path("c.doc")));
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"20480", "-1"}));
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, TypeIsDecidedByTheLast64KiBOfTheDocument) {
    const std::string unknown = Ole2Bytes + carriers::NeutralBytes(30000, 1);
    const std::string earlyWord = Ole2Bytes + "Word" + carriers::NeutralBytes(70000, 2);
    Put("a.exe", Carrier(20480, TestDocument("letter.doc")));   // "Word"
    Put("b.exe", Carrier(20480, TestDocument("budget.xls")));   // "Exce"
    Put("c.exe", Carrier(20480, TestDocument("minutes.doc")));  // "Word" only earlier; W.o. in it
    Put("d.exe", Carrier(20480, unknown));
    Put("e.exe", Carrier(20480, earlyWord));

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("a.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("b.xls")), TestDocument("budget.xls"));
    EXPECT_EQ(ReadWholeFile(Path("c.xls")), TestDocument("minutes.doc"));
    EXPECT_EQ(ReadWholeFile(Path("d.dat")), unknown);
    EXPECT_EQ(ReadWholeFile(Path("e.dat")), earlyWord);
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"20480"}));
    ExpectOneBox(FinishText(5), MB_ICONINFORMATION);
}

// ---- rows that are skipped --------------------------------------------------------------

TEST_F(RestoreFilesTest, EmptyFilesStayAnalyzingAndMissingOnesAreNotAccessible) {
    Put("empty.exe", "");
    window_.AddFile(Folder(), "ghost.exe");

    window_.ClickRestore();

    EXPECT_EQ(Status("empty.exe"), "Analyzing...");
    EXPECT_EQ(Information("empty.exe"), "");
    EXPECT_EQ(Status("ghost.exe"), "Not Accessible");
    EXPECT_EQ(Information("ghost.exe"), SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Information("ghost.exe").empty());
    EXPECT_FALSE(FileExists(Path("empty._vrs")));
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AnEmptyListChangesNothing) {
    StringListAdd(window_.Record().OffsetList, "123");

    window_.ClickRestore();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(InfoLine(), "Information");
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"123"}));
}

TEST_F(RestoreFilesTest, ARunStartsFromAnEmptyOffsetList) {
    // An offset left from an earlier run would make the RTF document at 12288 count as
    // found at a listed offset.
    StringListAdd(window_.Record().OffsetList, "12288");
    const std::string unlisted = Carrier(12288, TestDocument("letter.rtf"));
    Put("c.exe", unlisted);
    MidRunActions actions;
    std::vector<std::string> offsetsDuringRun = {"<not seen>"};
    actions.When([&] { return Status("c.exe") == "Analyzing..."; },
                 [&] { offsetsDuringRun = window_.Offsets(); });

    window_.ClickRestore();

    EXPECT_EQ(offsetsDuringRun, std::vector<std::string>());
    EXPECT_EQ(Status("c.exe"), "Not Detected");
    EXPECT_EQ(ReadWholeFile(Path("c.exe")), unlisted);
    EXPECT_FALSE(FileExists(Path("c.doc")));
    EXPECT_EQ(window_.Offsets(), std::vector<std::string>({"-1"}));
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

// ---- "Stop Restore" ---------------------------------------------------------------------

TEST_F(RestoreFilesTest, StopFinishesTheFileInProgressAndTouchesNoOtherRow) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    Put("b.exe", carrier);
    Put("c.exe", carrier);
    MidRunActions actions;
    bool enabledDuringRun = true;
    bool enabledAtOnce = false;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] {
                     enabledDuringRun = RestoreButtonEnabled();
                     window_.ClickStopRestore();
                     enabledAtOnce = RestoreButtonEnabled();
                 });

    window_.ClickRestore();

    EXPECT_FALSE(enabledDuringRun) << "\"Restore File\" stays enabled while the restore runs";
    EXPECT_TRUE(enabledAtOnce);
    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_EQ(ReadWholeFile(Path("a.doc")), TestDocument("letter.doc"));
    EXPECT_TRUE(FileExists(Path("a._vrs")));
    EXPECT_EQ(Status("b.exe"), "");
    EXPECT_EQ(Status("c.exe"), "");
    EXPECT_EQ(ReadWholeFile(Path("b.exe")), carrier);
    EXPECT_FALSE(FileExists(Path("b.doc")));
    EXPECT_EQ(InfoLine(), "Restore files were stopped");
    EXPECT_TRUE(RestoreButtonEnabled());
    EXPECT_EQ(window_.Record().RestoreStopRequested, 0);
    ExpectOneBox("Restoring files were stopped", MB_OK);
}

TEST_F(RestoreFilesTest, StopDuringTheLastFileEndsWithTheStoppedBox) {
    Put("a.exe", Carrier(20480, TestDocument("letter.doc")));
    MidRunActions actions;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] { window_.ClickStopRestore(); });

    window_.ClickRestore();

    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_EQ(InfoLine(), "Restoring files..");
    ExpectOneBox("Restoring files were stopped", MB_OK);
}

TEST_F(RestoreFilesTest, AStopClickedBetweenRunsIsForgottenByTheNextRun) {
    Put("a.exe", Carrier(20480, TestDocument("letter.doc")));
    window_.ClickStopRestore();

    window_.ClickRestore();

    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

// ---- a failed save never costs the carrier -----------------------------------------------

TEST_F(RestoreFilesTest, TakenOutputNamesAreNeverReplaced) {
    const std::string document = TestDocument("letter.doc");
    const std::string carrier = Carrier(20480, document);
    Put("folder.exe", carrier);
    folder_.MakeFolder("folder.doc");
    Put("held.exe", carrier);
    folder_.WriteFile("held.doc", "open elsewhere");
    Put("other.exe", carrier);
    folder_.WriteFile("other.doc", "an unrelated document");
    folder_.WriteFile("other (2).doc", "another one");
    Put("itself.doc", carrier);  // its output's name is its own
    HANDLE held = CreateFileA(Path("held.doc").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    window_.SetDeleteMode();
    window_.ClickRestore();
    CloseHandle(held);

    EXPECT_TRUE(FolderExists(Path("folder.doc")));
    EXPECT_EQ(ReadWholeFile(Path("held.doc")), "open elsewhere");
    EXPECT_EQ(ReadWholeFile(Path("other.doc")), "an unrelated document");
    EXPECT_EQ(ReadWholeFile(Path("other (2).doc")), "another one");
    const struct {
        const char* Carrier;
        const char* Output;
    } expected[] = {{"folder.exe", "folder (2).doc"},
                    {"held.exe", "held (2).doc"},
                    {"other.exe", "other (3).doc"},
                    {"itself.doc", "itself (2).doc"}};
    for (const auto& row : expected) {
        EXPECT_EQ(ReadWholeFile(Path(row.Output)), document) << row.Output;
        EXPECT_FALSE(FileExists(Path(row.Carrier))) << row.Carrier;
        EXPECT_EQ(Status(row.Carrier), "OK... Fixed") << row.Carrier;
        EXPECT_EQ(Information(row.Carrier),
                  std::string("Virus was deleted, document saved as ") + row.Output);
    }
    ExpectOneBox(FinishText(4), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, TwoCarriersOfOneNameKeepBothDocuments) {
    // Both documents are Word documents: the letter, and the RTF found at the letter's offset.
    const std::string letter = TestDocument("letter.doc");
    const std::string rtf = TestDocument("letter.rtf");
    Put("report.exe", Carrier(20480, letter));
    Put("report.scr", Carrier(20480, rtf));
    window_.SetDeleteMode();

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("report.doc")), letter);
    EXPECT_EQ(ReadWholeFile(Path("report (2).doc")), rtf);
    EXPECT_FALSE(FileExists(Path("report.exe")));
    EXPECT_FALSE(FileExists(Path("report.scr")));
    EXPECT_EQ(Information("report.exe"), "Virus was deleted");
    EXPECT_EQ(Information("report.scr"), "Virus was deleted, document saved as report (2).doc");
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AnIdenticalOutputIsKeptAndCounted) {
    const std::string document = TestDocument("budget.xls");
    const std::string carrier = Carrier(20480, document);
    Put("book.exe", carrier);
    const std::string existing = folder_.WriteFile("book.xls", document);
    FILETIME before = {};
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(GetFileAttributesExA(existing.c_str(), GetFileExInfoStandard, &data));
        before = data.ftLastWriteTime;
    }
    Sleep(20);

    window_.ClickRestore();

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(existing.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(CompareFileTime(&before, &data.ftLastWriteTime), 0)
        << "the identical output was written again";
    EXPECT_EQ(ReadWholeFile(existing), document);
    EXPECT_FALSE(FileExists(Path("book (2).xls")));
    EXPECT_EQ(Status("book.exe"), "OK... Fixed");
    EXPECT_EQ(Information("book.exe"), "Org file renamed to : book._vrs");
    EXPECT_EQ(ReadWholeFile(Path("book._vrs")), carrier);
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

// Names of every file in the folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..") {
            names.push_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(RestoreFilesTest, AFailedSaveBesideAnExistingFileChangesNothing) {
    // The output's name fits the system's path limit, but the next free name and the
    // temporary file do not: the save fails once the existing file has been skipped.
    const std::string root = folder_.Root();
    const size_t outputLength = 259;
    const std::string sub = std::string(outputLength - root.size() - 1 - 6, 'd');
    const std::string subFolder = folder_.MakeFolder(sub);
    ASSERT_TRUE(FolderExists(subFolder));
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    const std::string carrierPath = subFolder + "\\x.exe";
    ASSERT_EQ(carrierPath.size(), outputLength);
    ASSERT_TRUE(
        scratch::WriteSparseFile(carrierPath, static_cast<int64_t>(carrier.size()), carrier));
    ASSERT_TRUE(scratch::WriteSparseFile(subFolder + "\\x.doc", 13, "existing text"));
    window_.AddFile(subFolder + "\\", "x.exe");
    const std::vector<std::string> before = FolderNames(subFolder);

    window_.SetDeleteMode();
    window_.ClickRestore();

    EXPECT_EQ(Status("x.exe"), "Save failed");
    EXPECT_EQ(Information("x.exe").rfind("Save failed, ", 0), 0u) << Information("x.exe");
    EXPECT_EQ(ReadWholeFile(carrierPath), carrier);
    EXPECT_EQ(ReadWholeFile(subFolder + "\\x.doc"), "existing text");
    EXPECT_EQ(FolderNames(subFolder), before) << "a file was left behind";
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AnOutputPathTheSystemRefusesLeavesTheCarrierUntouched) {
    // The carrier's path has 259 characters; its output's, two more, is longer than the
    // system accepts.
    const std::string root = folder_.Root();
    const size_t folderLength = 247;
    ASSERT_LT(root.size() + 2, folderLength);
    const std::string sub = std::string(folderLength - root.size() - 1, 'd');
    const std::string subFolder = folder_.MakeFolder(sub);
    ASSERT_TRUE(FolderExists(subFolder));
    const std::string name = "abcdefghi.e";
    const std::string carrierPath = subFolder + "\\" + name;
    ASSERT_EQ(carrierPath.size(), 259u);
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    ASSERT_TRUE(
        scratch::WriteSparseFile(carrierPath, static_cast<int64_t>(carrier.size()), carrier));
    ASSERT_EQ(ReadWholeFile(carrierPath), carrier);
    window_.AddFile(subFolder + "\\", name);
    const std::vector<std::string> before = FolderNames(subFolder);

    window_.ClickRestore();

    EXPECT_EQ(Status(name), "Save failed");
    EXPECT_EQ(Information(name).rfind("Save failed, ", 0), 0u) << Information(name);
    EXPECT_EQ(Information(name).find("No free name"), std::string::npos) << Information(name);
    EXPECT_EQ(ReadWholeFile(carrierPath), carrier);
    EXPECT_EQ(FolderNames(subFolder), before) << "a file was left behind";
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

void* FailLargeBlocks(void* block, size_t bytes) {
    return bytes >= 100000 ? nullptr : std::realloc(block, bytes);
}

TEST_F(RestoreFilesTest, RunningOutOfMemoryIsAFailedSave) {
    const std::string large = Carrier(20480, TestDocument("minutes.doc"));
    Put("large.exe", large);
    Put("small.exe", Carrier(20480, TestDocument("letter.doc")));
    const StreamAllocator previous = SetStreamAllocator(FailLargeBlocks);

    window_.ClickRestore();
    SetStreamAllocator(previous);

    EXPECT_EQ(Status("large.exe"), "Save failed");
    const std::string reason = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(Information("large.exe"), "Save failed, " + (reason.empty() ? "Error 8" : reason));
    EXPECT_EQ(ReadWholeFile(Path("large.exe")), large);
    EXPECT_FALSE(FileExists(Path("large.xls")));
    EXPECT_EQ(Status("small.exe"), "OK... Fixed");
    EXPECT_EQ(ReadWholeFile(Path("small.doc")), TestDocument("letter.doc"));
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

// ---- files outside the supported sizes ----------------------------------------------------

TEST_F(RestoreFilesTest, FilesOf2GiBOrMoreAreNotRead) {
    const std::string head = Carrier(20480, TestDocument("letter.doc"));
    const int64_t size = int64_t(1) << 31;
    ASSERT_TRUE(scratch::WriteSparseFile(Path("huge.exe"), size, head));
    window_.AddFile(Folder(), "huge.exe");
    Put("small.exe", head);

    window_.ClickRestore();

    EXPECT_EQ(Status("huge.exe"), "Not Supported");
    EXPECT_EQ(Information("huge.exe"), "File is 2 GB or larger");
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(Path("huge.exe").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 0x80000000u);
    EXPECT_FALSE(FileExists(Path("huge.doc")));
    EXPECT_FALSE(FileExists(Path("huge._vrs")));
    EXPECT_EQ(Status("small.exe"), "OK... Fixed");
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

// ---- a full stop in a folder name ---------------------------------------------------------

TEST_F(RestoreFilesTest, OutputAndRenamedCarrierStayInTheCarriersFolder) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    folder_.WriteFile("dir.doc", "a neighbour that must stay");
    folder_.WriteFile("dir.v1\\report", carrier);
    folder_.WriteFile("dir.v1\\letter.exe", carrier);
    window_.AddFile(folder_.Path("dir.v1") + "\\", "report");
    window_.AddFile(folder_.Path("dir.v1") + "\\", "letter.exe");

    window_.ClickRestore();

    EXPECT_EQ(ReadWholeFile(Path("dir.doc")), "a neighbour that must stay");
    EXPECT_FALSE(FileExists(Path("dir._vrs")));
    EXPECT_EQ(ReadWholeFile(Path("dir.v1\\report.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("dir.v1\\report._vrs")), carrier);
    EXPECT_EQ(Information("report"), "Org file renamed to : report._vrs");
    EXPECT_EQ(ReadWholeFile(Path("dir.v1\\letter.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("dir.v1\\letter._vrs")), carrier);
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

// ---- names in every script and exact names ------------------------------------------------

TEST_F(RestoreFilesTest, CarriersNamedInEveryScriptGiveTheirDocumentsUnderTheirOwnNames) {
    const std::string letter = TestDocument("letter.doc");
    const std::string budget = TestDocument("budget.xls");
    const struct {
        std::string Carrier;  // in the folder Документы
        std::string Output;
        std::string Renamed;
        std::string Document;
    } cases[] = {
        {"\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.exe",
         "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.doc",
         "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82._vrs", letter},  // отчёт
        {"\xE6\x8A\xA5\xE5\x91\x8A.exe", "\xE6\x8A\xA5\xE5\x91\x8A.xls",
         "\xE6\x8A\xA5\xE5\x91\x8A._vrs", budget},                              // 报告
        {"\xC3\x84rger.exe", "\xC3\x84rger.doc", "\xC3\x84rger._vrs", letter},  // Ärger
        {"x\xF0\x9F\x98\x80.exe", "x\xF0\x9F\x98\x80.doc", "x\xF0\x9F\x98\x80._vrs", letter},  // x😀
    };
    const std::string folder =
        folder_.MakeFolder(
            "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B") +
        "\\";
    std::vector<std::string> carriers;
    for (const auto& test : cases) {
        carriers.push_back(Carrier(20480, test.Document));
        ASSERT_FALSE(
            folder_
                .WriteFile(folder.substr(folder_.Root().size() + 1) + test.Carrier, carriers.back())
                .empty());
        window_.AddFile(folder, test.Carrier);
    }

    window_.ClickRestore();

    for (size_t i = 0; i < carriers.size(); ++i) {
        const auto& test = cases[i];
        EXPECT_EQ(ReadWholeFile(folder + test.Output), test.Document) << test.Output;
        EXPECT_EQ(ReadWholeFile(folder + test.Renamed), carriers[i]) << test.Renamed;
        EXPECT_FALSE(FileExists(folder + test.Carrier)) << test.Carrier;
        EXPECT_EQ(Status(test.Carrier), "OK... Fixed");
        EXPECT_EQ(Information(test.Carrier), "Org file renamed to : " + test.Renamed);
    }
    ExpectOneBox(FinishText(4), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, ANameEndingInASpaceIsRestoredWithoutTouchingItsPlainTwin) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    const std::string twin = Carrier(8192, TestDocument("budget.xls"));
    Put("report.exe ", carrier);
    folder_.WriteFile("report.exe", twin);
    folder_.WriteFile("sub.\\memo.exe", carrier);
    window_.AddFile(folder_.Path("sub.") + "\\", "memo.exe");
    window_.SetDeleteMode();

    window_.ClickRestore();

    EXPECT_EQ(Status("report.exe "), "OK... Fixed");
    EXPECT_EQ(Information("report.exe "), "Virus was deleted");
    EXPECT_FALSE(FileExists(Path("report.exe ")));
    EXPECT_EQ(ReadWholeFile(Path("report.exe")), twin) << "the plain twin must stay as it was";
    EXPECT_EQ(ReadWholeFile(Path("report.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("sub.\\memo.doc")), TestDocument("letter.doc"));
    EXPECT_FALSE(FileExists(Path("sub.\\memo.exe")));
    EXPECT_FALSE(FileExists(Path("sub\\memo.doc")));
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, AFileBeyondThePathLimitIsNotAccessibleWithTheSystemsReason) {
    // The carrier's path is longer than systems without long path support accept.
    const std::string sub = std::string(250 - folder_.Root().size(), 'd');
    const std::string name = std::string(20, 'c') + ".exe";
    const std::wstring literal = L"\\\\?\\" +
                                 std::wstring(folder_.Root().begin(), folder_.Root().end()) +
                                 L"\\" + std::wstring(sub.begin(), sub.end());
    ASSERT_TRUE(CreateDirectoryW(literal.c_str(), nullptr));
    HANDLE file =
        CreateFileW((literal + L"\\" + std::wstring(name.begin(), name.end())).c_str(),
                    GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "data", 4, &written, nullptr);
    CloseHandle(file);
    const std::string path = folder_.Path(sub) + "\\" + name;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "the platform takes paths past the limit";
    }
    const DWORD refused = GetLastError();
    window_.AddFile(folder_.Path(sub) + "\\", name);

    window_.ClickRestore();

    EXPECT_EQ(Status(name), "Not Accessible");
    EXPECT_EQ(Information(name), SystemErrorText(refused));
    ExpectOneBox(FinishText(0), MB_ICONINFORMATION);
}

// ---- commands that arrive while a run handles messages --------------------------------------

TEST_F(RestoreFilesTest, RestoreClickedAgainDuringARunStartsNoSecondRun) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    Put("b.exe", carrier);
    MidRunActions actions;
    std::string infoAfterNestedClick;
    std::vector<std::string> offsetsAfterNestedClick;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] {
                     RestoreFiles(&window_.Record());
                     infoAfterNestedClick = InfoLine();
                     offsetsAfterNestedClick = window_.Offsets();
                 });

    window_.ClickRestore();

    EXPECT_EQ(infoAfterNestedClick, "Restoring files..");
    EXPECT_EQ(offsetsAfterNestedClick, std::vector<std::string>({"20480"}));
    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_EQ(Status("b.exe"), "OK... Fixed");
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, RestoreClickedAfterStopDuringTheSameRunIsRefused) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    Put("b.exe", carrier);
    MidRunActions actions;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] {
                     window_.ClickStopRestore();
                     window_.ClickRestore();
                 });

    window_.ClickRestore();

    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    EXPECT_EQ(Status("b.exe"), "");
    EXPECT_EQ(ReadWholeFile(Path("b.exe")), carrier);
    ExpectOneBox("Restoring files were stopped", MB_OK);
}

TEST_F(RestoreFilesTest, NoRestoreWhileASearchRunsAndNoSearchWhileARestoreRuns) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    window_.Record().Searching = 1;
    window_.ClickRestore();
    EXPECT_EQ(InfoLine(), "Stop the searching first");
    EXPECT_EQ(Status("a.exe"), "");
    EXPECT_EQ(ReadWholeFile(Path("a.exe")), carrier);
    EXPECT_TRUE(Boxes().empty());

    window_.Record().Searching = 0;
    MidRunActions actions;
    int rowsAfterFind = -1;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] {
                     StartSearch(&window_.Record());
                     rowsAfterFind = window_.List().RowCount();
                 });
    window_.ClickRestore();
    EXPECT_EQ(rowsAfterFind, 1);
    EXPECT_EQ(window_.Record().Searching, 0);
    EXPECT_EQ(Status("a.exe"), "OK... Fixed");
    ExpectOneBox(FinishText(1), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, StatusesFollowTheirFileWhenRowsAreRemovedDuringARun) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    Put("b.exe", carrier);
    Put("c.exe", carrier);
    MidRunActions actions;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] { window_.List().DeleteRow(0); });

    window_.ClickRestore();

    // a.exe's row is gone: its outcome is written nowhere, not into b.exe's row.
    EXPECT_TRUE(FileExists(Path("a.doc")));
    EXPECT_EQ(Status("b.exe"), "");
    EXPECT_EQ(ReadWholeFile(Path("b.exe")), carrier);
    EXPECT_EQ(Status("c.exe"), "OK... Fixed");
    ExpectOneBox(FinishText(2), MB_ICONINFORMATION);
}

TEST_F(RestoreFilesTest, ClosingTheWindowFinishesTheFileInProgressOnly) {
    const std::string carrier = Carrier(20480, TestDocument("letter.doc"));
    Put("a.exe", carrier);
    Put("b.exe", carrier);
    MidRunActions actions;
    actions.When([&] { return Status("a.exe") == "Infected..."; },
                 [&] { SendMessageA(window_.FormHandle(), WM_CLOSE, 0, 0); });

    window_.ClickRestore();

    EXPECT_FALSE(IsWindow(window_.FormHandle()));
    EXPECT_FALSE(window_.FormAlive());
    EXPECT_EQ(ReadWholeFile(Path("a.doc")), TestDocument("letter.doc"));
    EXPECT_EQ(ReadWholeFile(Path("a._vrs")), carrier);
    EXPECT_FALSE(FileExists(Path("a.exe")));
    EXPECT_EQ(ReadWholeFile(Path("b.exe")), carrier);
    EXPECT_FALSE(FileExists(Path("b.doc")));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(window_.Record().RunActive);
}

}  // namespace
