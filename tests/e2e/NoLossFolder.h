#pragma once
// The folder of the randomized no-loss test and the checks made on it after a sequence
// of user actions. The folder holds carriers (program bodies with a document after
// them), genuine documents, programs, outputs that already exist, read-only and held
// files, a folder named like an output and a folder with a full stop in its name. The
// checks need no model of the program: they compare the folder before and after.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "control/UniqueHandle.h"
#include "support/FolderSnapshot.h"

namespace noloss {

// A document of the folder: a genuine document (Offset 0) or one carried by a program.
struct CorpusDocument {
    std::string Bytes;
    std::string Home;  // the file that holds it, relative to the test folder
    size_t Offset = 0;
};

struct Corpus {
    std::vector<CorpusDocument> Documents;
    // Carrier (relative path) -> the index of the document it carries.
    std::map<std::string, size_t> Carriers;
    // Files the test holds open while the program runs: without sharing (the program can
    // neither read, replace nor remove them) and shared for reading only.
    std::vector<std::string> LockedFiles;
    std::vector<std::string> HeldFiles;
};

// Builds the test folder (which must exist and be empty) with real documents of the
// test data; seed varies which documents the carriers hold and the size of the bulk.
Corpus BuildFolder(const std::string& folder, uint32_t seed);

// A file removed by "Delete files" answered Yes: its path relative to the test folder
// and its bytes when the question was answered.
struct UserDeletion {
    std::string Path;
    std::string Bytes;
};

// The broken rules: documents lost, original files changed or gone without their bytes
// being kept elsewhere, files that are neither a document nor a copy of an original,
// temporary files left, folders made or removed.
std::vector<std::string> Violations(const Corpus& corpus, const scratch::FolderSnapshot& before,
                                    const scratch::FolderSnapshot& after,
                                    const std::vector<UserDeletion>& deleted);

// Opens a file to hold it open for the test's lifetime: without sharing (locked) or
// shared for reading only (held).
FileHandle OpenHeld(const std::string& path, bool shareRead);

}  // namespace noloss
