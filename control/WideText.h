#pragma once
// Texts of the ANSI code page (UTF-8 where the program runs with that code page) as the
// platform's UTF-16 texts and back, for the few places that must see whole characters:
// case-insensitive comparison and lowering, and shell calls that only speak UTF-16.
#include <cstdint>
#include <string>

// The text as UTF-16; bytes that form no character of the code page become U+FFFD.
std::wstring WideText(const std::string& text);

// The UTF-16 text in the ANSI code page; characters it cannot hold become its default
// character ('?').
std::string AnsiText(const std::wstring& text);

// The platform's case-insensitive collation of the user's locale (CompareStringW with
// NORM_IGNORECASE): negative when a sorts before b, 0 when equal, positive when after.
// Texts the platform refuses to compare are ordered by their code units.
int32_t CompareWideTextIgnoringCase(const std::wstring& a, const std::wstring& b);
