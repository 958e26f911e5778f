#include "recovery/ProgramImage.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "recovery/ByteStream.h"

namespace {

// A platform limit: the loader refuses images with more sections.
constexpr WORD MaxSections = 96;

// The file's bytes, taken from its first bytes already read where they suffice and from
// the file otherwise.
struct FileBytes {
    ByteStream& File;
    const unsigned char* Head;
    int32_t HeadSize;

    // Reads exactly count bytes at offset; false when the file holds fewer.
    bool ReadAt(int64_t offset, void* buffer, int32_t count) const {
        if (offset < 0 || offset > INT32_MAX - count) {
            return false;
        }
        if (offset + count <= HeadSize) {
            std::memcpy(buffer, Head + offset, static_cast<size_t>(count));
            return true;
        }
        const int32_t at = static_cast<int32_t>(offset);
        return StreamSeek(File, at, FromBeginning) == at &&
               StreamRead(File, buffer, count) == count;
    }
};

}  // namespace

int64_t ProgramImageEnd(ByteStream& file) {
    return ProgramImageEnd(file, nullptr, 0);
}

int64_t ProgramImageEnd(ByteStream& stream, const unsigned char* head, int32_t headSize) {
    const FileBytes file{stream, head, head != nullptr ? headSize : 0};
    IMAGE_DOS_HEADER dos;
    if (!file.ReadAt(0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        dos.e_lfanew < 0) {
        return 0;
    }
    const int64_t ntOffset = dos.e_lfanew;
    DWORD signature = 0;
    IMAGE_FILE_HEADER header;
    if (!file.ReadAt(ntOffset, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
        !file.ReadAt(ntOffset + sizeof signature, &header, sizeof header) ||
        header.NumberOfSections == 0 || header.NumberOfSections > MaxSections) {
        return 0;
    }
    const int64_t optionalOffset = ntOffset + sizeof signature + sizeof header;
    // SizeOfHeaders sits at the same place in the 32-bit and the 64-bit optional header.
    int64_t end = 0;
    if (header.SizeOfOptionalHeader >=
        offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders) + sizeof(DWORD)) {
        DWORD sizeOfHeaders = 0;
        if (file.ReadAt(optionalOffset + offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders),
                        &sizeOfHeaders, sizeof sizeOfHeaders)) {
            end = sizeOfHeaders;
        }
    }
    const int64_t tableOffset = optionalOffset + header.SizeOfOptionalHeader;
    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    if (!file.ReadAt(tableOffset, sections.data(),
                     static_cast<int32_t>(sections.size() * sizeof(IMAGE_SECTION_HEADER)))) {
        return 0;
    }
    const int64_t tableEnd =
        tableOffset + static_cast<int64_t>(sections.size() * sizeof(IMAGE_SECTION_HEADER));
    if (end < tableEnd) {
        end = tableEnd;
    }
    for (const IMAGE_SECTION_HEADER& section : sections) {
        if (section.SizeOfRawData == 0) {
            continue;
        }
        const int64_t sectionEnd =
            static_cast<int64_t>(section.PointerToRawData) + section.SizeOfRawData;
        if (sectionEnd > end) {
            end = sectionEnd;
        }
    }
    return end;
}
