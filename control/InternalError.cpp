#include "control/InternalError.h"

#include <windows.h>

#include <cstring>

namespace {

InternalErrorHandler errorHandler = nullptr;
void* errorContext = nullptr;

const char* FileNameOnly(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    return name;
}

} // namespace

void SetInternalErrorHandler(InternalErrorHandler handler, void* context)
{
    errorHandler = handler;
    errorContext = context;
}

void ReportInternalError(const char* message, const char* file, int line)
{
    std::string text = std::string(message) + FileNameOnly(file) + "(" + std::to_string(line) + ")";
    if (errorHandler != nullptr) {
        errorHandler(errorContext, text);
        return;
    }
    OutputDebugStringA((text + "\n").c_str());
}
