#pragma once

#include <cstdint>
#include <string>

// Bytes read from the file per step; one more byte of buffer holds a closing NUL.
constexpr int32_t FindFastChunkSize = 32768;

// Offset of the first occurrence of pattern in the file, or -1.
// The pattern ends at its first NUL byte (a NUL never takes part in a match) and
// must be shorter than FindFastChunkSize. Without caseSensitive, the pattern and
// the data are both mapped with the ANSI upper-case mapping (CharUpperA) before
// comparing. Returns -1 for an empty pattern or file name, a file that cannot be
// opened or read, an empty file, a file of 2 GiB or more, and when nothing matches.
// The file is opened by its exact name (search/ExactPath.h), read-only and shared for
// reading and writing. The scan starts at startOffset (the result is still counted from
// the start of the file); -1 when startOffset is negative or not below the file's size.
int32_t FindPatternInFile(const std::string& fileName, const std::string& pattern,
                          bool caseSensitive, int32_t startOffset = 0);
