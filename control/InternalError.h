#pragma once
// Internal errors of the control layer: a request that the layer's own callers should
// never make failed (for example writing the Name cell of a row that does not exist).
// The failing operation returns its failure result; the message, which ends with the
// source location, goes to the installed handler. Without a handler it is sent to the
// debugger (OutputDebugStringA).
#include <string>

using InternalErrorHandler = void (*)(void* context, const std::string& message);

// Installs handler (nullptr: back to the debugger output).
void SetInternalErrorHandler(InternalErrorHandler handler, void* context);

// Reports message followed by file and line, e.g. "Can not set item ListView.cpp(123)".
void ReportInternalError(const char* message, const char* file, int line);

// Reports the exception being handled (call it only inside a catch block): where, then
// the exception's text ("unknown exception" when it has none), then file and line, e.g.
// "Window procedure failed: std::bad_alloc WindowDispatch.cpp(57)". Never throws: a
// report that cannot be made goes to the debugger output as where alone.
void ReportCaughtException(const char* where, const char* file, int line) noexcept;
