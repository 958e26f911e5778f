#pragma once
// The report of an unattended run: the result list as CSV (RFC 4180), UTF-8 with a byte
// order mark so that spreadsheet programs read the names right, written as a new file
// that never replaces an existing one.
#include <string>
#include <vector>

// The field as CSV: enclosed in quotation marks, with inner ones doubled, when it holds a
// comma, a quotation mark, a carriage return or a line feed; else unchanged.
std::string CsvField(const std::string& text);

// The whole report: the byte order mark, the header line Name,Path,Size (bytes),Status,
// Information, then one line per row; every line ends with CR LF. Rows hold the five
// cells as ANSI texts, converted to UTF-8 here.
std::string CsvReportText(const std::vector<std::vector<std::string>>& rows);

// Writes bytes as the new file path: first into a temporary file beside it, flushed to
// the disk, then moved to path without replacing anything there. True on success. On
// failure, failure says why; a temporary file that holds the whole report but could not
// be moved is kept, and failure names it.
bool WriteNewFile(const std::string& path, const std::string& bytes, std::string& failure);
