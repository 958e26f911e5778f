#pragma once

#include <cstdint>
#include <string>

// Number, text and path helpers shared by the whole program. Texts are 8-bit
// strings in the ANSI code page (UTF-8 where the platform honours the program's
// manifest); every function returns a new value and leaves
// its arguments unchanged.

// Decimal digits, a leading minus sign for negative values, no separators.
std::string IntegerText(int32_t value);

// As IntegerText, with a comma between groups of three digits from the right
// (never taken from the locale, never directly after the minus sign).
std::string GroupedIntegerText(int32_t value);

// Optional "+" or "-" followed by decimal digits, read up to the first other
// character; 0 for an empty text or no digits. Blanks are not skipped.
// Wraps modulo 2^32 instead of checking for overflow.
int32_t ParseLeadingInteger(const std::string& text);

// high * 2^32 + low.
int64_t Value64FromHalves(uint32_t low, uint32_t high);

// The value sign-extended to 64 bits.
int64_t Value64FromInteger(int32_t value);

// -1, 0 or 1: the sign of a - b.
int32_t CompareValue64(int64_t a, int64_t b);

// Decimal digits of a 64-bit value, minus sign for negatives, never a separator.
std::string Value64Text(int64_t value);

// The "Size (bytes)" text of a file size given as its two 32-bit halves:
// grouped digits below 2147483647 bytes, plain digits from 2147483647 on.
std::string FileSizeText(uint32_t high, uint32_t low);

// Appends a backslash unless the path already ends in one ("" gives "\").
std::string WithTrailingBackslash(const std::string& path);

// The text from the last full stop anywhere in the argument to its end, the full
// stop included; empty when there is none. A full stop in a folder part counts.
std::string FileExtensionOf(const std::string& name);

// Drops what FileExtensionOf gives for the name and appends newExtension as given
// (the caller supplies the full stop, or none).
std::string ReplaceFileExtension(const std::string& name, const std::string& newExtension);

// The text after the last ':', '\' or '/'; the whole argument when none occurs.
std::string FileNameOf(const std::string& path);

// Removes leading and trailing characters with codes 1 to 32.
std::string TrimBlanks(const std::string& text);

// 1-based position of the first occurrence of part in whole (exact bytes);
// 0 when it does not occur or either text is empty.
int32_t TextPosition(const std::string& part, const std::string& whole);

// True when the first count bytes of a and b are equal; true when count <= 0.
bool BytesEqual(const void* a, const void* b, int32_t count);

// Case-insensitive collation of the user's locale over whole characters of the ANSI
// code page: negative when a sorts before b, 0 when equal, positive when after.
int32_t CompareTextIgnoringCase(const std::string& a, const std::string& b);

// A lower-case copy, character by character (its byte length may differ from the
// text's where a character's lower case is encoded in another number of bytes).
std::string LowerCaseText(const std::string& text);

// Copies the text and a terminating zero byte into buffer, which must hold
// text.size() + 1 bytes.
void CopyTextToBuffer(char* buffer, const std::string& text);
