#pragma once
// One move-only owner for the kernel's handles: a file (CloseHandle), a find
// enumeration (FindClose) or a loaded module (FreeLibrary). The traits say what an
// empty handle is and how it is given back; the owner gives it back on every path and
// cannot be copied. Header-only.
#include <windows.h>

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Close(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::Empty())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, Traits::Empty());
        }
        return *this;
    }

    bool IsValid() const { return Traits::IsValid(handle_); }
    Handle Get() const { return handle_; }

    // Gives the handle back; false when the platform's call fails. An empty owner closes
    // as true. The platform's last error is left as the call set it.
    bool Close() {
        if (!IsValid())
            return true;
        return Traits::Close(std::exchange(handle_, Traits::Empty()));
    }

    // Closes the handle held now and takes handle.
    void Reset(Handle handle) {
        Close();
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Empty();
};

// A handle from CreateFileA (also of a folder or a console buffer).
struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE handle) {
        return handle != INVALID_HANDLE_VALUE && handle != nullptr;
    }
    static bool Close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};

// A handle from FindFirstFileA.
struct FindHandleTraits {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE handle) { return FindClose(handle) != FALSE; }
};

// A module from LoadLibraryA.
struct ModuleHandleTraits {
    using Handle = HMODULE;
    static HMODULE Empty() { return nullptr; }
    static bool IsValid(HMODULE module) { return module != nullptr; }
    static bool Close(HMODULE module) { return FreeLibrary(module) != FALSE; }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using ModuleHandle = UniqueHandle<ModuleHandleTraits>;

// A folder enumeration: the owner with the two calls that read its entries.
class FindHandle : public UniqueHandle<FindHandleTraits> {
public:
    using UniqueHandle<FindHandleTraits>::UniqueHandle;

    // Starts an enumeration of pattern; the first entry goes to record. Returns an empty
    // owner when the platform refuses.
    static FindHandle First(const char* pattern, WIN32_FIND_DATAA& record) {
        return FindHandle(FindFirstFileA(pattern, &record));
    }

    // Reads the next entry into record; false when there is none left.
    bool Next(WIN32_FIND_DATAA& record) const {
        return IsValid() && FindNextFileA(Get(), &record) != FALSE;
    }
};
