#include "recovery/DocumentType.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "recovery/ByteStream.h"

namespace {

const unsigned char Utf16Wo[4] = {0x57, 0x00, 0x6F, 0x00};
// The stream name of a PowerPoint document, in UTF-16LE.
const char PowerPointText[] = "PowerPoint Document";
constexpr int32_t TypeWindowSize = 65536;

// True when the last 65,536 bytes of the memory stream document (all of it when it is not
// longer) hold text in UTF-16LE.
bool ContainsUtf16Text(ByteStream& document, const char* text) {
    std::string wide;
    for (const char* c = text; *c != '\0'; ++c) {
        wide += *c;
        wide += '\0';
    }
    const int32_t size = StreamSize(document);
    if (!document.Memory || size <= 0) {
        return false;
    }
    const char* begin = reinterpret_cast<const char*>(document.Memory.get());
    const char* from = size > TypeWindowSize ? begin + size - TypeWindowSize : begin;
    const char* end = begin + size;
    return std::search(from, end, wide.begin(), wide.end()) != end;
}

}  // namespace

bool ContainsTypeWord(ByteStream* stream, const char* word) {
    if (stream == nullptr || word == nullptr) {
        return false;
    }
    // A four-byte window that starts as zeros and takes one byte at a time, compared
    // with the word after every byte; bytes are read in blocks.
    unsigned char sought[4];
    std::memcpy(sought, word, sizeof sought);
    unsigned char window[4] = {0, 0, 0, 0};
    const int32_t size = StreamSize(*stream);
    if (size > TypeWindowSize) {
        StreamSeek(*stream, -TypeWindowSize, FromEnd);
    } else {
        StreamSeek(*stream, 0, FromBeginning);
    }
    unsigned char block[4096];
    int32_t position = StreamPosition(*stream);
    while (position >= 0 && position < size) {
        const int32_t read = StreamRead(*stream, block, sizeof block);
        if (read <= 0) {
            return false;
        }
        for (int32_t index = 0; index < read; ++index) {
            window[0] = window[1];
            window[1] = window[2];
            window[2] = window[3];
            window[3] = block[index];
            if (std::memcmp(window, sought, sizeof window) == 0) {
                // Leaves the stream just after the matching byte, as a byte-wise search would.
                StreamSeek(*stream, position + index + 1, FromBeginning);
                return true;
            }
        }
        position += read;
    }
    return false;
}

std::string DocumentExtension(ByteStream& document) {
    if (ContainsTypeWord(&document, "Word")) {
        return ".doc";
    }
    if (ContainsTypeWord(&document, "Exce") ||
        ContainsTypeWord(&document, reinterpret_cast<const char*>(Utf16Wo))) {
        return ".xls";
    }
    if (ContainsUtf16Text(document, PowerPointText)) {
        return ".ppt";
    }
    return ".dat";
}
