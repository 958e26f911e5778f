// Office packages and PDF documents found after a program image: what counts as one, and
// the archives and stray signatures that never do.
#include <gtest/gtest.h>

#include <string>

#include "recovery/ByteStream.h"
#include "recovery/ModernDocument.h"
#include "support/CarrierFiles.h"
#include "support/ScratchFolder.h"
#include "support/ZipArchive.h"

namespace {

using carriers::Carrier;
using carriers::TestDocument;

class ModernDocumentTest : public ::testing::Test {
protected:
    // The document FindModernDocument finds in bytes from start: "<offset> <extension>".
    std::string Found(const std::string& bytes, int32_t start = 0) {
        ByteStreamPtr file = OpenFileStreamForRead(folder_.WriteFile("file.bin", bytes));
        const DocumentEnd end = ReadDocumentEnd(*file, start);
        std::string extension = "unchanged";
        const int32_t offset = FindModernDocument(*file, start, end, extension);
        return offset < 0 ? "none" : std::to_string(offset) + " " + extension;
    }

    scratch::ScratchFolder folder_{"qf-modern"};
};

TEST_F(ModernDocumentTest, OfficePackagesAndPdfAfterAProgramAreFoundWithTheirExtension) {
    const struct {
        const char* Document;
        const char* Extension;
    } cases[] = {{"report.docx", ".docx"},
                 {"sales.xlsx", ".xlsx"},
                 {"slides.pptx", ".pptx"},
                 {"report.pdf", ".pdf"}};
    for (const auto& one : cases) {
        EXPECT_EQ(Found(Carrier(20480, TestDocument(one.Document))),
                  std::string("20480 ") + one.Extension)
            << one.Document;
        EXPECT_EQ(Found(TestDocument(one.Document)), std::string("0 ") + one.Extension)
            << one.Document;
    }
    // A package written by another archiver, with a comment that ends the file.
    const std::string package = carriers::StoredZip({{"[Content_Types].xml", "<Types/>"},
                                                     {"_rels/.rels", "<Relationships/>"},
                                                     {"xl/workbook.xml", "<x/>"}},
                                                    "made by a test");
    EXPECT_EQ(Found(Carrier(8192, package)), "8192 .xlsx");
}

TEST_F(ModernDocumentTest, ArchivesThatAreNoOfficeDocumentAreNeverTaken) {
    const std::string docx = TestDocument("report.docx");
    // A plain archive that holds documents, a program's own archive (no content types), an
    // archive that names content types but no document folder.
    const std::string plain = carriers::StoredZip({{"report.docx", docx}, {"readme.txt", "hello"}});
    const std::string installer =
        carriers::StoredZip({{"setup.ini", "[setup]"}, {"word/template.dot", "x"}});
    const std::string book = carriers::StoredZip({{"mimetype", "application/epub+zip"},
                                                  {"[Content_Types].xml", "<Types/>"},
                                                  {"OEBPS/a.xhtml", "<a/>"}});
    for (const std::string& archive : {plain, installer, book}) {
        EXPECT_EQ(Found(Carrier(20480, archive)), "none");
    }
    // A package followed by bytes after its end record, and a PDF whose end is far off.
    EXPECT_EQ(Found(Carrier(20480, docx + "trailing bytes")), "none");
    EXPECT_EQ(Found(Carrier(20480, TestDocument("report.pdf") + std::string(2000, ' '))), "none");
    // A PDF header without a PDF version, and a stray package header before the real one.
    EXPECT_EQ(Found(Carrier(20480, "%PDF-X" + TestDocument("report.pdf").substr(6))), "none");
    const std::string stray = std::string("PK\x03\x04", 4) + std::string(100, 'x');
    EXPECT_EQ(Found(Carrier(20480, stray + docx)), std::to_string(20480 + stray.size()) + " .docx");
}

TEST_F(ModernDocumentTest, ASignatureAcrossTheScansBlocksIsFound) {
    const std::string pdf = TestDocument("report.pdf");
    for (size_t body : {65536 - 2, 65536 - 4, 65536 - 5, 65536 + 1}) {
        const std::string bytes = carriers::NeutralBytes(body, 3) + pdf;
        EXPECT_EQ(Found(bytes), std::to_string(body) + " .pdf") << body;
        EXPECT_EQ(Found(bytes, static_cast<int32_t>(body) + 1), "none") << body;
    }
}

}  // namespace
