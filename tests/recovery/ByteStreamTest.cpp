#include "recovery/ByteStream.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "support/ScratchFolder.h"
#include "support/SparseFile.h"

namespace {

std::string Pattern(int32_t size) {
    std::string bytes(static_cast<size_t>(size), '\0');
    for (int32_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

std::string ReadAll(ByteStream& stream) {
    std::string bytes(static_cast<size_t>(StreamSize(stream)), '\0');
    StreamSeek(stream, 0, FromBeginning);
    bytes.resize(
        static_cast<size_t>(StreamRead(stream, &bytes[0], static_cast<int32_t>(bytes.size()))));
    return bytes;
}

// Makes every allocation larger than a limit fail while it is alive.
class MemoryLimit {
public:
    explicit MemoryLimit(size_t limit) {
        Limit() = limit;
        previous_ = SetStreamAllocator(Allocate);
    }
    ~MemoryLimit() { SetStreamAllocator(previous_); }
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;

private:
    static size_t& Limit() {
        static size_t limit = 0;
        return limit;
    }
    static void* Allocate(void* block, size_t bytes) {
        return bytes > Limit() ? nullptr : std::realloc(block, bytes);
    }
    StreamAllocator previous_;
};

class ByteStreamTest : public ::testing::Test {
protected:
    scratch::ScratchFolder scratch{"qf-recovery"};
};

TEST_F(ByteStreamTest, MissingFileReadsAsEmpty) {
    ByteStreamPtr stream = OpenFileStreamForRead(scratch.Path("missing.exe"));
    ASSERT_TRUE(stream);
    char buffer[8] = {};
    EXPECT_EQ(0, StreamSize(*stream));
    EXPECT_EQ(-1, StreamSize64(*stream));
    EXPECT_EQ(0, StreamRead(*stream, buffer, 8));
    EXPECT_EQ(-1, StreamSeek(*stream, 0, FromBeginning));
    EXPECT_EQ(-1, StreamPosition(*stream));
    EXPECT_TRUE(FreeStream(stream));
    EXPECT_FALSE(stream);
    EXPECT_TRUE(FreeStream(stream));  // a null stream is ignored
}

TEST_F(ByteStreamTest, ReadStreamSeeksReadsAndRefusesNegativePositions) {
    const std::string bytes = Pattern(70000);
    ByteStreamPtr stream = OpenFileStreamForRead(scratch.WriteFile("carrier.exe", bytes));
    EXPECT_EQ(70000, StreamSize(*stream));
    EXPECT_EQ(70000, StreamSize64(*stream));
    EXPECT_EQ(20480, StreamSeek(*stream, 20480, FromBeginning));
    EXPECT_EQ(-1, StreamSeek(*stream, -5, FromBeginning));
    EXPECT_EQ(20480, StreamPosition(*stream));
    char five[5] = {};
    EXPECT_EQ(5, StreamRead(*stream, five, 5));
    EXPECT_EQ(0, std::memcmp(five, bytes.data() + 20480, 5));
    EXPECT_EQ(69997, StreamSeek(*stream, -3, FromEnd));
    EXPECT_EQ(3, StreamRead(*stream, five, 5));
    EXPECT_EQ(0, StreamWrite(*stream, "abc", 3));
    EXPECT_EQ(bytes, scratch::ReadWholeFile(scratch.Path("carrier.exe")));
}

TEST_F(ByteStreamTest, WriteStreamNeverOpensAnExistingFileAndEndsItAfterEachWrite) {
    const std::string existing = scratch.WriteFile("out.doc", std::string(5000, 'o'));
    ByteStreamPtr refused = CreateFileStreamForWrite(existing);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_EQ(0, StreamWrite(*refused, "0123456789", 10));
    FreeStream(refused);
    EXPECT_EQ(std::string(5000, 'o'), scratch::ReadWholeFile(existing));

    const std::string path = scratch.Path("new.doc");
    ByteStreamPtr stream = CreateFileStreamForWrite(path);
    EXPECT_EQ(0, StreamSize(*stream));
    EXPECT_EQ(10, StreamWrite(*stream, "0123456789", 10));
    EXPECT_EQ(5, StreamSeek(*stream, 5, FromBeginning));
    EXPECT_EQ(2, StreamWrite(*stream, "ab", 2));
    char buffer[4];
    EXPECT_EQ(0, StreamRead(*stream, buffer, 4));
    EXPECT_EQ(7, StreamSize(*stream));
    EXPECT_TRUE(FreeStream(stream));
    EXPECT_EQ("01234ab", scratch::ReadWholeFile(path));
}

TEST_F(ByteStreamTest, FreeStreamClosesTheFile) {
    const std::string path = scratch.WriteFile("carrier.exe", "MZ");
    ByteStreamPtr stream = OpenFileStreamForRead(path);
    EXPECT_FALSE(DeleteFileA(path.c_str()));  // open without delete sharing
    EXPECT_TRUE(FreeStream(stream));
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST_F(ByteStreamTest, MemoryStreamGrowsInSteps) {
    ByteStreamPtr stream = NewMemoryStream();
    EXPECT_EQ(0, StreamSize(*stream));
    EXPECT_EQ(0u, stream->Capacity);
    EXPECT_FALSE(stream->Memory);

    EXPECT_EQ(10, StreamWrite(*stream, "0123456789", 10));
    EXPECT_EQ(16384u, stream->Capacity);
    EXPECT_EQ(100, StreamSeek(*stream, 100, FromBeginning));
    EXPECT_EQ(100, StreamSize(*stream));
    EXPECT_EQ(16384u, stream->Capacity);

    ByteStreamPtr exact = NewMemoryStream();
    const std::string block = Pattern(16384);
    EXPECT_EQ(16384, StreamWrite(*exact, block.data(), 16384));
    EXPECT_EQ(32768u, exact->Capacity);
    EXPECT_EQ(1, StreamWrite(*exact, "x", 1));
    EXPECT_EQ(32768u, exact->Capacity);
    EXPECT_EQ(block + "x", ReadAll(*exact));

    // The capacity shrinks only to nothing.
    EXPECT_TRUE(exact->Operations.SetSize(*exact, 10));
    EXPECT_EQ(32768u, exact->Capacity);
    EXPECT_EQ(10, StreamPosition(*exact));
    EXPECT_TRUE(exact->Operations.SetSize(*exact, 0));
    EXPECT_EQ(0u, exact->Capacity);
    EXPECT_FALSE(exact->Memory);
}

TEST_F(ByteStreamTest, MemoryStreamSeeksAndReadsWithinItsSize) {
    ByteStreamPtr stream = NewMemoryStream();
    const std::string bytes = Pattern(70000);
    ASSERT_EQ(70000, StreamWrite(*stream, bytes.data(), 70000));
    EXPECT_EQ(4464, StreamSeek(*stream, -65536, FromEnd));
    EXPECT_EQ(4474, StreamSeek(*stream, 10, FromCurrent));
    EXPECT_EQ(69997, StreamSeek(*stream, 69997, FromBeginning));
    char buffer[10];
    EXPECT_EQ(3, StreamRead(*stream, buffer, 10));
    EXPECT_EQ(0, std::memcmp(buffer, bytes.data() + 69997, 3));
    EXPECT_EQ(0, StreamRead(*stream, buffer, 10));

    // A position before the start is refused and the position kept.
    EXPECT_EQ(-1, StreamSeek(*stream, -1, FromBeginning));
    EXPECT_EQ(-1, StreamSeek(*stream, -70001, FromEnd));
    EXPECT_EQ(70000, StreamPosition(*stream));
    EXPECT_EQ(-1, StreamSeek(*stream, 0x7FFFFFFF, FromCurrent));
    EXPECT_EQ(70000, StreamSize(*stream));
}

TEST_F(ByteStreamTest, CopiesFromAFileIntoAFreshMemoryStreamWithOneWrite) {
    const std::string bytes = Pattern(100000);
    ByteStreamPtr in = OpenFileStreamForRead(scratch.WriteFile("carrier.exe", bytes));
    ByteStreamPtr out = NewMemoryStream();
    ASSERT_EQ(20480, StreamSeek(*in, 20480, FromBeginning));
    EXPECT_EQ(79520, CopyStreamBytes(*out, *in, StreamSize(*in) - 20480));
    EXPECT_EQ((79520u | 16383u) + 1, out->Capacity);  // one write, one growth
    EXPECT_EQ(bytes.substr(20480), ReadAll(*out));
    EXPECT_EQ(100000, StreamPosition(*in));
}

TEST_F(ByteStreamTest, CopiesIntoAnExistingMemoryBlockAtItsPosition) {
    const std::string bytes = Pattern(3000);
    ByteStreamPtr in = OpenFileStreamForRead(scratch.WriteFile("carrier.exe", bytes));
    ByteStreamPtr out = NewMemoryStream();
    ASSERT_EQ(6, StreamWrite(*out, "header", 6));
    EXPECT_EQ(3, StreamSeek(*out, 3, FromBeginning));
    EXPECT_EQ(3000, CopyStreamBytes(*out, *in, 3000));
    EXPECT_EQ(3003, StreamPosition(*out));
    EXPECT_EQ("hea" + bytes, ReadAll(*out));

    // Asking for more than the file holds: the size covers only what arrived.
    StreamSeek(*in, 1000, FromBeginning);
    StreamSeek(*out, 0, FromEnd);
    EXPECT_EQ(2000, CopyStreamBytes(*out, *in, 50000));
    EXPECT_EQ(5003, StreamSize(*out));
    EXPECT_EQ("hea" + bytes + bytes.substr(1000), ReadAll(*out));
}

TEST_F(ByteStreamTest, CopiesFromMemoryUpToItsEnd) {
    ByteStreamPtr source = NewMemoryStream();
    ByteStreamPtr dest = NewMemoryStream();
    StreamWrite(*source, "0123456789", 10);
    StreamSeek(*source, 4, FromBeginning);
    EXPECT_EQ(6, CopyStreamBytes(*dest, *source, 100));
    EXPECT_EQ(10, StreamPosition(*source));
    EXPECT_EQ("456789", ReadAll(*dest));
    EXPECT_EQ(0, CopyStreamBytes(*dest, *source, 5));
    EXPECT_EQ(0, CopyStreamBytes(*dest, *dest, 5));
}

TEST_F(ByteStreamTest, SaveWritesANewFileKeepsThePositionAndNeverReplaces) {
    ByteStreamPtr stream = NewMemoryStream();
    const std::string bytes = Pattern(40000);
    StreamWrite(*stream, bytes.data(), 40000);
    StreamSeek(*stream, 123, FromBeginning);
    const std::string path = scratch.Path("report.doc");
    EXPECT_TRUE(SaveStreamToFile(*stream, path, 0, StreamSize(*stream)));
    EXPECT_EQ(123, StreamPosition(*stream));
    EXPECT_EQ(bytes, scratch::ReadWholeFile(path));

    EXPECT_FALSE(SaveStreamToFile(*stream, path, 39990, 10));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_EQ(bytes, scratch::ReadWholeFile(path));
    EXPECT_TRUE(SaveStreamToFile(*stream, scratch.Path("tail.doc"), 39990, 10));
    EXPECT_EQ(bytes.substr(39990), scratch::ReadWholeFile(scratch.Path("tail.doc")));
    EXPECT_TRUE(SaveStreamToFile(*stream, scratch.Path("empty.doc"), 40000, 0));
    EXPECT_TRUE(scratch::FileExists(scratch.Path("empty.doc")));
    EXPECT_EQ("", scratch::ReadWholeFile(scratch.Path("empty.doc")));
    EXPECT_EQ(123, StreamPosition(*stream));
}

TEST_F(ByteStreamTest, SaveFromAFileStream) {
    const std::string bytes = Pattern(50000);
    ByteStreamPtr in = OpenFileStreamForRead(scratch.WriteFile("carrier.exe", bytes));
    StreamSeek(*in, 7, FromBeginning);
    EXPECT_TRUE(SaveStreamToFile(*in, scratch.Path("carrier.doc"), 1000, 49000));
    EXPECT_EQ(bytes.substr(1000), scratch::ReadWholeFile(scratch.Path("carrier.doc")));
    EXPECT_EQ(7, StreamPosition(*in));
}

// A save that does not put every byte into a created file reports it, with the
// platform's reason, and leaves the stream where it was.
TEST_F(ByteStreamTest, SaveReportsEveryFailure) {
    ByteStreamPtr stream = NewMemoryStream();
    StreamWrite(*stream, "document", 8);
    StreamSeek(*stream, 2, FromBeginning);

    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("no-folder\\report.doc"), 0, 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError());
    EXPECT_EQ(2, StreamPosition(*stream));

    // The output name is the carrier's own, still open for reading: the carrier survives.
    const std::string carrier = scratch.WriteFile("report.doc", "MZ carrier");
    ByteStreamPtr in = OpenFileStreamForRead(carrier);
    EXPECT_FALSE(SaveStreamToFile(*stream, carrier, 0, 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), GetLastError());
    FreeStream(in);
    EXPECT_EQ("MZ carrier", scratch::ReadWholeFile(carrier));

    // A folder of that name.
    ASSERT_TRUE(CreateDirectoryA(scratch.Path("folder.doc").c_str(), nullptr));
    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("folder.doc"), 0, 8));
    EXPECT_NE(static_cast<DWORD>(NO_ERROR), GetLastError());
    EXPECT_TRUE(scratch::FolderExists(scratch.Path("folder.doc")));
    RemoveDirectoryA(scratch.Path("folder.doc").c_str());

    // Fewer bytes than asked for: the save fails and leaves no partial file behind.
    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("short.doc"), 4, 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_HANDLE_EOF), GetLastError());
    EXPECT_FALSE(scratch::FileExists(scratch.Path("short.doc")));
    EXPECT_EQ(2, StreamPosition(*stream));

    // Bad arguments create no file.
    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("bad.doc"), 9, 0));
    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("bad.doc"), -1, 2));
    EXPECT_FALSE(SaveStreamToFile(*stream, scratch.Path("bad.doc"), 0, -2));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(scratch::FileExists(scratch.Path("bad.doc")));
    EXPECT_EQ(8, StreamSize(*stream));
    EXPECT_EQ(2, StreamPosition(*stream));
}

