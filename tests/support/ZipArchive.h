#pragma once
// ZIP archives for tests, written the way archivers write them: a local header and the
// stored (uncompressed) bytes of each entry, the central directory, and the
// end-of-central-directory record with an optional comment.
#include <string>
#include <utility>
#include <vector>

namespace carriers {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // name, content

std::string StoredZip(const ZipEntries& entries, const std::string& comment = "");

}  // namespace carriers
