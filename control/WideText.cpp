#include "control/WideText.h"

#include <windows.h>

#include <climits>

std::wstring WideText(const std::string& text) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX))
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], needed);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

std::string AnsiText(const std::wstring& text) {
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX))
        return std::string();
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string ansi(static_cast<size_t>(needed), '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], needed, nullptr, nullptr);
    ansi.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return ansi;
}

int32_t CompareWideTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() <= static_cast<size_t>(INT_MAX) && b.size() <= static_cast<size_t>(INT_MAX)) {
        const int result =
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                           static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
        if (result != 0)
            return result - 2;
    }
    const int units = a.compare(b);
    return units < 0 ? -1 : (units > 0 ? 1 : 0);
}
