// quillfix.exe itself: started as its own process, found by its title, closed, and its
// file checked for the subsystem, the static runtime and the embedded resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "control/UniqueHandle.h"
#include "support/ProgramTexts.h"
#include "support/StartedProgram.h"

namespace {

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

template <class T>
bool ReadAt(const std::vector<unsigned char>& bytes, size_t offset, T& value) {
    if (offset + sizeof(T) > bytes.size())
        return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

// File offset of a relative virtual address, 0 when no section holds it.
size_t OffsetOfRva(const std::vector<unsigned char>& bytes, size_t sections, int count, DWORD rva) {
    for (int i = 0; i < count; ++i) {
        IMAGE_SECTION_HEADER section = {};
        if (!ReadAt(bytes, sections + i * sizeof section, section))
            return 0;
        if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
            return rva - section.VirtualAddress + section.PointerToRawData;
    }
    return 0;
}

std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found)
        return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

TEST(ProgramMainTest, OpensUnderItsTitleAndExitsWithCodeZeroWhenClosed) {
    ProgramDriver program;
    ASSERT_TRUE(program.Start(ProgramPath(), ProgramTitle)) << program.Failure();

    char className[64] = {};
    GetClassNameA(program.MainWindow(), className, sizeof className);
    EXPECT_STREQ(className, "obj_Form");

    EXPECT_EQ(program.Close(30000), 0);
}

TEST(ProgramMainTest, IsAStaticallyLinkedGuiProgram) {
    const std::vector<unsigned char> bytes = ReadFileBytes(ProgramPath());
    IMAGE_DOS_HEADER dos = {};
    ASSERT_TRUE(ReadAt(bytes, 0, dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS64 nt = {};
    ASSERT_TRUE(ReadAt(bytes, dos.e_lfanew, nt));
    ASSERT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                            nt.FileHeader.SizeOfOptionalHeader;
    const IMAGE_DATA_DIRECTORY imports =
        nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t descriptor =
        OffsetOfRva(bytes, sections, nt.FileHeader.NumberOfSections, imports.VirtualAddress);
    ASSERT_NE(descriptor, 0u);
    std::vector<std::string> dlls;
    for (IMAGE_IMPORT_DESCRIPTOR entry = {}; ReadAt(bytes, descriptor, entry) && entry.Name != 0;
         descriptor += sizeof entry) {
        const size_t name =
            OffsetOfRva(bytes, sections, nt.FileHeader.NumberOfSections, entry.Name);
        ASSERT_NE(name, 0u);
        dlls.push_back(reinterpret_cast<const char*>(bytes.data() + name));
    }
    ASSERT_FALSE(dlls.empty());
    for (const std::string& dll : dlls) {
        // The compiler's runtime (libstdc++, libgcc, libwinpthread) is linked in, not imported.
        EXPECT_NE(_strnicmp(dll.c_str(), "lib", 3), 0) << dll;
    }
}

TEST(ProgramMainTest, CarriesItsIconVersionAndManifest) {
    const ModuleHandle module(
        LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module.IsValid());
    const HMODULE program = module.Get();

    // The icon group lists several sizes, from 16 pixels up to 256 (stored as 0): a header
    // of three words (the last one the count), then an entry per icon that starts with its
    // width byte.
    const size_t groupHeaderSize = 3 * sizeof(WORD);
    const size_t groupEntrySize =
        4 * sizeof(BYTE) + 2 * sizeof(WORD) + sizeof(DWORD) + sizeof(WORD);
    const std::string group = ResourceText(program, "MAINICON", RT_GROUP_ICON);
    ASSERT_GE(group.size(), groupHeaderSize);
    WORD count = 0;
    std::memcpy(&count, group.data() + 2 * sizeof(WORD), sizeof count);
    ASSERT_EQ(group.size(), groupHeaderSize + count * groupEntrySize);
    std::vector<int> widths;
    for (WORD i = 0; i < count; ++i)
        widths.push_back(static_cast<unsigned char>(group[groupHeaderSize + i * groupEntrySize]));
    for (int wanted : {16, 32, 48, 0})
        EXPECT_NE(std::find(widths.begin(), widths.end(), wanted), widths.end())
            << "icon width " << wanted;

    const std::string manifest =
        ResourceText(program, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos)
        << manifest;

    const std::string version =
        ResourceText(program, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    const DWORD signature = VS_FFI_SIGNATURE;
    const size_t fixed = version.find(std::string(reinterpret_cast<const char*>(&signature), 4));
    ASSERT_NE(fixed, std::string::npos);
    VS_FIXEDFILEINFO info = {};
    ASSERT_LE(fixed + sizeof info, version.size());
    std::memcpy(&info, version.data() + fixed, sizeof info);
    EXPECT_EQ(info.dwFileVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));  // 1.0
    EXPECT_EQ(info.dwFileVersionLS, static_cast<DWORD>(MAKELONG(2, 0)));  // .0.2
    EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_APP));
    const char productName[] = "P\0r\0o\0d\0u\0c\0t\0N\0a\0m\0e\0";
    EXPECT_NE(version.find(std::string(productName, sizeof productName - 1)), std::string::npos);
}

}  // namespace
