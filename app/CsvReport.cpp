#include "app/CsvReport.h"

#include <windows.h>

#include "app/ConsoleOutput.h"
#include "control/SystemErrorText.h"
#include "control/UniqueHandle.h"
#include "search/TextHelpers.h"

namespace {

const char* const CsvLineEnd = "\r\n";
const char* const Utf8ByteOrderMark = "\xEF\xBB\xBF";
const char* const HeaderCells[] = {"Name", "Path", "Size (bytes)", "Status", "Information"};

// A new file beside path, never one that exists: path + "." + process id + number +
// ".tmp". INVALID_HANDLE_VALUE when none can be created.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& temporaryPath, DWORD& error) {
    const std::string stem = path + "." + IntegerText(static_cast<int32_t>(GetCurrentProcessId()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = stem + (attempt == 0 ? "" : "-" + IntegerText(attempt)) + ".tmp";
        HANDLE file = CreateFileA(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return INVALID_HANDLE_VALUE;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAllBytes(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvReportText(const std::vector<std::vector<std::string>>& rows) {
    std::string text = Utf8ByteOrderMark;
    for (size_t column = 0; column < 5; ++column) {
        text += (column == 0 ? "" : ",") + CsvField(HeaderCells[column]);
    }
    text += CsvLineEnd;
    for (const std::vector<std::string>& row : rows) {
        for (size_t column = 0; column < 5; ++column) {
            const std::string cell =
                column < row.size() ? Utf8FromAnsi(row[column]) : std::string();
            text += (column == 0 ? "" : ",") + CsvField(cell);
        }
        text += CsvLineEnd;
    }
    return text;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, std::string& failure) {
    std::string temporaryPath;
    DWORD error = 0;
    FileHandle file(CreateTemporaryBeside(path, temporaryPath, error));
    if (!file.IsValid()) {
        failure = "The report cannot be created beside " + path + ": " + SystemErrorText(error);
        return false;
    }
    const bool written = WriteAllBytes(file.Get(), bytes) && FlushFileBuffers(file.Get());
    error = GetLastError();
    file.Close();
    if (!written) {
        // Only the incomplete temporary file of this run goes.
        DeleteFileA(temporaryPath.c_str());
        failure =
            "The report cannot be written to " + temporaryPath + ": " + SystemErrorText(error);
        return false;
    }
    if (!MoveFileExA(temporaryPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        failure = "The report cannot be moved to " + path + " (" + SystemErrorText(error) +
                  "); it is kept as " + temporaryPath;
        return false;
    }
    return true;
}
