#include "control/SystemErrorText.h"

#include <windows.h>

std::string SystemErrorText(uint32_t errorCode)
{
    char buffer[256];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr,
                                  errorCode, 0, buffer, sizeof(buffer), nullptr);
    if (length > sizeof(buffer))
        length = 0;
    while (length > 0 && static_cast<unsigned char>(buffer[length - 1]) <= 0x20)
        --length;
    return std::string(buffer, length);
}
