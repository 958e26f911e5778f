#pragma once
// Replacing the extension of a file's name without touching its folder part.
#include <string>

// The path with the extension of its file name part (the text after the last '\',
// '/' or ':') replaced by newExtension, which is appended as given (the caller
// supplies the full stop, or none). The extension is the text from the last full stop
// of the name to its end; a name without a full stop gets newExtension appended. A full
// stop in a folder name is never taken for an extension, so the result always lies in
// the same folder as the path. For a path without folder part the result equals
// ReplaceFileExtension(path, newExtension).
std::string ReplaceFileNameExtension(const std::string& path, const std::string& newExtension);

// The path with " (number)" inserted before the extension of its file name part (before
// its end when the name has no full stop): "C:\d\report.doc", 2 gives
// "C:\d\report (2).doc". The folder part is never changed.
std::string NumberedFileName(const std::string& path, int number);

// The information line's text when a rename text is refused.
extern const char* const ExtensionRefusedText;

// True when text may follow the full stop of a file name: it holds none of
// \ / : * ? " < > | and no character below 32, so the renamed file stays in its folder.
bool ExtensionTextAllowed(const std::string& text);
