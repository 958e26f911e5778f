#include "recovery/ModernDocument.h"

#include <cstring>
#include <vector>

#include "recovery/ByteStream.h"

namespace {

const char PackageSignature[4] = {'P', 'K', 3, 4};
const char DirectoryEntrySignature[4] = {'P', 'K', 1, 2};
const char DirectoryEndSignature[4] = {'P', 'K', 5, 6};
const char PdfStart[] = "%PDF-";
const char PdfEnd[] = "%%EOF";

constexpr int32_t DirectoryEndSize = 22;       // the record without its comment
constexpr int32_t DirectoryEndWindow = 65557;  // the record with the longest comment
constexpr int32_t PdfEndWindow = 1024;
constexpr int32_t DirectoryEntrySize = 46;  // an entry without its name
constexpr int32_t ScanBlockSize = 1 << 16;

uint16_t Read16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t Read32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Reads exactly count bytes at offset into buffer; false when the file holds fewer.
bool ReadAt(ByteStream& file, int64_t offset, void* buffer, int32_t count) {
    if (offset < 0 || count < 0 || offset > INT32_MAX - static_cast<int64_t>(count)) {
        return false;
    }
    const int32_t at = static_cast<int32_t>(offset);
    return StreamSeek(file, at, FromBeginning) == at && StreamRead(file, buffer, count) == count;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// The extension of the Office package whose central directory is entries (count entries),
// or empty.
std::string PackageExtension(const std::vector<unsigned char>& directory) {
    bool contentTypes = false;
    std::string extension;
    size_t at = 0;
    while (at + DirectoryEntrySize <= directory.size() &&
           std::memcmp(&directory[at], DirectoryEntrySignature, sizeof DirectoryEntrySignature) ==
               0) {
        const size_t nameLength = Read16(&directory[at + 28]);
        const size_t extraLength = Read16(&directory[at + 30]);
        const size_t commentLength = Read16(&directory[at + 32]);
        if (at + DirectoryEntrySize + nameLength > directory.size()) {
            break;
        }
        const std::string name(reinterpret_cast<const char*>(&directory[at + DirectoryEntrySize]),
                               nameLength);
        if (name == "[Content_Types].xml") {
            contentTypes = true;
        } else if (extension.empty()) {
            extension = StartsWith(name, "word/")  ? ".docx"
                        : StartsWith(name, "xl/")  ? ".xlsx"
                        : StartsWith(name, "ppt/") ? ".pptx"
                                                   : "";
        }
        at += DirectoryEntrySize + nameLength + extraLength + commentLength;
    }
    return contentTypes ? extension : std::string();
}

std::string PackageAt(ByteStream& file, int64_t offset, const DocumentEnd& end) {
    const int64_t directoryAt = offset + end.DirectoryOffset;
    if (!end.Package || directoryAt + end.DirectorySize > end.DirectoryRecordAt) {
        return std::string();
    }
    unsigned char signature[4];
    if (!ReadAt(file, offset, signature, sizeof signature) ||
        std::memcmp(signature, PackageSignature, sizeof signature) != 0 ||
        !ReadAt(file, directoryAt, signature, sizeof signature) ||
        std::memcmp(signature, DirectoryEntrySignature, sizeof signature) != 0) {
        return std::string();
    }
    std::vector<unsigned char> directory(end.DirectorySize);
    if (!ReadAt(file, directoryAt, directory.data(), static_cast<int32_t>(directory.size()))) {
        return std::string();
    }
    return PackageExtension(directory);
}

std::string PdfAt(ByteStream& file, int64_t offset, const DocumentEnd& end) {
    char head[7];
    if (!end.Pdf || !ReadAt(file, offset, head, sizeof head)) {
        return std::string();
    }
    return std::memcmp(head, "%PDF-1.", 7) == 0 || std::memcmp(head, "%PDF-2.", 7) == 0
               ? ".pdf"
               : std::string();
}

}  // namespace

DocumentEnd ReadDocumentEnd(ByteStream& file, int32_t from) {
    DocumentEnd end;
    end.FileSize = StreamSize64(file);
    if (end.FileSize <= 0 || end.FileSize > INT32_MAX) {
        return end;
    }
    const int32_t size = static_cast<int32_t>(end.FileSize);
    if (from < 0 || from >= size) {
        return end;
    }
    const int32_t tailSize = size - from < DirectoryEndWindow ? size - from : DirectoryEndWindow;
    std::vector<unsigned char> tail(static_cast<size_t>(tailSize));
    if (!ReadAt(file, size - tailSize, tail.data(), tailSize)) {
        return end;
    }
    const int32_t pdfFrom = tailSize > PdfEndWindow ? tailSize - PdfEndWindow : 0;
    const int32_t pdfEndLength = static_cast<int32_t>(std::strlen(PdfEnd));
    for (int32_t at = pdfFrom; at + pdfEndLength <= tailSize && !end.Pdf; ++at) {
        end.Pdf = std::memcmp(&tail[at], PdfEnd, pdfEndLength) == 0;
    }
    // The record nearest the end whose comment ends exactly with the file.
    for (int32_t at = tailSize - DirectoryEndSize; at >= 0; --at) {
        if (std::memcmp(&tail[at], DirectoryEndSignature, sizeof DirectoryEndSignature) == 0 &&
            at + DirectoryEndSize + Read16(&tail[at + 20]) == tailSize) {
            end.Package = true;
            end.DirectoryRecordAt = size - tailSize + at;
            end.DirectorySize = Read32(&tail[at + 12]);
            end.DirectoryOffset = Read32(&tail[at + 16]);
            break;
        }
    }
    return end;
}

std::string ModernDocumentAt(ByteStream& file, int64_t offset, const DocumentEnd& end) {
    if (offset < 0 || offset >= end.FileSize) {
        return std::string();
    }
    const std::string package = PackageAt(file, offset, end);
    return !package.empty() ? package : PdfAt(file, offset, end);
}

int32_t FindModernDocument(ByteStream& file, int32_t start, const DocumentEnd& end,
                           std::string& extension) {
    if (!end.Package && !end.Pdf) {
        return -1;
    }
    const int32_t size = static_cast<int32_t>(end.FileSize);
    // Blocks overlap by the length of the longer signature less one, so that a signature
    // across a boundary is seen whole in the later block.
    const int32_t overlap = static_cast<int32_t>(sizeof PdfStart) - 2;
    std::vector<unsigned char> block(static_cast<size_t>(ScanBlockSize));
    for (int32_t blockStart = start; blockStart >= 0 && blockStart < size;) {
        const int32_t length =
            size - blockStart < ScanBlockSize ? size - blockStart : ScanBlockSize;
        if (!ReadAt(file, blockStart, block.data(), length)) {
            return -1;
        }
        const int32_t last = blockStart + length >= size ? length : length - overlap;
        for (int32_t at = 0; at < last; ++at) {
            const bool candidate =
                (end.Package && block[at] == 'P') || (end.Pdf && block[at] == '%');
            if (!candidate) {
                continue;
            }
            const int32_t remaining = length - at;
            const bool package =
                end.Package && remaining >= 4 && std::memcmp(&block[at], PackageSignature, 4) == 0;
            const bool pdf = end.Pdf && remaining >= 5 && std::memcmp(&block[at], PdfStart, 5) == 0;
            if (package || pdf) {
                extension = ModernDocumentAt(file, blockStart + at, end);
                if (!extension.empty()) {
                    return blockStart + at;
                }
            }
        }
        blockStart += last;
    }
    extension.clear();
    return -1;
}
