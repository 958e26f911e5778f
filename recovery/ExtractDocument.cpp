#include "recovery/ExtractDocument.h"

#include <windows.h>

#include <new>
#include <utility>

#include "control/SystemErrorText.h"
#include "recovery/ByteStream.h"
#include "recovery/DocumentType.h"
#include "recovery/PlaceDocument.h"
#include "search/ExactPath.h"
#include "search/FileNameExtension.h"
#include "search/TextHelpers.h"

namespace {

// Blocks up to this size are kept between documents.
constexpr uint32_t RetainedBlockSize = 4u << 20;

uint32_t LastErrorOr(uint32_t fallback) {
    const DWORD error = GetLastError();
    return error != NO_ERROR ? static_cast<uint32_t>(error) : fallback;
}

// Fills result with the failure: the platform's error when there is one, else reason.
void Fail(ExtractionResult& result, uint32_t errorCode, const char* reason) {
    result.Saved = false;
    result.ErrorCode = errorCode;
    result.Reason = reason;
}

// Copies the document into the memory stream document, sized for it up front so that the
// file is read straight into its block (one copy of the document in memory). False, with
// result filled, when that fails.
bool ReadDocument(ByteStream& carrier, int32_t offset, int32_t count, ByteStream& document,
                  ExtractionResult& result) {
    SetLastError(NO_ERROR);
    if (!document.Operations.SetSize(document, count) ||
        StreamSeek(document, 0, FromBeginning) != 0) {
        Fail(result, LastErrorOr(ERROR_NOT_ENOUGH_MEMORY), "");
        return false;
    }
    SetLastError(NO_ERROR);
    if (StreamSeek(carrier, offset, FromBeginning) != offset) {
        Fail(result, LastErrorOr(ERROR_SEEK), "");
        return false;
    }
    SetLastError(NO_ERROR);
    const int32_t copied = CopyStreamBytes(document, carrier, count);
    if (copied != count) {
        Fail(result, GetLastError(), "The file could not be read to its end.");
        return false;
    }
    return true;
}

// Places the document beside the carrier under its name with the extension (decided from
// the document when empty), never replacing an existing file.
void SaveDocument(ByteStream& document, std::string extension, const std::string& carrierPath,
                  ExtractionResult& result) {
    if (extension.empty()) {
        extension = DocumentExtension(document);
    }
    result.PreferredPath = ReplaceFileNameExtension(carrierPath, extension);
    const PlacementResult placed = PlaceDocument(document, result.PreferredPath);
    result.OutputPath = placed.Path;
    result.Written = placed.Written;
    if (placed.Placed) {
        result.Saved = true;
    } else {
        Fail(result, placed.ErrorCode, placed.Reason.c_str());
    }
}

}  // namespace

ExtractionResult ExtractDocument(ByteStream& carrier, int32_t offset, std::string extension,
                                 const std::string& carrierPath, ByteStream& document) {
    ExtractionResult result;
    try {
        const int32_t count = StreamSize(carrier) - offset;
        if (offset < 0 || count <= 0) {
            Fail(result, 0, "The document is empty.");
        } else if (ReadDocument(carrier, offset, count, document, result)) {
            SaveDocument(document, std::move(extension), carrierPath, result);
        }
    } catch (const std::bad_alloc&) {
        Fail(result, ERROR_NOT_ENOUGH_MEMORY, "");
    }
    // A small block is kept for the next document; a large one is not held any longer.
    if (document.Capacity > RetainedBlockSize) {
        document.Operations.SetSize(document, 0);
    }
    return result;
}

std::string SaveFailureText(const ExtractionResult& result) {
    std::string reason = result.ErrorCode != 0 ? SystemErrorText(result.ErrorCode) : "";
    if (reason.empty()) {
        reason = result.Reason;
    }
    if (reason.empty()) {
        reason = result.ErrorCode != 0
                     ? "Error " + IntegerText(static_cast<int32_t>(result.ErrorCode))
                     : "Unknown reason.";
    }
    return "Save failed, " + reason;
}
