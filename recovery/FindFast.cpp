#include "recovery/FindFast.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "control/UniqueHandle.h"
#include "search/ExactPath.h"

#if defined(_M_X64) || defined(__x86_64__)
#define QF_FIND_FAST_X64 1
#include <immintrin.h>
#include <intrin.h>
#endif

// Wider comparisons for processors that have them, chosen at run time; the
// compiler is told per function that it may use them there.
#if defined(__GNUC__)
#define QF_TARGET_AVX2 __attribute__((target("avx2")))
#define QF_TARGET_XSAVE __attribute__((target("xsave")))
#else
#define QF_TARGET_AVX2
#define QF_TARGET_XSAVE
#endif

namespace {

#if QF_FIND_FAST_X64
int32_t LowestBit(uint64_t mask) {
    unsigned long index = 0;
    _BitScanForward64(&index, mask);
    return static_cast<int32_t>(index);
}

QF_TARGET_XSAVE bool SystemSavesWideRegisters() {
    return (_xgetbv(0) & 6) == 6;
}

// True when the processor has AVX2 and the system preserves its registers.
bool HasAvx2() {
    int info[4] = {};
    __cpuid(info, 0);
    if (info[0] < 7) {
        return false;
    }
    __cpuid(info, 1);
    const bool osSaves = (info[2] & (1 << 27)) != 0;
    const bool avx = (info[2] & (1 << 28)) != 0;
    if (!osSaves || !avx || !SystemSavesWideRegisters()) {
        return false;
    }
    __cpuidex(info, 7, 0);
    return (info[1] & (1 << 5)) != 0;
}
#endif

// Index of the first byte equal to value in data[0, size), or -1.
int32_t FindByte(const uint8_t* data, int32_t size, uint8_t value) {
    int32_t i = 0;
#if QF_FIND_FAST_X64
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(value));
    for (; i + 32 <= size; i += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16));
        const uint32_t mask =
            static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, wanted))) |
            (static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, wanted))) << 16);
        if (mask != 0) {
            return i + LowestBit(mask);
        }
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == value) {
            return i;
        }
    }
    return -1;
}

// True when pattern[0, length) starts at data[at], given that its first and last
// bytes are already known to match.
bool MiddleMatches(const uint8_t* data, int32_t at, const uint8_t* pattern, int32_t length) {
    return length <= 2 ||
           std::memcmp(data + at + 1, pattern + 1, static_cast<size_t>(length - 2)) == 0;
}

// Leftmost occurrence of pattern[0, length) in data starting at from..lastStart, or -1.
int32_t FindBytesPlain(const uint8_t* data, int32_t from, int32_t lastStart, const uint8_t* pattern,
                       int32_t length) {
    const uint8_t first = pattern[0];
    const uint8_t last = pattern[length - 1];
    for (int32_t i = from; i <= lastStart; ++i) {
        if (data[i] == first && data[i + length - 1] == last &&
            MiddleMatches(data, i, pattern, length)) {
            return i;
        }
    }
    return -1;
}

// The vector searches below look at 64 starting positions per step: a position is
// a candidate when the pattern's first and last bytes both match there, and only
// candidates are compared in full. The rest is left to FindBytesPlain.
#if QF_FIND_FAST_X64
int32_t FindBytesSse2(const uint8_t* data, int32_t lastStart, const uint8_t* pattern,
                      int32_t length) {
    const __m128i firstBytes = _mm_set1_epi8(static_cast<char>(pattern[0]));
    const __m128i lastBytes = _mm_set1_epi8(static_cast<char>(pattern[length - 1]));
    const uint8_t* tail = data + length - 1;
    int32_t i = 0;
    for (; i + 63 <= lastStart; i += 64) {
        __m128i matches[4];
        for (int part = 0; part < 4; ++part) {
            const __m128i head =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16 * part));
            const __m128i end =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(tail + i + 16 * part));
            matches[part] =
                _mm_and_si128(_mm_cmpeq_epi8(head, firstBytes), _mm_cmpeq_epi8(end, lastBytes));
        }
        const __m128i any = _mm_or_si128(_mm_or_si128(matches[0], matches[1]),
                                         _mm_or_si128(matches[2], matches[3]));
        if (_mm_movemask_epi8(any) == 0) {
            continue;
        }
        uint64_t mask = 0;
        for (int part = 0; part < 4; ++part) {
            mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(matches[part])))
                    << (16 * part);
        }
        for (; mask != 0; mask &= mask - 1) {
            const int32_t at = i + LowestBit(mask);
            if (MiddleMatches(data, at, pattern, length)) {
                return at;
            }
        }
    }
    return FindBytesPlain(data, i, lastStart, pattern, length);
}

QF_TARGET_AVX2 int32_t FindBytesAvx2(const uint8_t* data, int32_t lastStart, const uint8_t* pattern,
                                     int32_t length) {
    const __m256i firstBytes = _mm256_set1_epi8(static_cast<char>(pattern[0]));
    const __m256i lastBytes = _mm256_set1_epi8(static_cast<char>(pattern[length - 1]));
    const uint8_t* tail = data + length - 1;
    int32_t i = 0;
    for (; i + 63 <= lastStart; i += 64) {
        const __m256i head0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i head1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 32));
        const __m256i end0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tail + i));
        const __m256i end1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tail + i + 32));
        const __m256i match0 = _mm256_and_si256(_mm256_cmpeq_epi8(head0, firstBytes),
                                                _mm256_cmpeq_epi8(end0, lastBytes));
        const __m256i match1 = _mm256_and_si256(_mm256_cmpeq_epi8(head1, firstBytes),
                                                _mm256_cmpeq_epi8(end1, lastBytes));
        const __m256i any = _mm256_or_si256(match0, match1);
        if (_mm256_testz_si256(any, any)) {
            continue;
        }
        uint64_t mask =
            static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(match0))) |
            (static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(match1))) << 32);
        for (; mask != 0; mask &= mask - 1) {
            const int32_t at = i + LowestBit(mask);
            if (MiddleMatches(data, at, pattern, length)) {
                return at;
            }
        }
    }
    return FindBytesPlain(data, i, lastStart, pattern, length);
}
#endif

