#include "recovery/FindFast.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "recovery/ByteStream.h"
#include "support/DocumentSignatures.h"
#include "support/ScratchFolder.h"
#include "support/SparseFile.h"

namespace {

using carriers::Ole2Bytes;
using scratch::WriteSparseFile;

// The search as the module defines it, on the file's bytes held in memory: chunks
// of 32,768 bytes starting at FileSize - Remaining, each closed by a NUL and read
// as NUL-terminated segments; in the case-insensitive mode each segment and the
// pattern are upper-cased with CharUpperA; a plain substring search per segment;
// the next chunk starts pattern-length bytes before the end of the previous one.
int32_t ReferenceFind(const std::string& data, const std::string& pattern, bool caseSensitive) {
    std::string wanted(pattern.c_str());
    if (wanted.empty()) {
        return -1;
    }
    if (!caseSensitive) {
        CharUpperA(&wanted[0]);
    }
    const int32_t fileSize = static_cast<int32_t>(data.size());
    int32_t remaining = fileSize;
    std::vector<char> chunk(32769);
    while (remaining > 0) {
        const int32_t chunkLength = remaining <= 32768 ? remaining : 32768;
        std::memcpy(chunk.data(), data.data() + (fileSize - remaining), chunkLength);
        chunk[chunkLength] = '\0';
        char* segment = chunk.data();
        while (segment < chunk.data() + chunkLength) {
            if (!caseSensitive) {
                CharUpperA(segment);
            }
            const char* match = std::strstr(segment, wanted.c_str());
            if (match != nullptr) {
                return (fileSize - remaining) + static_cast<int32_t>(match - chunk.data());
            }
            segment += std::strlen(segment) + 1;
        }
        remaining -= chunkLength;
        if (remaining > 0) {
            remaining += static_cast<int32_t>(wanted.size());
        }
    }
    return -1;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
        text += ' ';
    }
    return text;
}

char ChangeCase(char c, bool upper) {
    char text[2] = {c, '\0'};
    if (upper) {
        CharUpperA(text);
    } else {
        CharLowerA(text);
    }
    return text[0];
}

class FindFastTest : public ::testing::Test {
protected:
    int32_t Find(const std::string& data, const std::string& pattern, bool caseSensitive = true) {
        return FindPatternInFile(scratch.WriteFile("data.bin", data), pattern, caseSensitive);
    }

    scratch::ScratchFolder scratch{"qf-recovery"};
};

TEST_F(FindFastTest, FindsOccurrencesAtTheStartTheEndAndBetweenNuls) {
    std::string data(1000, 'x');
    data.replace(0, 5, Ole2Bytes);
    EXPECT_EQ(0, Find(data, Ole2Bytes));

    data = std::string(1000, 'x') + Ole2Bytes;
    EXPECT_EQ(1000, Find(data, Ole2Bytes));

    data = std::string(300, '\0') + Ole2Bytes + std::string(300, '\0');
    EXPECT_EQ(300, Find(data, Ole2Bytes));

    data = std::string(100, 'x') + Ole2Bytes + std::string(100, 'y') + Ole2Bytes;
    EXPECT_EQ(100, Find(data, Ole2Bytes));
}

TEST_F(FindFastTest, FindsOccurrencesStraddlingChunkBoundaries) {
    std::string data(40000, 'x');
    data.replace(32766, 5, Ole2Bytes);
    EXPECT_EQ(32766, Find(data, Ole2Bytes));

    // Exactly one chunk, and one byte more: the last five bytes of the file.
    data.assign(32768, 'x');
    data.replace(32763, 5, Ole2Bytes);
    EXPECT_EQ(32763, Find(data, Ole2Bytes));
    data.assign(32769, 'x');
    data.replace(32764, 5, Ole2Bytes);
    EXPECT_EQ(32764, Find(data, Ole2Bytes));

    // Third chunk boundary: chunks start every 32,768 - 5 bytes.
    data.assign(120000, 'x');
    data.replace(3 * 32763 + 2, 5, Ole2Bytes);
    EXPECT_EQ(3 * 32763 + 2, Find(data, Ole2Bytes));
}

