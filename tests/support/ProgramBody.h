#pragma once
// Program bodies for carriers: valid 64-bit PE files of an exact size whose bytes are
// real code and data (taken from this test's own executable), built the way a linker
// lays them out: headers, then sections back to back up to the end of the image.
#include <cstdint>
#include <string>
#include <vector>

namespace carriers {

// Size of the headers (DOS header, PE headers, section table) of every body built here.
constexpr uint32_t ProgramHeadersSize = 0x400;

// A section of a built body: its name and the bytes it holds on disk.
struct ProgramSection {
    std::string Name;  // up to 8 characters, e.g. ".text"
    std::string Bytes;
};

// A valid PE program made of the given sections, in order. Its image on disk ends
// exactly after the last section's bytes: the file is ProgramHeadersSize plus the
// sections' sizes.
std::string ProgramWithSections(const std::vector<ProgramSection>& sections);

// A valid PE program of exactly size bytes (at least ProgramHeadersSize + 1) with a code
// and a data section; holds neither document signature.
std::string ProgramBody(size_t size);

// A program of about size bytes that carries document inside one of its sections (as an
// installer carries a package): the document lies wholly inside the image.
std::string ProgramEmbedding(size_t size, const std::string& document);

}  // namespace carriers
