#include "search/ExactPath.h"

#include <windows.h>

#include <vector>

#include "control/WideText.h"

namespace {

const char* const ExactPrefix = "\\\\?\\";
const char* const ExactUncPrefix = "\\\\?\\UNC\\";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The platform's absolute form of a short base ("." , "\", "C:"); empty when refused.
std::string FullPathOf(const std::string& base) {
    const DWORD needed = GetFullPathNameA(base.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return std::string();
    }
    std::string full(needed, '\0');
    const DWORD written = GetFullPathNameA(base.c_str(), needed, &full[0], nullptr);
    if (written == 0 || written >= needed) {
        return std::string();
    }
    full.resize(written);
    return full;
}

// The names of rest joined to root with "." and ".." resolved; ".." never climbs above
// root.
std::string JoinResolved(const std::string& root, const std::string& rest) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        const std::string name = rest.substr(start, end - start);
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    std::string joined = root;
    for (const std::string& name : names) {
        joined += '\\';
        joined += name;
    }
    const bool trailing = !rest.empty() && IsSeparator(rest.back());
    if (names.empty() || trailing) {
        joined += '\\';
    }
    return joined;
}

// The position just after "\\server\share" in a network path.
std::size_t UncRootEnd(const std::string& path) {
    std::size_t position = 2;
    for (int name = 0; name < 2; ++name) {
        while (position < path.size() && !IsSeparator(path[position])) {
            ++position;
        }
        if (name == 0 && position < path.size()) {
            ++position;
        }
    }
    return position;
}

// relative (a path without a root of its own) joined to the absolute base; empty when
// base is.
std::string Absolute(const std::string& base, const std::string& relative) {
    if (base.empty()) {
        return std::string();
    }
    std::string joined = base;
    if (!IsSeparator(joined.back())) {
        joined += '\\';
    }
    return joined + relative;
}

// True for the names the platform reads as devices in a plain path: CON, PRN, AUX, NUL,
// COM0 to COM9 and LPT0 to LPT9 (also with a superscript 1, 2 or 3), CONIN$ and CONOUT$,
// in any case, followed by blanks or an extension or not.
bool IsDeviceName(const std::string& name) {
    if (name.size() < 3) {
        return false;
    }
    std::string start = name.substr(0, 3);
    for (char& c : start) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (start != "CON" && start != "PRN" && start != "AUX" && start != "NUL" && start != "COM" &&
        start != "LPT") {
        return false;
    }
    std::wstring base = WideText(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == L' ') {
        base.pop_back();
    }
    if (base.size() < 3 || base.size() > 7) {
        return false;
    }
    for (wchar_t& c : base) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" ||
        base == L"CONOUT$") {
        return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0)) {
        return false;
    }
    const wchar_t last = base[3];
    return (last >= L'0' && last <= L'9') || last == 0x00B9 || last == 0x00B2 || last == 0x00B3;
}

// True when Win32 normalisation leaves the names of path as they are (see ExactPath).
bool TakenAsWritten(const std::string& path) {
    if (path.find('/') != std::string::npos) {
        return false;
    }
    std::size_t position = 0;
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        position = 2;  // server and share are names like any other
    } else if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        position = path.size() >= 3 && path[2] == '\\' ? 3 : 2;
    } else if (!path.empty() && path[0] == '\\') {
        position = 1;
    }
    while (position < path.size()) {
        std::size_t end = path.find('\\', position);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string name = path.substr(position, end - position);
        if (name.empty() || name == "." || name == ".." || name.back() == '.' ||
            name.back() == ' ' || IsDeviceName(name)) {
            return false;
        }
        position = end + 1;
    }
    return true;
}

}  // namespace

std::string ExactPath(const std::string& path) {
    if (path.empty() || StartsWith(path, ExactPrefix) || StartsWith(path, "\\\\.\\")) {
        return path;
    }
    if (TakenAsWritten(path)) {
        return path;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const std::size_t rootEnd = UncRootEnd(path);
        std::string root = path.substr(2, rootEnd - 2);
        for (char& c : root) {
            if (c == '/') {
                c = '\\';
            }
        }
        return JoinResolved(ExactUncPrefix + root, path.substr(rootEnd));
    }
    if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
        if (path.size() >= 3 && IsSeparator(path[2])) {
            return JoinResolved(ExactPrefix + path.substr(0, 2), path.substr(2));
        }
        // Relative to the drive's current folder.
        const std::string absolute = Absolute(FullPathOf(path.substr(0, 2)), path.substr(2));
        return absolute.empty() ? path : ExactPath(absolute);
    }
    // Relative to the current drive's root, or to the current folder.
    const std::string base = IsSeparator(path[0]) ? FullPathOf("\\") : FullPathOf(".");
    const std::string absolute = Absolute(base, IsSeparator(path[0]) ? path.substr(1) : path);
    if (absolute.empty() ||
        (absolute.size() >= 2 && IsSeparator(absolute[0]) && !IsSeparator(absolute[1]))) {
        return path;
    }
    return ExactPath(absolute);
}
