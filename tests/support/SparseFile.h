#pragma once
// Large files for tests of size limits, written without taking their size on the disk.
#include <cstdint>
#include <string>

namespace scratch {

// Writes a new file of the given size that holds head at its start, the rest zeros. The
// file is marked sparse first (FSCTL_SET_SPARSE), so that even several GiB take almost no
// disk space; where the file system refuses the mark the file is written all the same.
// False when the file cannot be written or sized.
bool WriteSparseFile(const std::string& path, int64_t size, const std::string& head);

}  // namespace scratch
