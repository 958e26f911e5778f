#pragma once
// Tells where the image of a program file ends on disk. A virus appends the document it
// hides after its own image; a signature inside the image belongs to the program itself
// (an installer's package, a template in its resources) and is never a hidden document.
#include <cstdint>

struct ByteStream;

// For a valid PE program (an "MZ" header whose e_lfanew points inside the file at
// "PE\0\0", followed by a readable section table): the end of its image on disk, the
// largest PointerToRawData + SizeOfRawData of its sections and at least SizeOfHeaders.
// 0 for any other file, so that every offset counts. Leaves the stream's position
// undefined.
int64_t ProgramImageEnd(ByteStream& file);
// The same, with the file's first headSize bytes already read into head: the headers are
// taken from there as far as they lie in it.
int64_t ProgramImageEnd(ByteStream& file, const unsigned char* head, int32_t headSize);
