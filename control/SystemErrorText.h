#pragma once
#include <cstdint>
#include <string>

// The operating system's text for an error code (as GetLastError gives it), without
// trailing blanks or line breaks; empty when the system has no text for the code or
// the text does not fit in 256 bytes.
std::string SystemErrorText(uint32_t errorCode);
