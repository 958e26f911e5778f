#include "recovery/ByteStream.h"

#include <cstring>
#include <new>

#include "search/ExactPath.h"

namespace {

constexpr int32_t MaxStreamSize = 0x7FFFFFFF;
constexpr uint32_t GrowthStep = 16384;

void* DefaultAllocate(void* block, size_t bytes) {
    return std::realloc(block, bytes);
}

StreamAllocator currentAllocator = DefaultAllocate;

// Keeps the platform's last error across clean-up calls that may change it.
class LastErrorKeeper {
public:
    LastErrorKeeper() : error_(GetLastError()) {}
    ~LastErrorKeeper() { SetLastError(error_); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD error_;
};

// File streams. Sizes and positions of 2 GiB or more are outside the signed 32-bit
// range and are refused rather than wrapped.

// False, with ERROR_INVALID_HANDLE, for a stream whose open failed.
bool HasFile(const ByteStream& stream) {
    if (!stream.Handle.IsValid()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

int32_t FileSeek(ByteStream& stream, int32_t offset, int32_t origin) {
    if (!HasFile(stream)) {
        return -1;
    }
    const HANDLE handle = stream.Handle.Get();
    DWORD before = 0;
    if (origin != FILE_BEGIN) {
        before = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
        if (before == INVALID_SET_FILE_POINTER) {
            return -1;
        }
    }
    const DWORD after = SetFilePointer(handle, offset, nullptr, static_cast<DWORD>(origin));
    if (after == INVALID_SET_FILE_POINTER) {
        return -1;
    }
    if (after > static_cast<DWORD>(MaxStreamSize)) {
        SetFilePointer(handle, static_cast<LONG>(before), nullptr, FILE_BEGIN);
        return -1;
    }
    return static_cast<int32_t>(after);
}

int64_t FileSize64(ByteStream& stream) {
    if (!HasFile(stream)) {
        return -1;
    }
    DWORD high = 0;
    const DWORD low = GetFileSize(stream.Handle.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return -1;
    }
    return (static_cast<int64_t>(high) << 32) | low;
}

int32_t FileGetSize(ByteStream& stream) {
    const int64_t size = FileSize64(stream);
    if (size < 0 || size > MaxStreamSize) {
        return 0;
    }
    return static_cast<int32_t>(size);
}

bool FileSetSize(ByteStream&, int32_t) {
    return false;
}

int32_t FileRead(ByteStream& stream, void* buffer, int32_t count) {
    if (count <= 0 || !HasFile(stream)) {
        return 0;
    }
    DWORD read = 0;
    if (!ReadFile(stream.Handle.Get(), buffer, static_cast<DWORD>(count), &read, nullptr)) {
        return 0;
    }
    return static_cast<int32_t>(read);
}

int32_t FileWrite(ByteStream& stream, const void* buffer, int32_t count) {
    if (count < 0 || !HasFile(stream)) {
        return 0;
    }
    DWORD written = 0;
    if (!WriteFile(stream.Handle.Get(), buffer, static_cast<DWORD>(count), &written, nullptr)) {
        return 0;
    }
    SetEndOfFile(stream.Handle.Get());
    return static_cast<int32_t>(written);
}

int32_t ReadNothing(ByteStream&, void*, int32_t) {
    return 0;
}

int32_t WriteNothing(ByteStream&, const void*, int32_t) {
    return 0;
}

bool FileClose(ByteStream& stream) {
    return stream.Handle.Close();
}

// Memory streams.

bool MemorySetSize(ByteStream& stream, int32_t size) {
    if (size < 0) {
        return false;
    }
    const uint32_t wanted = static_cast<uint32_t>(size);
    if (stream.Capacity < wanted) {
        // The next multiple of the growth step strictly above the size.
        const uint32_t capacity = (wanted | (GrowthStep - 1)) + 1;
        void* block = currentAllocator(stream.Memory.get(), capacity);
        if (block == nullptr) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        (void)stream.Memory.release();  // moved or freed by the reallocation
        stream.Memory.reset(static_cast<uint8_t*>(block));
        stream.Capacity = capacity;
    }
    if (size == 0) {
        stream.Capacity = 0;
        stream.Memory.reset();
    }
    stream.Size = size;
    if (stream.Position >= size) {
        stream.Position = size;
    }
    return true;
}

int32_t MemorySeek(ByteStream& stream, int32_t offset, int32_t origin) {
    int64_t target = offset;
    if (origin == FromCurrent) {
        target += stream.Position;
    } else if (origin == FromEnd) {
        target += stream.Size;
    } else if (origin != FromBeginning) {
        return -1;
    }
    // A position before the start would make reads and writes leave the block.
    if (target < 0 || target > MaxStreamSize) {
        return -1;
    }
    const int32_t position = static_cast<int32_t>(target);
    if (position > stream.Size && !MemorySetSize(stream, position)) {
        return -1;
    }
    stream.Position = position;
    return position;
}

int32_t MemoryGetSize(ByteStream& stream) {
    return stream.Size;
}

int32_t MemoryRead(ByteStream& stream, void* buffer, int32_t count) {
    if (count <= 0 || stream.Position >= stream.Size) {
        return 0;
    }
    const int32_t available = stream.Size - stream.Position;
    const int32_t taken = count < available ? count : available;
    std::memcpy(buffer, stream.Memory.get() + stream.Position, static_cast<size_t>(taken));
    stream.Position += taken;
    return taken;
}

int32_t MemoryWrite(ByteStream& stream, const void* buffer, int32_t count) {
    if (count <= 0) {
        return 0;
    }
    if (count > MaxStreamSize - stream.Position) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const int32_t end = stream.Position + count;
    if (end > stream.Size && !MemorySetSize(stream, end)) {
        return 0;
    }
    std::memcpy(stream.Memory.get() + stream.Position, buffer, static_cast<size_t>(count));
    stream.Position = end;
    return count;
}

bool MemoryClose(ByteStream& stream) {
    stream.Memory.reset();
    stream.Capacity = 0;
    stream.Size = 0;
    stream.Position = 0;
    return true;
}

const StreamOperations ReadFileOperations = {FileSeek, FileGetSize,  FileSetSize,
                                             FileRead, WriteNothing, FileClose};
const StreamOperations WriteFileOperations = {FileSeek,    FileGetSize, FileSetSize,
                                              ReadNothing, FileWrite,   FileClose};
const StreamOperations MemoryOperations = {MemorySeek, MemoryGetSize, MemorySetSize,
                                           MemoryRead, MemoryWrite,   MemoryClose};

bool IsFileStream(const ByteStream& stream) {
    return stream.Operations.GetSize == FileGetSize;
}

}  // namespace

ByteStream::~ByteStream() {
    if (Operations.Close != nullptr) {
        Operations.Close(*this);
    }
}

ByteStreamPtr OpenFileStreamForRead(const std::string& fileName) {
    ByteStreamPtr stream(new (std::nothrow) ByteStream);
    if (stream) {
        stream->Operations = ReadFileOperations;
        stream->Handle =
            FileHandle(CreateFileA(ExactPath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return stream;
}

ByteStreamPtr CreateFileStreamForWrite(const std::string& fileName) {
    ByteStreamPtr stream(new (std::nothrow) ByteStream);
    if (stream) {
        stream->Operations = WriteFileOperations;
        stream->Handle =
            FileHandle(CreateFileA(ExactPath(fileName).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return stream;
}

ByteStreamPtr NewMemoryStream() {
    ByteStreamPtr stream(new (std::nothrow) ByteStream);
    if (stream) {
        stream->Operations = MemoryOperations;
    }
    return stream;
}

int32_t StreamSize(ByteStream& stream) {
    return stream.Operations.GetSize(stream);
}

int64_t StreamSize64(ByteStream& stream) {
    if (IsFileStream(stream)) {
        return FileSize64(stream);
    }
    return stream.Operations.GetSize(stream);
}

int32_t StreamPosition(ByteStream& stream) {
    return stream.Operations.Seek(stream, 0, FromCurrent);
}

int32_t StreamSeek(ByteStream& stream, int32_t offset, int32_t origin) {
    return stream.Operations.Seek(stream, offset, origin);
}

int32_t StreamRead(ByteStream& stream, void* buffer, int32_t count) {
    return stream.Operations.Read(stream, buffer, count);
}

int32_t StreamWrite(ByteStream& stream, const void* buffer, int32_t count) {
    return stream.Operations.Write(stream, buffer, count);
}

int32_t CopyStreamBytes(ByteStream& dest, ByteStream& source, int32_t count) {
    if (count <= 0 || &dest == &source) {
        return 0;
    }

    // From a memory block: the destination writes straight from it.
    if (source.Memory) {
        const int32_t available = source.Size - source.Position;
        if (count > available) {
            count = available;
        }
        if (count <= 0) {
            return 0;
        }
        const int32_t written =
            dest.Operations.Write(dest, source.Memory.get() + source.Position, count);
        source.Position += written;
        return written;
    }

    // Into a memory block: the source reads straight into it. The size grows only
    // over the bytes that actually arrive.
    if (dest.Memory) {
        if (count > MaxStreamSize - dest.Position) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        const int32_t oldSize = dest.Size;
        const int32_t end = dest.Position + count;
        if (end > dest.Size && !dest.Operations.SetSize(dest, end)) {
            return 0;
        }
        const int32_t read =
            source.Operations.Read(source, dest.Memory.get() + dest.Position, count);
        dest.Position += read;
        if (dest.Size > oldSize) {
            dest.Size = dest.Position > oldSize ? dest.Position : oldSize;
        }
        return read;
    }

    // Otherwise through one temporary buffer of the whole count.
    std::unique_ptr<uint8_t, StreamMemoryFree> buffer(
        static_cast<uint8_t*>(currentAllocator(nullptr, static_cast<size_t>(count))));
    if (!buffer) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const int32_t read = source.Operations.Read(source, buffer.get(), count);
    const int32_t written = read > 0 ? dest.Operations.Write(dest, buffer.get(), read) : 0;
    LastErrorKeeper keepError;
    buffer.reset();
    return written;
}

bool SaveStreamToFile(ByteStream& stream, const std::string& fileName, int32_t start,
                      int32_t count) {
    // Bad arguments touch no file: a start beyond the end would also grow a memory
    // stream with undefined bytes.
    if (start < 0 || count < 0 || start > StreamSize(stream)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const int32_t remembered = StreamPosition(stream);
    DWORD error = NO_ERROR;
    bool saved = false;
    if (StreamSeek(stream, start, FromBeginning) != start) {
        error = GetLastError() != NO_ERROR ? GetLastError() : static_cast<DWORD>(ERROR_SEEK);
    } else {
        ByteStreamPtr file = CreateFileStreamForWrite(fileName);
        if (!file) {
            error = ERROR_NOT_ENOUGH_MEMORY;
        } else if (!file->Handle.IsValid()) {
            error = GetLastError();
            FreeStream(file);
        } else {
            // The file is new and ours: on any failure it goes again.
            SetLastError(NO_ERROR);
            const int32_t written = CopyStreamBytes(*file, stream, count);
            if (written != count) {
                error = GetLastError() != NO_ERROR ? GetLastError()
                                                   : static_cast<DWORD>(ERROR_HANDLE_EOF);
            }
            const bool flushed = written == count && FlushFileBuffers(file->Handle.Get()) != 0;
            if (written == count && !flushed) {
                error = GetLastError() != NO_ERROR ? GetLastError()
                                                   : static_cast<DWORD>(ERROR_WRITE_FAULT);
            }
            // The file on the disk must hold exactly the bytes written.
            LARGE_INTEGER size = {};
            const bool whole =
                flushed && GetFileSizeEx(file->Handle.Get(), &size) && size.QuadPart == count;
            if (flushed && !whole) {
                error = ERROR_WRITE_FAULT;
            }
            const bool closed = FreeStream(file);
            if (!closed && error == NO_ERROR) {
                error = GetLastError() != NO_ERROR ? GetLastError()
                                                   : static_cast<DWORD>(ERROR_WRITE_FAULT);
            }
            saved = whole && closed;
            if (!saved) {
                DeleteFileA(ExactPath(fileName).c_str());
            }
        }
    }
    if (remembered >= 0) {
        StreamSeek(stream, remembered, FromBeginning);
    }
    SetLastError(saved ? NO_ERROR : error);
    return saved;
}

bool FreeStream(ByteStreamPtr& stream) {
    if (!stream) {
        return true;
    }
    const bool closed = stream->Operations.Close(*stream);
    LastErrorKeeper keepError;
    stream.reset();
    return closed;
}

StreamAllocator SetStreamAllocator(StreamAllocator allocator) {
    const StreamAllocator previous = currentAllocator;
    currentAllocator = allocator != nullptr ? allocator : DefaultAllocate;
    return previous;
}
