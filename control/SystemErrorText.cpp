#include "control/SystemErrorText.h"

#include <windows.h>

std::string SystemErrorText(uint32_t errorCode) {
    // The platform allocates the text: in UTF-8 a text in another script takes two or
    // three bytes per character and would not fit a fixed buffer.
    char* buffer = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (buffer == nullptr)
        return std::string();
    while (length > 0 && static_cast<unsigned char>(buffer[length - 1]) <= 0x20)
        --length;
    std::string text(buffer, length);
    LocalFree(buffer);
    return text;
}
