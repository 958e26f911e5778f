#include "recovery/ExtractDocument.h"

#include <windows.h>

#include <new>
#include <utility>

#include "control/SystemErrorText.h"
#include "recovery/ByteStream.h"
#include "recovery/RestoreFiles.h"
#include "search/ExactPath.h"
#include "search/FileNameExtension.h"
#include "search/TextHelpers.h"

namespace {

// Blocks up to this size are kept between documents.
constexpr uint32_t RetainedBlockSize = 4u << 20;

const unsigned char Utf16Wo[4] = {0x57, 0x00, 0x6F, 0x00};

std::string UpperCaseText(std::string text) {
  if (!text.empty()) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  }
  return text;
}

// True when both paths name the same file as far as their texts tell (case ignored).
bool SamePathText(const std::string& a, const std::string& b) {
  return UpperCaseText(a) == UpperCaseText(b);
}

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
  if (!document.Operations.SetSize(document, count) || StreamSeek(document, 0, FromBeginning) != 0) {
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

// True when the file at path is a file of exactly size bytes.
bool HasSize(const std::string& path, int32_t size, ExtractionResult& result) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(ExactPath(path).c_str(), GetFileExInfoStandard, &data)) {
    Fail(result, GetLastError(), "The saved file cannot be found.");
    return false;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || data.nFileSizeHigh != 0 ||
      data.nFileSizeLow != static_cast<DWORD>(size)) {
    Fail(result, 0, "The saved file is incomplete.");
    return false;
  }
  return true;
}

// Saves the document beside the carrier under its name with the extension (decided from
// the document when empty) and checks that the file holds every byte.
void SaveDocument(ByteStream& document, std::string extension, const std::string& carrierPath,
                  ExtractionResult& result) {
  if (extension.empty()) {
    extension = DocumentExtension(document);
  }
  result.OutputPath = ReplaceFileNameExtension(carrierPath, extension);
  if (SamePathText(result.OutputPath, carrierPath)) {
    Fail(result, 0, "The new file would replace the infected file itself.");
    return;
  }
  const int32_t size = StreamSize(document);
  SetLastError(NO_ERROR);
  if (!SaveStreamToFile(document, result.OutputPath, 0, size)) {
    Fail(result, LastErrorOr(ERROR_WRITE_FAULT), "");
    return;
  }
  if (HasSize(result.OutputPath, size, result)) {
    result.Saved = true;
  }
}

}  // namespace

std::string DocumentExtension(ByteStream& document) {
  if (ContainsTypeWord(&document, "Word")) {
    return ".doc";
  }
  if (ContainsTypeWord(&document, "Exce") ||
      ContainsTypeWord(&document, reinterpret_cast<const char*>(Utf16Wo))) {
    return ".xls";
  }
  return ".dat";
}

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
    reason = result.ErrorCode != 0 ? "Error " + IntegerText(static_cast<int32_t>(result.ErrorCode))
                                   : "Unknown reason.";
  }
  return "Save failed, " + reason;
}
