#pragma once
// Copies the document embedded in a carrier into a new file beside it, and tells exactly
// whether that file holds the whole document: the carrier may only be disposed of when
// it does.
#include <cstdint>
#include <string>

struct ByteStream;

// The largest carrier that is read: offsets and sizes are signed 32-bit, so files of
// 2 GiB or more are left alone.
constexpr int64_t LargestSupportedFileSize = 0x7FFFFFFF;

struct ExtractionResult {
    bool Saved = false;         // the output file exists and holds every byte of the document
    bool Written = false;       // false when an identical file was there already
    std::string PreferredPath;  // the carrier's path with the document's extension
    std::string OutputPath;     // where the document is, or the last name tried
    uint32_t ErrorCode = 0;     // the platform's error when the save failed, 0 when none applies
    std::string Reason;         // a plain reason when the failure has no platform error
};

// Copies the bytes of carrier from offset to its end into the memory stream document,
// decides the extension when extension is empty, and places the copy beside the carrier
// as carrierPath with the extension of its file name replaced (the folder part is never
// changed), or under the next free numbered name when that name holds other bytes (see
// PlaceDocument: no existing file is ever replaced). Running out of memory, a short read,
// a failed create, write or flush and an output file of the wrong size all give
// Saved = false and leave no file behind. document may serve for one document after
// another: its block is kept between them unless it is large.
ExtractionResult ExtractDocument(ByteStream& carrier, int32_t offset, std::string extension,
                                 const std::string& carrierPath, ByteStream& document);

// "Save failed, " followed by the system's text for the error, or the plain reason.
std::string SaveFailureText(const ExtractionResult& result);