TEST_F(FindFastTest, FindsNothingWhereNothingMatches) {
    EXPECT_EQ(-1, Find(Ole2Bytes.substr(0, 4), Ole2Bytes));  // shorter than the pattern
    EXPECT_EQ(-1, Find("", Ole2Bytes));                      // empty file
    EXPECT_EQ(-1, Find(Ole2Bytes.substr(0, 3) + '\0' + Ole2Bytes.substr(3) + " padding",
                       Ole2Bytes));  // cut by a NUL
    EXPECT_EQ(-1, Find(std::string(70000, 'x'), Ole2Bytes));
    EXPECT_EQ(-1, FindPatternInFile(scratch.Path("missing.bin"), Ole2Bytes, true));
    EXPECT_EQ(-1, FindPatternInFile("", Ole2Bytes, true));
    EXPECT_EQ(-1, Find("abc", ""));
    EXPECT_EQ(-1, Find("abc", std::string("\0abc", 4)));
}

TEST_F(FindFastTest, PatternEndsAtItsFirstNul) {
    EXPECT_EQ(4, Find("xxxxabzz", std::string("ab\0cd", 5)));
    EXPECT_EQ(-1, Find("xxxxaxb", std::string("ab\0", 3)));
}

TEST_F(FindFastTest, CaseInsensitiveModeUpperCasesPatternAndData) {
    const std::string data = std::string(50, 'x') + "Word" + std::string(10, '\0') + "WORD";
    EXPECT_EQ(64, Find(data, "WORD", true));
    EXPECT_EQ(50, Find(data, "word", false));
    EXPECT_EQ(50, Find(data, "wOrD", false));
    EXPECT_EQ(-1, Find(std::string(10, 'x') + "word", "WORD", true));
}

TEST_F(FindFastTest, CaseInsensitiveScanLeavesTheFileUnchanged) {
    std::string data(70000, 'a');
    data[40000] = '\0';
    const std::string path = scratch.WriteFile("lower.bin", data);
    EXPECT_EQ(-1, FindPatternInFile(path, "ZZ", false));
    EXPECT_EQ(data, scratch::ReadWholeFile(path));
}

TEST_F(FindFastTest, PatternsOfAChunkOrLongerAreRefused) {
    const std::string data(40000, 'a');
    EXPECT_EQ(-1, Find(data, std::string(32768, 'a')));
    EXPECT_EQ(-1, Find(data, std::string(40000, 'a')));

    // The longest accepted pattern still advances through the file.
    std::string late(40000, 'b');
    late.replace(40000 - 32000, 32000, std::string(32000, 'a'));
    EXPECT_EQ(8000, Find(late, std::string(32000, 'a')));
    EXPECT_EQ(0, Find(data, std::string(32767, 'a')));
}

TEST_F(FindFastTest, ScansAFileThatTheRestoreHoldsOpenForReading) {
    const std::string path = scratch.WriteFile("carrier.exe", std::string(20480, 'M') + Ole2Bytes);
    ByteStreamPtr held = OpenFileStreamForRead(path);
    ASSERT_EQ(20485, StreamSize(*held));
    EXPECT_EQ(20480, FindPatternInFile(path, Ole2Bytes, true));
}

TEST_F(FindFastTest, FilesOfTwoGigabytesOrMoreAreRefused) {
    // The low half of 4 GiB + 100 is 100: the pattern at offset 10 must not be reported.
    const std::string head = std::string(10, 'x') + Ole2Bytes;
    ASSERT_TRUE(WriteSparseFile(scratch.Path("huge.bin"), (int64_t(1) << 32) + 100, head));
    EXPECT_EQ(-1, FindPatternInFile(scratch.Path("huge.bin"), Ole2Bytes, true));
    ASSERT_TRUE(WriteSparseFile(scratch.Path("big.bin"), (int64_t(1) << 31) + 1, head));
    EXPECT_EQ(-1, FindPatternInFile(scratch.Path("big.bin"), Ole2Bytes, true));
}