// Index of the leftmost occurrence of pattern[0, length) in data[0, size), or -1.
int32_t FindBytes(const uint8_t* data, int32_t size, const uint8_t* pattern, int32_t length) {
    if (length > size) {
        return -1;
    }
    if (length == 1) {
        return FindByte(data, size, pattern[0]);
    }
    const int32_t lastStart = size - length;
#if QF_FIND_FAST_X64
    static const bool useAvx2 = HasAvx2();
    return useAvx2 ? FindBytesAvx2(data, lastStart, pattern, length)
                   : FindBytesSse2(data, lastStart, pattern, length);
#else
    return FindBytesPlain(data, 0, lastStart, pattern, length);
#endif
}

// The chunk as NUL-separated segments (chunk[length] is NUL): each segment long
// enough to hold the pattern is upper-cased in place with CharUpperA and searched.
// Returns the index in the chunk of the leftmost occurrence, or -1.
int32_t FindInUpperCasedSegments(uint8_t* chunk, int32_t length, const uint8_t* pattern,
                                 int32_t patternLength) {
    int32_t start = 0;
    while (start < length) {
        const int32_t segmentLength = FindByte(chunk + start, length + 1 - start, 0);
        if (segmentLength >= patternLength) {
            CharUpperA(reinterpret_cast<char*>(chunk + start));
            const int32_t at = FindBytes(chunk + start, segmentLength, pattern, patternLength);
            if (at >= 0) {
                return start + at;
            }
        }
        start += segmentLength + 1;
    }
    return -1;
}

}  // namespace

int32_t FindPatternInFile(const std::string& fileName, const std::string& pattern,
                          bool caseSensitive, int32_t startOffset) {
    // The pattern ends at its first NUL. A pattern as long as a chunk would let the
    // overlap swallow every step, so it is refused.
    const size_t nul = pattern.find('\0');
    const size_t patternLength = nul == std::string::npos ? pattern.size() : nul;
    if (patternLength == 0 || fileName.empty() || startOffset < 0) {
        return -1;
    }
    if (patternLength >= static_cast<size_t>(FindFastChunkSize)) {
        return -1;
    }
    const int32_t length = static_cast<int32_t>(patternLength);

    FileHandle file(CreateFileA(ExactPath(fileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return -1;
    }

    // The private NUL-terminated copy of the pattern.
    std::unique_ptr<char[]> wanted(new (std::nothrow) char[patternLength + 1]);
    if (!wanted) {
        return -1;
    }
    std::memcpy(wanted.get(), pattern.data(), patternLength);
    wanted[patternLength] = '\0';
    if (!caseSensitive) {
        CharUpperA(wanted.get());
    }
    const uint8_t* wantedBytes = reinterpret_cast<const uint8_t*>(wanted.get());

    // The chunk buffer, and the raw last pattern-length bytes of a chunk, kept before
    // the chunk is upper-cased so that the next chunk starts with the file's bytes.
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[FindFastChunkSize + 1]);
    std::unique_ptr<uint8_t[]> overlap(new (std::nothrow) uint8_t[patternLength]);
    if (!buffer || !overlap) {
        return -1;
    }

    // The size's high half is read too: a file of 4 GiB and more must not pass for
    // the small file its low half describes.
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file.Get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return -1;
    }
    if (sizeHigh != 0 || sizeLow > 0x7FFFFFFFu) {
        return -1;
    }
    const int32_t fileSize = static_cast<int32_t>(sizeLow);
    if (startOffset >= fileSize) {
        return -1;
    }
    if (startOffset > 0 &&
        SetFilePointer(file.Get(), startOffset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return -1;
    }
    int32_t remaining = fileSize - startOffset;

    // Each chunk after the first begins with the last pattern-length bytes of the
    // previous one, so that an occurrence straddling the boundary lies whole in the
    // next chunk. Those bytes are carried over in memory instead of being read again
    // after moving the file pointer back: the file is read once, front to back.
    int32_t carried = 0;
    while (remaining > 0) {
        const int32_t wantedCount = remaining <= FindFastChunkSize ? remaining : FindFastChunkSize;
        const int32_t freshCount = wantedCount - carried;
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.get() + carried, static_cast<DWORD>(freshCount), &read,
                      nullptr) ||
            read == 0) {
            return -1;
        }
        // A short read means the file shrank since its size was taken: this chunk is
        // its last one.
        const bool fileEnded = static_cast<int32_t>(read) < freshCount;
        const int32_t chunkLength = carried + static_cast<int32_t>(read);
        buffer[chunkLength] = 0;
        const bool more = !fileEnded && remaining > chunkLength;
        if (more) {
            std::memcpy(overlap.get(), buffer.get() + chunkLength - length, patternLength);
        }

        // A match never holds a NUL, so the leftmost match in the raw chunk is the
        // leftmost match among its NUL-separated segments.
        const int32_t at = caseSensitive ? FindBytes(buffer.get(), chunkLength, wantedBytes, length)
                                         : FindInUpperCasedSegments(buffer.get(), chunkLength,
                                                                    wantedBytes, length);
        if (at >= 0) {
            return (fileSize - remaining) + at;
        }
        if (!more) {
            return -1;
        }
        std::memcpy(buffer.get(), overlap.get(), patternLength);
        carried = length;
        remaining = remaining - chunkLength + length;
    }
    return -1;
}
