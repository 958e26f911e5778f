#pragma once
// Names in other scripts as UTF-8 (the test programs run with the program's manifest,
// whose ANSI code page is UTF-8), and their UTF-16 as the platform stores and shows it.
#include <windows.h>

#include <string>

namespace scriptnames {

const std::string Documents =
    "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";  // Документы
const std::string ReportRu = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82";         // отчёт
const std::string ReportCn = "\xE6\x8A\xA5\xE5\x91\x8A";                         // 报告
const std::string Anger = "\xC3\x84rger";                                        // Ärger
const std::string Smile = "x\xF0\x9F\x98\x80";                                   // x😀

// The UTF-16 of a UTF-8 text.
inline std::wstring Utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                                        static_cast<int>(utf8.size()), &wide[0],
                                                        static_cast<int>(wide.size()))));
    return wide;
}

}  // namespace scriptnames
