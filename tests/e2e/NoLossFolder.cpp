#include "NoLossFolder.h"

#include <algorithm>
#include <set>

#include "support/CarrierFiles.h"
#include "support/ProgramBody.h"

namespace noloss {

namespace {

using scratch::FolderOfRelative;
using scratch::FolderSnapshot;
using scratch::NameOfRelative;

uint32_t TextHash(const std::string& text, uint32_t seed) {
    uint32_t hash = 2166136261u ^ seed;
    for (char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

// Writes a new file below folder, making the folders above it.
bool WriteNew(const std::string& folder, const std::string& relative, const std::string& bytes) {
    for (std::string::size_type slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', slash + 1)) {
        CreateDirectoryA((folder + "\\" + relative.substr(0, slash)).c_str(), nullptr);
    }
    HANDLE file = CreateFileA((folder + "\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok;
}

class FolderBuilder {
public:
    FolderBuilder(const std::string& folder, uint32_t seed) : folder_(folder), seed_(seed) {
        for (const char* name : {"letter.doc", "minutes.doc", "budget.xls", "letter.rtf"}) {
            data_[name] = carriers::TestDocument(name);
        }
    }

    uint32_t Random() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_ >> 8;
    }

    // A real document of the test data with a short tail of plain letters (no signature,
    // no type word) that tells this copy apart from every other one in the folder.
    std::string Variant(const std::string& dataName, const std::string& tag) {
        const uint32_t hash = TextHash(tag, seed_);
        return data_[dataName] + carriers::NeutralBytes(24 + hash % 16, hash);
    }
    const std::string& Data(const std::string& dataName) { return data_[dataName]; }

    // One of the compound documents, the large one less often.
    std::string SomeCompoundDocument() {
        const uint32_t pick = Random() % 8;
        return pick < 4 ? "letter.doc" : pick < 7 ? "budget.xls" : "minutes.doc";
    }

    const std::string& Body(size_t size) {
        std::string& body = bodies_[size];
        if (body.empty()) {
            body = carriers::ProgramBody(size);
        }
        return body;
    }

    void File(const std::string& relative, const std::string& bytes) {
        if (!WriteNew(folder_, relative, bytes)) {
            failed_ = true;
        }
    }
    // A genuine document: the file is the document.
    void Document(const std::string& relative, const std::string& bytes) {
        File(relative, bytes);
        corpus_.Documents.push_back({bytes, relative, 0});
    }
    // A carrier: a program body of bodySize bytes with the document after it.
    void Carrier(const std::string& relative, size_t bodySize, const std::string& document) {
        File(relative, Body(bodySize) + document);
        corpus_.Carriers[relative] = corpus_.Documents.size();
        corpus_.Documents.push_back({document, relative, bodySize});
    }
    void CarrierOf(const std::string& relative, size_t bodySize, const std::string& dataName) {
        Carrier(relative, bodySize, Variant(dataName, relative));
    }
    void ReadOnly(const std::string& relative) {
        SetFileAttributesA((folder_ + "\\" + relative).c_str(), FILE_ATTRIBUTE_READONLY);
    }

    Corpus& Result() { return corpus_; }
    bool Failed() const { return failed_; }

private:
    std::string folder_;
    uint32_t seed_;
    std::map<std::string, std::string> data_;
    std::map<size_t, std::string> bodies_;
    Corpus corpus_;
    bool failed_ = false;
};

}  // namespace

Corpus BuildFolder(const std::string& folder, uint32_t seed) {
    FolderBuilder build(folder, seed);
    // Offset 10,240 is seen first by a-bait.exe (rows are in name order): the RTF
    // document of b-rtf.exe is found there, and the genuine documents that hold a second
    // compound file at 10,240 (a document with an embedded object) are tried there too.
    build.CarrierOf("a-bait.exe", 10240, build.SomeCompoundDocument());
    build.CarrierOf("b-rtf.exe", 10240, "letter.rtf");
    build.Document("embed.exe",
                   build.Data("letter.doc") + build.Variant("budget.xls", "embed.exe"));
    build.Document("nested.doc",
                   build.Data("letter.doc") + build.Variant("minutes.doc", "nested.doc"));
    // Two carriers of one base name: both documents want report.doc.
    build.CarrierOf("report.exe", 16384, "letter.doc");
    build.CarrierOf("report.scr", 20480, "letter.doc");
    // Outputs that already exist with other bytes, and "(2)" taken as well.
    build.CarrierOf("book.exe", 12288, "budget.xls");
    build.Document("book.xls", build.Variant("budget.xls", "book.xls"));
    build.File("book (2).xls", "an older copy of the book, kept by hand\r\n");
    // An output that already exists with exactly the document's bytes.
    const std::string kept = build.Variant("letter.doc", "kept.exe");
    build.Carrier("kept.exe", 12288, kept);
    build.Document("kept.doc", kept);
    // A folder with the output's name (and a carrier inside it).
    build.CarrierOf("memo.exe", 8192, "letter.doc");
    build.CarrierOf("memo.doc\\inner.exe", 8192, build.SomeCompoundDocument());
    // An output name held open without sharing, and a carrier held open for reading.
    build.CarrierOf("locked.exe", 14336, "letter.doc");
    build.File("locked.doc", "a document someone has open\r\n");
    build.Result().LockedFiles.push_back("locked.doc");
    build.CarrierOf("held.exe", 14336, build.SomeCompoundDocument());
    build.Result().HeldFiles.push_back("held.exe");
    // Read-only files: a carrier, and an existing output.
    build.CarrierOf("ro.exe", 12288, build.SomeCompoundDocument());
    build.ReadOnly("ro.exe");
    build.CarrierOf("rodoc.exe", 16384, "letter.doc");
    build.Document("rodoc.doc", build.Variant("letter.doc", "rodoc.doc"));
    build.ReadOnly("rodoc.doc");
    // Genuine documents, one named like a program.
    build.Document("plain.exe", build.Variant("minutes.doc", "plain.exe"));
    build.Document("plain.doc", build.Variant("letter.doc", "plain.doc"));
    // Programs: one carrying a document inside its own image (an installer), one plain.
    build.File("setup.exe",
               carriers::ProgramEmbedding(40960, build.Variant("letter.doc", "setup.exe")));
    build.File("tool.exe", build.Body(20480));
    build.File("notes.txt", "plain text, no document\r\n");
    // A folder with a full stop in its name; a carrier without an extension.
    build.CarrierOf("v1.2\\readme", 10240, build.SomeCompoundDocument());
    build.CarrierOf("v1.2\\setup.dll", 16384, "budget.xls");
    build.CarrierOf("sub\\report.exe", 16384, build.SomeCompoundDocument());
    build.CarrierOf("sub\\deep\\budget.exe", 20480, "budget.xls");
    // Bulk: enough rows and folders that a search or a restore runs while clicks queue.
    const size_t bodySizes[] = {8192, 10240, 12288, 16384};
    const uint32_t bulk = 14 + build.Random() % 10;
    for (uint32_t index = 0; index < bulk; ++index) {
        const std::string name = "bulk\\f" + std::to_string(index) + "\\c" + std::to_string(index) +
                                 (index % 5 == 4 ? ".scr" : ".exe");
        const size_t bodySize = bodySizes[build.Random() % 4];
        build.CarrierOf(name, bodySize,
                        index % 7 == 3 ? "letter.rtf" : build.SomeCompoundDocument());
    }
    Corpus corpus = build.Result();
    if (build.Failed()) {
        corpus.Documents.clear();
    }
    return corpus;
}

namespace {

// The files of a snapshot grouped by size, to find equal bytes quickly.
class FileIndex {
public:
    explicit FileIndex(const FolderSnapshot& snapshot) : snapshot_(snapshot) {
        for (const auto& file : snapshot.Files) {
            bySize_.insert({file.second.size(), &file});
        }
    }
    // Files whose bytes equal bytes.
    std::vector<std::string> Equal(const std::string& bytes) const {
        std::vector<std::string> paths;
        const auto range = bySize_.equal_range(bytes.size());
        for (auto entry = range.first; entry != range.second; ++entry) {
            if (entry->second->second == bytes) {
                paths.push_back(entry->second->first);
            }
        }
        return paths;
    }
    bool Holds(const std::string& bytes) const { return !Equal(bytes).empty(); }
    bool HoldsInFolder(const std::string& bytes, const std::string& folder,
                       const std::string& except) const {
        for (const std::string& path : Equal(bytes)) {
            if (FolderOfRelative(path) == folder && path != except) {
                return true;
            }
        }
        return false;
    }
    // True when some file holds bytes whole at offset.
    bool HoldsAt(const std::string& bytes, size_t offset) const {
        for (const auto& file : snapshot_.Files) {
            if (file.second.size() >= offset + bytes.size() &&
                file.second.compare(offset, bytes.size(), bytes) == 0) {
                return true;
            }
        }
        return false;
    }

private:
    const FolderSnapshot& snapshot_;
    std::multimap<size_t, const std::pair<const std::string, std::string>*> bySize_;
};

bool DeletedHolds(const std::vector<UserDeletion>& deleted, const std::string& bytes,
                  size_t offset) {
    for (const UserDeletion& deletion : deleted) {
        if (deletion.Bytes == bytes || (deletion.Bytes.size() >= offset + bytes.size() &&
                                        deletion.Bytes.compare(offset, bytes.size(), bytes) == 0)) {
            return true;
        }
    }
    return false;
}

bool WasDeleted(const std::vector<UserDeletion>& deleted, const std::string& path) {
    for (const UserDeletion& deletion : deleted) {
        if (deletion.Path == path) {
            return true;
        }
    }
    return false;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

bool LooksTemporary(const std::string& name) {
    const std::string lower = Lower(name);
    const auto endsWith = [&lower](const std::string& suffix) {
        return lower.size() >= suffix.size() &&
               lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return lower.find(".tmp") != std::string::npos || lower.find(".temp") != std::string::npos ||
           endsWith(".part") || endsWith(".$$$") || endsWith("~") ||
           (!lower.empty() && lower[0] == '~');
}

// True when name begins with the name (without its extension) of an original file of
// the folder: outputs and renames are named after the file they come from.
bool NamedAfterOriginal(const std::string& relative, const FolderSnapshot& before) {
    const std::string folder = FolderOfRelative(relative);
    const std::string name = Lower(NameOfRelative(relative));
    for (const auto& file : before.Files) {
        if (FolderOfRelative(file.first) != folder) {
            continue;
        }
        const std::string original = Lower(NameOfRelative(file.first));
        const std::string stem = original.substr(0, original.rfind('.'));
        if (name.compare(0, stem.size(), stem) == 0) {
            return true;
        }
    }
    return false;
}

std::string Described(const CorpusDocument& document) {
    return "the document of " + document.Home + " at offset " + std::to_string(document.Offset) +
           " (" + std::to_string(document.Bytes.size()) + " bytes)";
}

}  // namespace

std::vector<std::string> Violations(const Corpus& corpus, const FolderSnapshot& before,
                                    const FolderSnapshot& after,
                                    const std::vector<UserDeletion>& deleted) {
    std::vector<std::string> found;
    const FileIndex now(after);

    // Every document is still a file, or whole inside a file at its offset.
    for (const CorpusDocument& document : corpus.Documents) {
        if (!now.Holds(document.Bytes) && !now.HoldsAt(document.Bytes, document.Offset) &&
            !DeletedHolds(deleted, document.Bytes, document.Offset)) {
            found.push_back("lost: " + Described(document) + " exists nowhere");
        }
    }

    // An original file changed or gone must have its bytes (or its document) kept.
    for (const auto& file : before.Files) {
        const std::string& path = file.first;
        const auto current = after.Files.find(path);
        if (current != after.Files.end() && current->second == file.second) {
            continue;
        }
        const std::string folder = FolderOfRelative(path);
        const auto carried = corpus.Carriers.find(path);
        const bool renamed = now.HoldsInFolder(file.second, folder, path);
        const bool restored =
            carried != corpus.Carriers.end() &&
            (now.HoldsInFolder(corpus.Documents[carried->second].Bytes, folder, "") ||
             DeletedHolds(deleted, corpus.Documents[carried->second].Bytes, 0));
        const bool userDeleted = WasDeleted(deleted, path) || DeletedHolds(deleted, file.second, 0);
        if (renamed || restored || userDeleted) {
            continue;
        }
        if (current != after.Files.end()) {
            found.push_back("changed: " + path + " (" + std::to_string(file.second.size()) +
                            " bytes) now holds " + std::to_string(current->second.size()) +
                            " other bytes");
        } else if (now.Holds(file.second)) {
            found.push_back("moved out of its folder: " + path + " is now " +
                            now.Equal(file.second).front());
        } else {
            found.push_back("removed: " + path + " (" + std::to_string(file.second.size()) +
                            " bytes), its bytes exist nowhere in its folder");
        }
    }

    // Every new file is a document of the folder or a copy of an original file.
    std::set<std::string> documents;
    for (const CorpusDocument& document : corpus.Documents) {
        documents.insert(document.Bytes);
    }
    const FileIndex originals(before);
    for (const auto& file : after.Files) {
        const auto original = before.Files.find(file.first);
        if (original != before.Files.end() && original->second == file.second) {
            continue;
        }
        if (LooksTemporary(NameOfRelative(file.first))) {
            found.push_back("temporary file left: " + file.first);
        } else if (documents.count(file.second) == 0 && !originals.Holds(file.second)) {
            found.push_back("unexpected file: " + file.first + " (" +
                            std::to_string(file.second.size()) +
                            " bytes) is neither a whole document nor a copy of an original file");
        } else if (!NamedAfterOriginal(file.first, before)) {
            found.push_back("unexpected name: " + file.first +
                            " is not named after a file of its folder");
        }
    }
    for (const std::string& path : after.Unreadable) {
        found.push_back("unreadable after the run: " + path);
    }
    for (const std::string& folder : after.Folders) {
        if (before.Folders.count(folder) == 0) {
            found.push_back("folder made: " + folder);
        }
    }
    for (const std::string& folder : before.Folders) {
        if (after.Folders.count(folder) == 0) {
            found.push_back("folder gone: " + folder);
        }
    }
    return found;
}

FileHandle OpenHeld(const std::string& path, bool shareRead) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ, shareRead ? FILE_SHARE_READ : 0,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace noloss
