#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control/StringList.h"
#include "recovery/ByteStream.h"
#include "recovery/DocumentType.h"
#include "recovery/FindFast.h"
#include "recovery/LocateDocument.h"
#include "recovery/ProgramImage.h"
#include "recovery/RestoreWindow.h"
#include "support/CarrierFiles.h"
#include "support/MidRunActions.h"
#include "support/ScratchFolder.h"

namespace {

using carriers::Ole2Bytes;

class LocateDocumentTest : public ::testing::Test {
protected:
    LocateDocumentTest() { window_.OffsetList = NewStringList(); }
    ~LocateDocumentTest() override { window_.OffsetList->Release(); }

    std::string Write(const std::string& name, const std::string& bytes) {
        return folder_.WriteFile(name, bytes);
    }
    std::vector<std::string> Offsets() const { return window_.OffsetList->Items; }

    scratch::ScratchFolder folder_{"qf-locate"};
    RestoreWindow window_;
};

TEST_F(LocateDocumentTest, OfficeDocumentYieldsZeroAndIsListedOnce) {
    const std::string path = Write("letter.doc", carriers::TestDocument("letter.doc"));
    EXPECT_EQ(LocateDocument(&window_, path), 0);
    EXPECT_EQ(LocateDocument(&window_, path), 0);
    EXPECT_EQ(Offsets(), std::vector<std::string>({"0"}));
}

TEST_F(LocateDocumentTest, EveryNewOffsetIsAppendedInTheOrderFound) {
    const std::string document = carriers::TestDocument("budget.xls");
    const std::string a = Write("a.exe", carriers::Carrier(20480, document));
    const std::string b = Write("b.exe", carriers::Carrier(20480, document));
    const std::string c = Write("c.exe", carriers::Carrier(8192, document));
    EXPECT_EQ(LocateDocument(&window_, a), 20480);
    EXPECT_EQ(LocateDocument(&window_, b), 20480);
    EXPECT_EQ(LocateDocument(&window_, c), 8192);
    EXPECT_EQ(Offsets(), std::vector<std::string>({"20480", "8192"}));
}

TEST_F(LocateDocumentTest, FilesWithoutSignatureLeaveOneMinusOneEntry) {
    const std::string a = Write("a.exe", carriers::ExecutableBody(30000));
    const std::string b = Write("b.exe", carriers::ExecutableBody(12345));
    const std::string missing = folder_.Path("missing.exe");
    EXPECT_EQ(LocateDocument(&window_, a), -1);
    EXPECT_EQ(LocateDocument(&window_, b), -1);
    EXPECT_EQ(LocateDocument(&window_, missing), -1);
    EXPECT_EQ(Offsets(), std::vector<std::string>({"-1"}));
}

TEST_F(LocateDocumentTest, TheFirstOfTwoSignaturesWins) {
    std::string bytes = carriers::ExecutableBody(40000);
    bytes.replace(36000, 5, Ole2Bytes);
    bytes.replace(33000, 5, Ole2Bytes);
    const std::string path = Write("twice.exe", bytes);
    EXPECT_EQ(LocateDocument(&window_, path), 33000);
}

TEST_F(LocateDocumentTest, OnePendingMessageIsHandledBeforeTheScan) {
    const std::string path = Write("letter.doc", carriers::TestDocument("letter.doc"));
    MidRunActions actions;
    bool handled = false;
    actions.When([] { return true; }, [&] { handled = true; });
    LocateDocument(&window_, path);
    EXPECT_TRUE(handled);
}

TEST_F(LocateDocumentTest, WithoutAListTheOffsetIsStillFound) {
    const std::string path =
        Write("a.exe", carriers::Carrier(4096, carriers::TestDocument("letter.doc")));
    RestoreWindow bare;
    EXPECT_EQ(LocateDocument(&bare, path), 4096);
    EXPECT_FALSE(IsOffsetListed(&bare, 4096));
}

TEST_F(LocateDocumentTest, ListedOffsetsCompareAsCanonicalDecimalTexts) {
    StringListAdd(window_.OffsetList, "+5");
    StringListAdd(window_.OffsetList, "07");
    StringListAdd(window_.OffsetList, "-1");
    StringListAdd(window_.OffsetList, "20480");
    EXPECT_FALSE(IsOffsetListed(&window_, 5));
    EXPECT_FALSE(IsOffsetListed(&window_, 7));
    EXPECT_TRUE(IsOffsetListed(&window_, -1));
    EXPECT_TRUE(IsOffsetListed(&window_, 20480));
    EXPECT_FALSE(IsOffsetListed(&window_, 2048));
}

// ContainsTypeWord looks at the last 65,536 bytes of a stream only.
class TypeWordTest : public ::testing::Test {
protected:
    // A memory stream of size neutral bytes with word written at offset.
    static ByteStreamPtr StreamWith(int32_t size, int32_t offset, const std::string& word) {
        std::string bytes = carriers::NeutralBytes(static_cast<size_t>(size), 7);
        if (offset >= 0) {
            bytes.replace(static_cast<size_t>(offset), word.size(), word);
        }
        ByteStreamPtr stream = NewMemoryStream();
        StreamWrite(*stream, bytes.data(), static_cast<int32_t>(bytes.size()));
        return stream;
    }
    static bool Contains(int32_t size, int32_t offset, const std::string& word) {
        ByteStreamPtr stream = StreamWith(size, offset, word);
        return ContainsTypeWord(stream.get(), word.data());
    }
};

TEST_F(TypeWordTest, AStreamOfUpTo65536BytesIsSearchedWhole) {
    EXPECT_TRUE(Contains(65536, 0, "Word"));
    EXPECT_TRUE(Contains(100, 0, "Exce"));
    EXPECT_TRUE(Contains(4, 0, "Word"));
    EXPECT_FALSE(Contains(65536, -1, "Word"));
}

TEST_F(TypeWordTest, OnlyTheLast65536BytesOfALongerStreamCount) {
    EXPECT_FALSE(Contains(65537, 0, "Word"));
    EXPECT_TRUE(Contains(65537, 1, "Word"));
    // Straddling the start of the searched part: its first byte lies outside.
    EXPECT_FALSE(Contains(200000, 200000 - 65537, "Word"));
    EXPECT_TRUE(Contains(200000, 200000 - 65536, "Word"));
    EXPECT_TRUE(Contains(200000, 200000 - 4, "Exce"));
    EXPECT_FALSE(Contains(200000, 1000, "Exce"));
}

TEST_F(TypeWordTest, ZeroBytesOfTheUtf16WordTakePartInTheComparison) {
    const std::string utf16("W\0o\0", 4);
    EXPECT_TRUE(Contains(5000, 4000, utf16));
    ByteStreamPtr almost = StreamWith(5000, 4000, std::string("W\0oX", 4));
    EXPECT_FALSE(ContainsTypeWord(almost.get(), utf16.data()));
}

TEST_F(TypeWordTest, WordsAreFoundInFileStreamsAsWell) {
    scratch::ScratchFolder folder("qf-typeword");
    std::string bytes = carriers::NeutralBytes(90000, 3);
    bytes.replace(89000, 4, "Exce");
    const std::string path = folder.WriteFile("book.bin", bytes);
    ByteStreamPtr stream = OpenFileStreamForRead(path);
    EXPECT_TRUE(ContainsTypeWord(stream.get(), "Exce"));
    EXPECT_FALSE(ContainsTypeWord(stream.get(), "Word"));
}

TEST_F(TypeWordTest, AnEmptyStreamHoldsNoWord) {
    ByteStreamPtr stream = NewMemoryStream();
    EXPECT_FALSE(ContainsTypeWord(stream.get(), "Word"));
    EXPECT_FALSE(ContainsTypeWord(nullptr, "Word"));
}

}  // namespace

