#pragma once
// Puts an extracted document on disk beside its carrier without ever replacing,
// truncating or opening an existing file for writing.
#include <cstdint>
#include <string>

struct ByteStream;

struct PlacementResult {
    bool Placed = false;     // the file at Path holds exactly the document's bytes
    bool Written = false;    // false when an identical file was already there
    std::string Path;        // where the document is, or the last name tried
    uint32_t ErrorCode = 0;  // the platform's error when placing failed, 0 when none applies
    std::string Reason;      // a plain reason when the failure has no platform error
};

// Tries preferredPath, then "<name> (2)<ext>", "<name> (3)<ext>", ... in the same folder.
// A free name receives the document: it is written to a new temporary file in that
// folder, flushed to the disk, its size checked, and moved to the name without
// replacing (when the name was taken meanwhile, the next one is tried). A file that
// already holds exactly the document's bytes is taken as it is, nothing written. Files of
// other bytes and folders are skipped. On failure no file is left behind and none is
// changed. document is a memory stream holding the whole document.
PlacementResult PlaceDocument(ByteStream& document, const std::string& preferredPath);
