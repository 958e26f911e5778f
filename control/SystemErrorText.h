#pragma once
#include <cstdint>
#include <string>

// The operating system's text for an error code (as GetLastError gives it), without
// trailing blanks or line breaks, in the ANSI code page; empty when the system has no
// text for the code.
std::string SystemErrorText(uint32_t errorCode);
