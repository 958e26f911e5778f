#pragma once
// Texts of the program that tests at every layer expect to see exactly.
#include <string>

// The main window's title and the caption of every message box of the program.
const char* const ProgramTitle = "Quillfix 1.0 RC 2";

// The about box's twelve lines, in order.
const char* const AboutLines[] = {
    "Quillfix 1.0 RC 2",
    "",
    "Tools untuk me-restore file Word dan Excel yang terkena virus",
    "Caranya :",
    "1. Cari folder yang terdapat dokumennya",
    "2. Klik Find ( Stop untuk menghentikan pencarian )",
    "3. Klik Restore File untuk mengembalikan dokumen",
    "4. Yang tidak terdeteksi doc atau xls akan berekstensi *.dat",
    "",
    "Untuk menghapus file di daftar, pilih dan tekan tombol Delete",
    "Pembuat tidak bertanggung jawab jika ada kehilangan / kerusakan data",
    "Pastikan dicoba dulu dengan memilih \"Rename Viruses\"",
};
const size_t AboutLineCount = sizeof AboutLines / sizeof AboutLines[0];
static_assert(AboutLineCount == 12, "the about box has twelve lines");

// The about box's text: its lines joined by CR LF.
inline std::string AboutText() {
    std::string text = AboutLines[0];
    for (size_t line = 1; line < AboutLineCount; ++line) {
        text += std::string("\r\n") + AboutLines[line];
    }
    return text;
}

// Rename texts that would move a file out of its folder or give it no valid name: every
// layer that takes a rename text refuses them with RefusedExtensionMessage.
const char* const RefusedExtensionTexts[] = {
    "vrs\\..\\..\\x", "a/b", "x/y", "c:d", "*",    "?",         "a?", "\"",
    "\"q\"",          "<",   ">",   "|",   "a\tb", "tab\there",
};
const char* const RefusedExtensionMessage = "The extension may not contain \\ / : * ? \" < > |";

// A number as the program shows counts and sizes: its digits grouped by thousands with
// commas ("1,600").
inline std::string GroupedNumber(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string grouped;
    for (size_t index = 0; index < digits.size(); ++index) {
        if (index > 0 && (digits.size() - index) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[index];
    }
    return value < 0 ? "-" + grouped : grouped;
}