// Generated files: sizes around chunk boundaries, bytes from small alphabets with
// NUL runs and letters whose upper case differs, patterns planted across the
// boundaries where chunks overlap, in mixed case.
TEST_F(FindFastTest, MatchesTheDefinitionOnGeneratedFiles) {
    std::mt19937 random(20240611u);
    const std::vector<std::string> alphabets = {
        std::string("aAbB\0\0\0", 7),
        std::string("ab\0", 3),
        std::string("xyzXYZ\xE0\xC0\xFF\x9F\xB5\xDF\0", 13),
        Ole2Bytes + '\0',
    };
    const std::vector<int32_t> sizes = {0,     1,     4,     5,     6,     32763,
                                        32767, 32768, 32769, 32773, 65525, 65530,
                                        65536, 65537, 98289, 98304, 98310};
    const std::string path = scratch.Path("generated.bin");
    int matched = 0;
    for (int round = 0; round < 600; ++round) {
        const std::string& alphabet = alphabets[random() % alphabets.size()];
        const bool anyBytes = round % 7 == 0;
        int32_t size = round % 3 == 0 ? sizes[random() % sizes.size()]
                                      : static_cast<int32_t>(random() % 140000);

        const int32_t patternLength = 1 + static_cast<int32_t>(random() % 9);
        std::string pattern;
        for (int32_t i = 0; i < patternLength; ++i) {
            char c = '\0';
            while (c == '\0') {
                c = anyBytes ? static_cast<char>(random() % 256)
                             : alphabet[random() % alphabet.size()];
            }
            pattern += c;
        }
        if (random() % 10 == 0) {
            pattern += std::string(1, '\0') + "tail";
        }

        std::string data(static_cast<size_t>(size), '\0');
        const uint32_t nulPercent = random() % 60;
        for (char& c : data) {
            if (random() % 100 < nulPercent) {
                c = '\0';
            } else {
                c = anyBytes ? static_cast<char>(random() % 256)
                             : alphabet[random() % alphabet.size()];
            }
        }
        const int32_t length = static_cast<int32_t>(std::strlen(pattern.c_str()));
        const int plants = static_cast<int>(random() % 4);
        for (int p = 0; p < plants && size >= length; ++p) {
            int32_t at = static_cast<int32_t>(random() % (size - length + 1));
            if (random() % 2 == 0) {
                // Around the end of chunk k, which starts at k * (32,768 - length).
                const int32_t k = static_cast<int32_t>(random() % 4);
                at = k * (32768 - length) + 32768 - static_cast<int32_t>(random() % (length + 2));
                if (at < 0 || at > size - length) {
                    continue;
                }
            }
            for (int32_t i = 0; i < length; ++i) {
                char c = pattern[i];
                if (random() % 3 == 0) {
                    c = ChangeCase(c, random() % 2 == 0);
                }
                data[at + i] = c;
            }
        }

        scratch.WriteFile("generated.bin", data);
        for (const bool caseSensitive : {true, false}) {
            SCOPED_TRACE("round " + std::to_string(round) + ", size " + std::to_string(size) +
                         ", pattern " + Hex(pattern) + (caseSensitive ? "" : ", any case"));
            const int32_t expected = ReferenceFind(data, pattern, caseSensitive);
            ASSERT_EQ(expected, FindPatternInFile(path, pattern, caseSensitive));
            if (caseSensitive) {
                const size_t plain = data.find(pattern.c_str());
                ASSERT_EQ(plain == std::string::npos ? -1 : static_cast<int32_t>(plain), expected);
            }
            matched += expected >= 0 ? 1 : 0;
        }
    }
    // The generator must exercise both outcomes.
    EXPECT_GT(matched, 200);
    EXPECT_LT(matched, 1100);
}

}  // namespace
