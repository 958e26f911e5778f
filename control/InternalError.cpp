#include "control/InternalError.h"

#include <windows.h>

#include <cstring>
#include <exception>

namespace {

InternalErrorHandler errorHandler = nullptr;
void* errorContext = nullptr;

const char* FileNameOnly(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    return name;
}

}  // namespace

void SetInternalErrorHandler(InternalErrorHandler handler, void* context) {
    errorHandler = handler;
    errorContext = context;
}

void ReportInternalError(const char* message, const char* file, int line) {
    std::string text = std::string(message) + FileNameOnly(file) + "(" + std::to_string(line) + ")";
    if (errorHandler != nullptr) {
        errorHandler(errorContext, text);
        return;
    }
    OutputDebugStringA((text + "\n").c_str());
}

void ReportCaughtException(const char* where, const char* file, int line) noexcept {
    try {
        std::string message = where;
        try {
            throw;
        } catch (const std::exception& error) {
            message += error.what();
        } catch (...) {
            message += "unknown exception";
        }
        message += ' ';
        ReportInternalError(message.c_str(), file, line);
    } catch (...) {
        OutputDebugStringA(where);
    }
}
