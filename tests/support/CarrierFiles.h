#pragma once
// Test files for the restore: real documents from the test data, and carriers made of a
// real executable body followed by a document, the way the virus leaves them.
#include <cstdint>
#include <string>

#include "support/DocumentSignatures.h"
#include "support/ProgramBody.h"
#include "support/ScratchFolder.h"

namespace carriers {

// A real document from the test data folder.
inline std::string TestDocument(const std::string& name) {
    return scratch::ReadWholeFile(std::string(QF_TEST_DATA_DIR) + "\\" + name);
}

// A valid program of exactly size bytes made of real code and data: a virus body.
inline std::string ExecutableBody(size_t size) {
    return ProgramBody(size);
}

// An executable body of bodySize bytes followed by the document.
inline std::string Carrier(size_t bodySize, const std::string& document) {
    return ExecutableBody(bodySize) + document;
}

// Bytes that hold none of the signatures or type words: a stand-in for document content
// of no known type.
inline std::string NeutralBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (size_t index = 0; index < size; ++index) {
        seed = seed * 1103515245u + 12345u;
        bytes[index] = static_cast<char>('a' + (seed >> 16) % 20);  // letters a to t only
    }
    return bytes;
}

}  // namespace carriers
