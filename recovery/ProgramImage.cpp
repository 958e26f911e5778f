#include "recovery/ProgramImage.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "recovery/ByteStream.h"

namespace {

// A platform limit: the loader refuses images with more sections.
constexpr WORD MaxSections = 96;

// Reads exactly count bytes at offset; false when the file holds fewer.
bool ReadAt(ByteStream& file, int64_t offset, void* buffer, int32_t count) {
  if (offset < 0 || offset > INT32_MAX - count) {
    return false;
  }
  const int32_t at = static_cast<int32_t>(offset);
  return StreamSeek(file, at, FromBeginning) == at && StreamRead(file, buffer, count) == count;
}

}  // namespace

int64_t ProgramImageEnd(ByteStream& file) {
  IMAGE_DOS_HEADER dos;
  if (!ReadAt(file, 0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0) {
    return 0;
  }
  const int64_t ntOffset = dos.e_lfanew;
  DWORD signature = 0;
  IMAGE_FILE_HEADER header;
  if (!ReadAt(file, ntOffset, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
      !ReadAt(file, ntOffset + sizeof signature, &header, sizeof header) || header.NumberOfSections == 0 ||
      header.NumberOfSections > MaxSections) {
    return 0;
  }
  const int64_t optionalOffset = ntOffset + sizeof signature + sizeof header;
  // SizeOfHeaders sits at the same place in the 32-bit and the 64-bit optional header.
  int64_t end = 0;
  if (header.SizeOfOptionalHeader >= offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders) + sizeof(DWORD)) {
    DWORD sizeOfHeaders = 0;
    if (ReadAt(file, optionalOffset + offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfHeaders), &sizeOfHeaders,
               sizeof sizeOfHeaders)) {
      end = sizeOfHeaders;
    }
  }
  const int64_t tableOffset = optionalOffset + header.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
  if (!ReadAt(file, tableOffset, sections.data(),
              static_cast<int32_t>(sections.size() * sizeof(IMAGE_SECTION_HEADER)))) {
    return 0;
  }
  const int64_t tableEnd = tableOffset + static_cast<int64_t>(sections.size() * sizeof(IMAGE_SECTION_HEADER));
  if (end < tableEnd) {
    end = tableEnd;
  }
  for (const IMAGE_SECTION_HEADER& section : sections) {
    if (section.SizeOfRawData == 0) {
      continue;
    }
    const int64_t sectionEnd = static_cast<int64_t>(section.PointerToRawData) + section.SizeOfRawData;
    if (sectionEnd > end) {
      end = sectionEnd;
    }
  }
  return end;
}
