#pragma once
// Documents of the newer formats hidden in a carrier: Office Open XML packages (a ZIP
// package of a Word, Excel or PowerPoint document) and PDF documents. Each must run to
// the end of the file, so any other archive or stray signature is never taken for one.
#include <cstdint>
#include <string>

struct ByteStream;

// What the end of a file allows: an Office package needs a ZIP end-of-central-directory
// record whose comment runs exactly to the end of the file, within its last 65,557
// bytes; a PDF document needs "%%EOF" within the last 1,024 bytes.
struct DocumentEnd {
    int64_t FileSize = 0;
    bool Package = false;           // a fitting end-of-central-directory record was found
    int64_t DirectoryRecordAt = 0;  // where that record starts
    uint32_t DirectorySize = 0;     // the size of the central directory it names
    uint32_t DirectoryOffset = 0;   // the directory's offset counted from the package's start
    bool Pdf = false;               // "%%EOF" lies within the last 1,024 bytes
};

// Reads the end of the file once: at most its last 65,557 bytes, and nothing before from
// (where the documents sought may begin at the earliest).
DocumentEnd ReadDocumentEnd(ByteStream& file, int32_t from);

// The extension of a newer-format document that starts at offset and runs to the end of
// the file: ".docx", ".xlsx" or ".pptx" for an Office package whose central directory
// lists "[Content_Types].xml" and names under "word/", "xl/" or "ppt/"; ".pdf" for
// "%PDF-1." or "%PDF-2." when the file ends as a PDF does. Empty for anything else.
std::string ModernDocumentAt(ByteStream& file, int64_t offset, const DocumentEnd& end);

// The first offset at or after start where a document that ModernDocumentAt accepts
// begins, trying the candidates in file order and reading the file at most once from
// start; -1 when there is none. extension receives the document's extension.
int32_t FindModernDocument(ByteStream& file, int32_t start, const DocumentEnd& end,
                           std::string& extension);
