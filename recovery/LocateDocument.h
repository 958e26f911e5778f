#pragma once
// Finds where an embedded document begins inside a carrier file, remembering every
// offset found during one restore run in the window's offset list.
#include <cstdint>
#include <string>
#include "recovery/RestoreWindow.h"

extern const unsigned char Ole2Signature[5];  // D0 CF 11 E0 A1
extern const unsigned char RtfSignature[5];   // "{\rtf"

// Offset of the first OLE2 signature in the file at or after startOffset, or -1; appends
// it to the offset list when new.
int32_t LocateDocument(RestoreWindow* window, const std::string& filePath, int32_t startOffset = 0);

// True when the offset list holds the decimal text of offset.
bool IsOffsetListed(RestoreWindow* window, int32_t offset);
