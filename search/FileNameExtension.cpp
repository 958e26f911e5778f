#include "search/FileNameExtension.h"

#include <cstring>

#include "search/TextHelpers.h"

namespace {

// Index of the first character of the file name part: after the last '\', '/' or ':'.
std::string::size_type FileNameStart(const std::string& path) {
    const std::string::size_type separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string ReplaceFileNameExtension(const std::string& path, const std::string& newExtension) {
    const std::string::size_type nameStart = FileNameStart(path);
    return path.substr(0, nameStart) + ReplaceFileExtension(path.substr(nameStart), newExtension);
}

std::string NumberedFileName(const std::string& path, int number) {
    std::string::size_type dot = path.rfind('.');
    if (dot == std::string::npos || dot < FileNameStart(path)) {
        dot = path.size();
    }
    return path.substr(0, dot) + " (" + IntegerText(number) + ")" + path.substr(dot);
}

const char* const ExtensionRefusedText = "The extension may not contain \\ / : * ? \" < > |";

bool ExtensionTextAllowed(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr) {
            return false;
        }
    }
    return true;
}
