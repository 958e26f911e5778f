#include "support/ZipArchive.h"

#include <cstdint>

namespace carriers {

namespace {

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string StoredZip(const ZipEntries& entries, const std::string& comment) {
    std::string archive;
    std::string directory;
    for (const auto& entry : entries) {
        const std::string& name = entry.first;
        const std::string& content = entry.second;
        const uint32_t crc = Crc32(content);
        const uint32_t localAt = static_cast<uint32_t>(archive.size());
        archive += std::string("PK\x03\x04", 4);
        Put16(archive, 20);      // version needed
        Put16(archive, 0);       // flags
        Put16(archive, 0);       // stored
        Put16(archive, 0);       // time
        Put16(archive, 0x5A21);  // date
        Put32(archive, crc);
        Put32(archive, static_cast<uint32_t>(content.size()));
        Put32(archive, static_cast<uint32_t>(content.size()));
        Put16(archive, static_cast<uint32_t>(name.size()));
        Put16(archive, 0);
        archive += name + content;

        directory += std::string("PK\x01\x02", 4);
        Put16(directory, 20);  // version made by
        Put16(directory, 20);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0x5A21);
        Put32(directory, crc);
        Put32(directory, static_cast<uint32_t>(content.size()));
        Put32(directory, static_cast<uint32_t>(content.size()));
        Put16(directory, static_cast<uint32_t>(name.size()));
        Put16(directory, 0);  // extra
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, 0);  // external attributes
        Put32(directory, localAt);
        directory += name;
    }
    const uint32_t directoryAt = static_cast<uint32_t>(archive.size());
    archive += directory;
    archive += std::string("PK\x05\x06", 4);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, directoryAt);
    Put16(archive, static_cast<uint32_t>(comment.size()));
    archive += comment;
    return archive;
}

}  // namespace carriers
