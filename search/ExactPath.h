#pragma once
// The form of a path that the platform takes exactly as written. Plain paths pass through
// Win32 normalisation, which drops a trailing dot or space of a name ("report.exe " would
// reach "report.exe") and reads names such as "nul.txt" as devices; in the "\\?\" form
// every name is taken as it is. Every call that touches the file system by path goes
// through ExactPath; the result list keeps showing the plain path.
#include <string>

// path itself when normalisation would leave it as it is: no forward slash, no repeated
// separator, no "." or ".." component, no name ending in a dot or a space, no device name
// (CON, NUL, COM1, LPT1.txt, ...). The plain form is kept then because the "\\?\" prefix
// takes four of the 260 characters that systems without long path support accept.
//
// Otherwise "\\?\" followed by the absolute path, or "\\?\UNC\server\share\..." for a
// network path, with the resolving done here the way the platform would: forward slashes
// count as backslashes, repeated separators as one, "." and ".." components are resolved,
// and a relative path is made absolute against the current folder ("docs"), the current
// drive ("\docs") or the drive's current folder ("C:docs"). A trailing backslash is kept;
// names are never trimmed.
//
// A path already in the "\\?\" form, or a device path ("\\.\..."), is returned unchanged;
// an empty path stays empty.
std::string ExactPath(const std::string& path);
