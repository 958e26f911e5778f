#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "control/UniqueHandle.h"

// A positioned sequence of bytes over an open file or a growable memory block.
// Offsets, sizes and counts are signed 32-bit: files of 2 GiB or more are not
// supported (their size reads as 0, see StreamSize64 for the true size).

// Origins of StreamSeek: the same values as FILE_BEGIN, FILE_CURRENT and FILE_END.
enum StreamOrigin : int32_t { FromBeginning = 0, FromCurrent = 1, FromEnd = 2 };

struct ByteStream;

// The six operations of one stream kind, filled in when the stream is created.
struct StreamOperations {
    // New position, or -1 when refused (the position is then unchanged).
    int32_t (*Seek)(ByteStream& stream, int32_t offset, int32_t origin);
    // Size in bytes; 0 when unknown or 2 GiB or more.
    int32_t (*GetSize)(ByteStream& stream);
    // False when the size cannot be set (memory exhausted, negative size).
    bool (*SetSize)(ByteStream& stream, int32_t size);
    // Bytes actually read; 0 on failure.
    int32_t (*Read)(ByteStream& stream, void* buffer, int32_t count);
    // Bytes actually written; 0 on failure.
    int32_t (*Write)(ByteStream& stream, const void* buffer, int32_t count);
    // Releases the file or the memory; false when closing the file failed.
    bool (*Close)(ByteStream& stream);
};

struct StreamMemoryFree {
    void operator()(uint8_t* block) const { std::free(block); }
};

struct ByteStream {
    StreamOperations Operations{};
    std::unique_ptr<uint8_t, StreamMemoryFree> Memory;  // memory streams only
    FileHandle Handle;                                  // file streams only
    uint32_t Capacity = 0;                              // bytes allocated in Memory
    int32_t Size = 0;                                   // bytes in use in Memory
    int32_t Position = 0;  // offset of a memory stream (a file's is the file pointer)

    ByteStream() = default;
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;
    ~ByteStream();  // runs Close
};

using ByteStreamPtr = std::unique_ptr<ByteStream>;

// File names are taken exactly (search/ExactPath.h).
// Opens an existing file for reading, shared for reading. Always returns a stream:
// when the open fails its size is 0, reads return 0 and seeks -1, and the platform's
// last error tells why.
ByteStreamPtr OpenFileStreamForRead(const std::string& fileName);
// Creates a new file for writing, shared for reading; an existing file is never opened
// (the create fails with ERROR_FILE_EXISTS). Always returns a stream: when the create
// fails every write returns 0.
ByteStreamPtr CreateFileStreamForWrite(const std::string& fileName);
// An empty memory stream: no block, size, position and capacity 0.
ByteStreamPtr NewMemoryStream();

int32_t StreamSize(ByteStream& stream);
// The true size of a file stream even from 2 GiB on (the size of a memory stream);
// -1 when it cannot be read.
int64_t StreamSize64(ByteStream& stream);
int32_t StreamPosition(ByteStream& stream);
int32_t StreamSeek(ByteStream& stream, int32_t offset, int32_t origin);
int32_t StreamRead(ByteStream& stream, void* buffer, int32_t count);
int32_t StreamWrite(ByteStream& stream, const void* buffer, int32_t count);

// Moves up to count bytes from source's position to dest's position and returns the
// count that reached dest (short when the source ends, a write fails or memory runs
// out; the platform's last error then tells why a file operation failed).
int32_t CopyStreamBytes(ByteStream& dest, ByteStream& source, int32_t count);

// Writes count bytes of stream from offset start into the new file fileName, flushed to
// the disk, and leaves the stream's position where it was. An existing file is never
// touched (ERROR_FILE_EXISTS). True only when the file was created, every byte was
// written and flushed, the file's size is the count, and the file was closed; otherwise false, the
// file created (if any) removed again, with the platform's last error telling why (ERROR_HANDLE_EOF
// when the stream holds fewer bytes, ERROR_NOT_ENOUGH_MEMORY when a buffer could not be allocated,
// ERROR_INVALID_PARAMETER for a negative start or count, or a start beyond the end, which touch no
// file).
bool SaveStreamToFile(ByteStream& stream, const std::string& fileName, int32_t start,
                      int32_t count);

// Runs Close and releases the stream; a null stream is ignored (true). False when
// closing the file failed, with the platform's last error telling why.
bool FreeStream(ByteStreamPtr& stream);

// Allocation of memory blocks and copy buffers, with realloc's contract: a new block
// for a null one, null on failure with the old block left intact. Blocks are released
// with std::free. Replaceable so that tests can make memory run out; null restores the
// default. Returns the previous procedure.
using StreamAllocator = void* (*)(void* block, size_t bytes);
StreamAllocator SetStreamAllocator(StreamAllocator allocator);