TEST_F(ByteStreamTest, RunningOutOfMemoryGivesShortCounts) {
    const std::string bytes = Pattern(200000);
    ByteStreamPtr in = OpenFileStreamForRead(scratch.WriteFile("carrier.exe", bytes));
    ByteStreamPtr out = NewMemoryStream();
    ASSERT_EQ(10, StreamWrite(*out, "0123456789", 10));
    {
        MemoryLimit limit(65536);
        // Growing the block.
        EXPECT_EQ(0, StreamWrite(*out, bytes.data(), 100000));
        EXPECT_EQ(-1, StreamSeek(*out, 100000, FromBeginning));
        EXPECT_EQ(10, StreamSize(*out));
        EXPECT_EQ(10, StreamPosition(*out));
        EXPECT_EQ(16384u, out->Capacity);
        EXPECT_EQ(0, CopyStreamBytes(*out, *in, 100000));
        EXPECT_EQ("0123456789", ReadAll(*out));

        // The temporary buffer of a copy into a fresh memory stream, and of a save.
        ByteStreamPtr fresh = NewMemoryStream();
        StreamSeek(*in, 0, FromBeginning);
        EXPECT_EQ(0, CopyStreamBytes(*fresh, *in, 200000));
        EXPECT_EQ(0, StreamSize(*fresh));
        EXPECT_FALSE(SaveStreamToFile(*in, scratch.Path("carrier.doc"), 0, 200000));
        EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());

        // Small enough still works.
        EXPECT_EQ(30000, CopyStreamBytes(*fresh, *in, 30000));
    }
    EXPECT_EQ(100000, StreamWrite(*out, bytes.data(), 100000));
    EXPECT_EQ(100010, StreamSize(*out));
}

