#include "recovery/PlaceDocument.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "control/UniqueHandle.h"
#include "recovery/ByteStream.h"
#include "search/ExactPath.h"
#include "search/FileNameExtension.h"
#include "search/TextHelpers.h"

namespace {

// Names tried before giving up: "<name> (2)" up to "<name> (9999)".
constexpr int LastNumber = 9999;
// Temporary names tried when others exist already.
constexpr int TemporaryAttempts = 100;
constexpr DWORD CompareBlockSize = 1 << 16;

// Unusable: the platform refuses the name (its last error tells why); Unknown: the name
// cannot be examined (e.g. access denied) and is passed over.
enum class NameState { Free, Identical, Taken, Unknown, Unusable };

// True when the file at path holds exactly size bytes equal to bytes.
bool FileHolds(const std::string& path, const uint8_t* bytes, int32_t size) {
    FileHandle file(CreateFileA(ExactPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.Get(), &fileSize) || fileSize.QuadPart != size) {
        return false;
    }
    std::vector<uint8_t> block(CompareBlockSize);
    int32_t compared = 0;
    while (compared < size) {
        const DWORD wanted =
            static_cast<DWORD>(std::min<int32_t>(size - compared, CompareBlockSize));
        DWORD read = 0;
        if (!ReadFile(file.Get(), block.data(), wanted, &read, nullptr) || read != wanted ||
            std::memcmp(block.data(), bytes + compared, wanted) != 0) {
            return false;
        }
        compared += static_cast<int32_t>(read);
    }
    return true;
}

// The state of the name path for a document of size bytes; error receives the platform's
// reason when the name is Unusable.
NameState StateOf(const std::string& path, const uint8_t* bytes, int32_t size, DWORD& error) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(ExactPath(path).c_str(), GetFileExInfoStandard, &data)) {
        error = GetLastError();
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                return NameState::Free;
            case ERROR_FILENAME_EXCED_RANGE:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_PATHNAME:
                return NameState::Unusable;
            default:
                return NameState::Unknown;
        }
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return NameState::Taken;
    }
    return FileHolds(path, bytes, size) ? NameState::Identical : NameState::Taken;
}

// The folder part of path, with its trailing separator; empty when there is none.
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.size() - FileNameOf(path).size());
}

void Fail(PlacementResult& result, DWORD error, const char* reason) {
    result.Placed = false;
    result.ErrorCode = error;
    result.Reason = reason;
}

// Writes the document into a new temporary file in folder, flushed to the disk and of the
// document's size; its path, or empty with result's failure filled in and no file left.
std::string WriteTemporaryFile(ByteStream& document, const std::string& folder,
                               PlacementResult& result) {
    static unsigned counter = 0;
    const int32_t size = StreamSize(document);
    for (int attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "~qf%lx-%x.tmp",
                      static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
        const std::string path = folder + name;
        // The stream layer flushes the new file and checks its size.
        if (SaveStreamToFile(document, path, 0, size)) {
            return path;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            Fail(result, error != NO_ERROR ? error : static_cast<DWORD>(ERROR_WRITE_FAULT), "");
            return std::string();
        }
    }
    Fail(result, ERROR_FILE_EXISTS, "");
    return std::string();
}

}  // namespace

PlacementResult PlaceDocument(ByteStream& document, const std::string& preferredPath) {
    PlacementResult result;
    const int32_t size = StreamSize(document);
    const uint8_t* bytes = document.Memory.get();
    if (size <= 0 || bytes == nullptr) {
        Fail(result, 0, "The document is empty.");
        return result;
    }
    std::string temporary;
    for (int number = 1; number <= LastNumber; ++number) {
        result.Path = number == 1 ? preferredPath : NumberedFileName(preferredPath, number);
        DWORD error = NO_ERROR;
        const NameState state = StateOf(result.Path, bytes, size, error);
        if (state == NameState::Identical) {
            if (!temporary.empty()) {
                DeleteFileA(ExactPath(temporary).c_str());
            }
            result.Placed = true;
            result.Written = false;
            return result;
        }
        if (state == NameState::Unusable) {
            // The platform refuses the name itself; the numbered names are longer still.
            if (!temporary.empty()) {
                DeleteFileA(ExactPath(temporary).c_str());
            }
            Fail(result, error, "");
            return result;
        }
        if (state != NameState::Free) {
            continue;
        }
        if (temporary.empty()) {
            temporary = WriteTemporaryFile(document, FolderOf(preferredPath), result);
            if (temporary.empty()) {
                return result;
            }
        }
        if (MoveFileExA(ExactPath(temporary).c_str(), ExactPath(result.Path).c_str(),
                        MOVEFILE_WRITE_THROUGH)) {
            result.Placed = true;
            result.Written = true;
            return result;
        }
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            DeleteFileA(ExactPath(temporary).c_str());
            Fail(result, error, "");
            return result;
        }
        // The name was taken since it was looked at: the next one is tried.
    }
    if (!temporary.empty()) {
        DeleteFileA(ExactPath(temporary).c_str());
    }
    Fail(result, 0, "No free name is left for the document.");
    return result;
}