namespace {

class ProgramImageTest : public ::testing::Test {
protected:
    int64_t ImageEnd(const std::string& bytes) {
        ByteStreamPtr file = OpenFileStreamForRead(folder_.WriteFile("file.bin", bytes));
        return ProgramImageEnd(*file);
    }
    scratch::ScratchFolder folder_{"qf-image"};
};

TEST_F(ProgramImageTest, AProgramsImageEndsAfterItsLastSectionOnDisk) {
    const std::string body = carriers::ProgramBody(30000);
    EXPECT_EQ(ImageEnd(body), 30000);
    EXPECT_EQ(ImageEnd(body + carriers::TestDocument("letter.doc")), 30000);
    const std::string installer =
        carriers::ProgramEmbedding(50000, carriers::TestDocument("letter.doc"));
    EXPECT_EQ(ImageEnd(installer), static_cast<int64_t>(installer.size()));
}

TEST_F(ProgramImageTest, FilesThatAreNoValidProgramHaveNoImage) {
    std::string body = carriers::ProgramBody(30000);
    EXPECT_EQ(ImageEnd(carriers::TestDocument("letter.doc")), 0);
    EXPECT_EQ(ImageEnd("MZ"), 0);
    EXPECT_EQ(ImageEnd(body.substr(0, 200)), 0) << "the section table is cut off";
    std::string noPe = body;
    noPe[0x80] = 'X';
    EXPECT_EQ(ImageEnd(noPe), 0);
    std::string farHeader = body;
    const int32_t outside = 1 << 20;
    std::memcpy(&farHeader[0x3C], &outside, sizeof outside);
    EXPECT_EQ(ImageEnd(farHeader), 0);
    // A program cut short still claims its whole image: nothing in it counts as appended.
    EXPECT_EQ(ImageEnd(body.substr(0, 20000)), 30000);
}

TEST(FindPatternInFile, TheScanCanStartAtAnOffset) {
    scratch::ScratchFolder folder("qf-findfrom");
    const std::string bytes =
        std::string(1000, 'a') + Ole2Bytes + std::string(70000, 'b') + Ole2Bytes + "end";
    const std::string path = folder.WriteFile("two.bin", bytes);
    const int32_t second = static_cast<int32_t>(bytes.rfind(Ole2Bytes));
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, 0), 1000);
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, 1000), 1000);
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, 1001), second);
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, second + 1), -1);
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, static_cast<int32_t>(bytes.size())), -1);
    EXPECT_EQ(FindPatternInFile(path, Ole2Bytes, true, -1), -1);
}

}  // namespace
