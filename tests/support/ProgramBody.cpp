#include "support/ProgramBody.h"

#include <windows.h>

#include <cstring>

#include "support/DocumentSignatures.h"
#include "support/ScratchFolder.h"

namespace carriers {

namespace {

constexpr uint32_t FileAlignment = 0x200;
constexpr uint32_t SectionAlignment = 0x1000;
constexpr uint32_t NtHeadersOffset = 0x80;

// Starts of embedded documents that a body must not hold by accident.
const std::string* const Signatures[] = {&Ole2Bytes, &RtfBytes, &ZipBytes, &PdfBytes};

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// This executable's bytes after its headers: real code and data, with every document
// signature broken up.
const std::string& RealProgramBytes() {
    static const std::string bytes = [] {
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string all = scratch::ReadWholeFile(path);
        all = all.size() > ProgramHeadersSize ? all.substr(ProgramHeadersSize)
                                              : std::string(4096, '\x90');
        for (const std::string* signature : Signatures) {
            for (size_t at = all.find(*signature); at != std::string::npos;
                 at = all.find(*signature, at + 1)) {
                all[at] = '\0';
            }
        }
        return all;
    }();
    return bytes;
}

// size bytes of real program content, starting at offset within it (repeated as needed).
std::string Filler(size_t size, size_t offset) {
    const std::string& source = RealProgramBytes();
    std::string bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        offset %= source.size();
        const size_t take = std::min(size - bytes.size(), source.size() - offset);
        bytes.append(source, offset, take);
        offset += take;
    }
    return bytes;
}

template <typename T>
void Put(std::string& image, size_t offset, const T& value) {
    std::memcpy(&image[offset], &value, sizeof value);
}

}  // namespace

std::string ProgramWithSections(const std::vector<ProgramSection>& sections) {
    std::string image(ProgramHeadersSize, '\0');
    // The DOS header and stub of this executable, pointing at the PE headers below.
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string own = scratch::ReadWholeFile(path).substr(0, NtHeadersOffset);
    image.replace(0, own.size(), own);
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, image.data(), sizeof dos);
    dos.e_magic = IMAGE_DOS_SIGNATURE;
    dos.e_lfanew = NtHeadersOffset;
    Put(image, 0, dos);

    IMAGE_NT_HEADERS64 nt = {};
    nt.Signature = IMAGE_NT_SIGNATURE;
    nt.FileHeader.Machine = IMAGE_FILE_MACHINE_AMD64;
    nt.FileHeader.NumberOfSections = static_cast<WORD>(sections.size());
    nt.FileHeader.SizeOfOptionalHeader = sizeof(IMAGE_OPTIONAL_HEADER64);
    nt.FileHeader.Characteristics = IMAGE_FILE_EXECUTABLE_IMAGE | IMAGE_FILE_LARGE_ADDRESS_AWARE;
    IMAGE_OPTIONAL_HEADER64& optional = nt.OptionalHeader;
    optional.Magic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    optional.MajorLinkerVersion = 2;
    optional.ImageBase = 0x140000000ull;
    optional.SectionAlignment = SectionAlignment;
    optional.FileAlignment = FileAlignment;
    optional.MajorOperatingSystemVersion = 4;
    optional.MajorSubsystemVersion = 5;
    optional.SizeOfHeaders = ProgramHeadersSize;
    optional.Subsystem = IMAGE_SUBSYSTEM_WINDOWS_GUI;
    optional.SizeOfStackReserve = 0x200000;
    optional.SizeOfStackCommit = 0x1000;
    optional.SizeOfHeapReserve = 0x100000;
    optional.SizeOfHeapCommit = 0x1000;
    optional.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;

    const size_t tableOffset = NtHeadersOffset + sizeof(IMAGE_NT_HEADERS64);
    uint32_t rawOffset = ProgramHeadersSize;
    uint32_t virtualAddress = SectionAlignment;
    for (size_t index = 0; index < sections.size(); ++index) {
        const ProgramSection& section = sections[index];
        IMAGE_SECTION_HEADER header = {};
        std::memcpy(header.Name, section.Name.data(),
                    std::min<size_t>(section.Name.size(), IMAGE_SIZEOF_SHORT_NAME));
        header.Misc.VirtualSize = static_cast<DWORD>(section.Bytes.size());
        header.VirtualAddress = virtualAddress;
        header.SizeOfRawData = static_cast<DWORD>(section.Bytes.size());
        header.PointerToRawData = rawOffset;
        header.Characteristics =
            index == 0 ? (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE | IMAGE_SCN_MEM_READ)
                       : (IMAGE_SCN_CNT_INITIALIZED_DATA | IMAGE_SCN_MEM_READ);
        if (index == 0) {
            optional.BaseOfCode = virtualAddress;
            optional.AddressOfEntryPoint = virtualAddress;
            optional.SizeOfCode = header.SizeOfRawData;
        } else {
            optional.SizeOfInitializedData += header.SizeOfRawData;
        }
        Put(image, tableOffset + index * sizeof header, header);
        image += section.Bytes;
        rawOffset += header.SizeOfRawData;
        virtualAddress += AlignUp(header.Misc.VirtualSize, SectionAlignment);
    }
    optional.SizeOfImage = virtualAddress;
    Put(image, NtHeadersOffset, nt);
    return image;
}

std::string ProgramBody(size_t size) {
    const size_t content = size > ProgramHeadersSize ? size - ProgramHeadersSize : 1;
    const size_t code =
        content > 1 ? AlignUp(static_cast<uint32_t>(content * 3 / 4), FileAlignment) : content;
    std::vector<ProgramSection> sections;
    sections.push_back({".text", Filler(std::min(code, content), 0)});
    if (content > code) {
        sections.push_back({".rdata", Filler(content - code, code)});
    }
    return ProgramWithSections(sections);
}

std::string ProgramEmbedding(size_t size, const std::string& document) {
    const size_t content = size > ProgramHeadersSize + 2 * FileAlignment ? size - ProgramHeadersSize
                                                                         : 2 * FileAlignment;
    const size_t code = AlignUp(static_cast<uint32_t>(content / 2), FileAlignment);
    std::vector<ProgramSection> sections;
    sections.push_back({".text", Filler(code, 0)});
    sections.push_back(
        {".rsrc", Filler(FileAlignment / 2, code) + document + Filler(FileAlignment / 2, code)});
    const size_t rest = content > code ? content - code : FileAlignment;
    sections.push_back({".reloc", Filler(rest, code + FileAlignment)});
    return ProgramWithSections(sections);
}

}  // namespace carriers
