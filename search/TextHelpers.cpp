#include "search/TextHelpers.h"

#include <windows.h>

#include <cstring>

#include "control/WideText.h"

namespace {

// Decimal digits of a magnitude, most significant first.
std::string DigitsOf(uint64_t magnitude) {
    char buffer[31];
    int position = sizeof(buffer);
    do {
        buffer[--position] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    return std::string(buffer + position, buffer + sizeof(buffer));
}

uint64_t MagnitudeOf(int64_t value) {
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

bool IsBlank(char c) {
    const unsigned char code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

bool IsNameSeparator(char c) {
    return c == ':' || c == '\\' || c == '/';
}

}  // namespace

std::string IntegerText(int32_t value) {
    return Value64Text(value);
}

std::string GroupedIntegerText(int32_t value) {
    const std::string digits = DigitsOf(MagnitudeOf(value));
    std::string text;
    text.reserve(digits.size() + digits.size() / 3 + 1);
    if (value < 0) {
        text += '-';
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

int32_t ParseLeadingInteger(const std::string& text) {
    std::size_t position = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        position = 1;
    }
    uint32_t value = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        value = value * 10u + static_cast<uint32_t>(text[position] - '0');
        ++position;
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

int64_t Value64FromHalves(uint32_t low, uint32_t high) {
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

int64_t Value64FromInteger(int32_t value) {
    return value;
}

int32_t CompareValue64(int64_t a, int64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::string Value64Text(int64_t value) {
    const std::string digits = DigitsOf(MagnitudeOf(value));
    return value < 0 ? "-" + digits : digits;
}

std::string FileSizeText(uint32_t high, uint32_t low) {
    // A high half of 2^31 or more would read as a negative size; such sizes are
    // shown as the unsigned 64-bit value instead of as a grouped low half.
    if (high >= 0x80000000u) {
        return DigitsOf((static_cast<uint64_t>(high) << 32) | low);
    }
    const int64_t size = Value64FromHalves(low, high);
    if (CompareValue64(size, Value64FromInteger(2147483647)) == -1) {
        return GroupedIntegerText(static_cast<int32_t>(low));
    }
    return Value64Text(size);
}

std::string WithTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') {
        return path;
    }
    return path + '\\';
}

std::string FileExtensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ReplaceFileExtension(const std::string& name, const std::string& newExtension) {
    const std::size_t extensionLength = FileExtensionOf(name).size();
    return name.substr(0, name.size() - extensionLength) + newExtension;
}

std::string FileNameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !IsNameSeparator(path[start - 1])) {
        --start;
    }
    return path.substr(start);
}

std::string TrimBlanks(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

int32_t TextPosition(const std::string& part, const std::string& whole) {
    if (part.empty() || whole.empty()) {
        return 0;
    }
    const std::size_t found = whole.find(part);
    return found == std::string::npos ? 0 : static_cast<int32_t>(found + 1);
}

bool BytesEqual(const void* a, const void* b, int32_t count) {
    if (count <= 0) {
        return true;
    }
    return std::memcmp(a, b, static_cast<std::size_t>(count)) == 0;
}

int32_t CompareTextIgnoringCase(const std::string& a, const std::string& b) {
    // Compared as UTF-16: CompareStringA would read the bytes in the locale's own code
    // page, which differs from the program's when that is UTF-8.
    return CompareWideTextIgnoringCase(WideText(a), WideText(b));
}

std::string LowerCaseText(const std::string& text) {
    // Lowered as whole characters: lowering the bytes in place could cut a character
    // whose lower case is encoded in another number of bytes.
    std::wstring wide = WideText(text);
    if (wide.empty()) {
        return text;
    }
    CharLowerBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    return AnsiText(wide);
}

void CopyTextToBuffer(char* buffer, const std::string& text) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
}