TEST_F(ByteStreamTest, FilesOfTwoGigabytesOrMoreReportNoSize) {
    ASSERT_TRUE(scratch::WriteSparseFile(scratch.Path("huge.exe"), (int64_t(1) << 32) + 100, "MZ"));
    ASSERT_TRUE(scratch::WriteSparseFile(scratch.Path("big.exe"), (int64_t(1) << 31), "MZ"));
    ASSERT_TRUE(scratch::WriteSparseFile(scratch.Path("largest.exe"), 0x7FFFFFFF, "MZ"));
    ByteStreamPtr huge = OpenFileStreamForRead(scratch.Path("huge.exe"));
    EXPECT_EQ(0, StreamSize(*huge));
    EXPECT_EQ((int64_t(1) << 32) + 100, StreamSize64(*huge));
    EXPECT_EQ(-1, StreamSeek(*huge, 0x7FFFFFFF, FromEnd));
    ByteStreamPtr big = OpenFileStreamForRead(scratch.Path("big.exe"));
    EXPECT_EQ(0, StreamSize(*big));
    EXPECT_EQ(int64_t(1) << 31, StreamSize64(*big));
    EXPECT_EQ(-1, StreamSeek(*big, 0, FromEnd));
    EXPECT_EQ(0, StreamPosition(*big));
    ByteStreamPtr largest = OpenFileStreamForRead(scratch.Path("largest.exe"));
    EXPECT_EQ(0x7FFFFFFF, StreamSize(*largest));
}

}  // namespace
