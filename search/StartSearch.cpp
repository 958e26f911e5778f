#include "search/StartSearch.h"

#include <windows.h>

#include <cstring>

#include "control/Control.h"
#include "control/FolderDialog.h"
#include "control/MessageLoop.h"
#include "control/RedrawBatch.h"
#include "control/RunScope.h"
#include "search/DirectoryListing.h"
#include "search/FolderIdentity.h"
#include "search/ResultList.h"
#include "search/TextHelpers.h"

namespace {

// Attribute filter of the one listing of a folder: the entries the user's masks accept
// and every subfolder, so that each folder is enumerated once (an enumeration of the
// folder costs about as much as all the rest of the search).
const uint32_t FilesAndSubfolders = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY;
// How often the rows found so far are painted while the search runs.
const DWORD RowRefreshIntervalMs = 250;

// A folder the walk is inside of: the chain from the searched folder down to the folder
// being listed, innermost last. Identities are read only when a link is met, so a tree
// without links costs nothing extra.
struct FolderOnPath {
    const FolderOnPath* Outer;
    std::string Path;
    mutable bool IdentityRead;
    mutable FolderIdentity Identity;

    const FolderIdentity& IdentityNow() const {
        if (!IdentityRead) {
            Identity = IdentityOfFolder(Path);
            IdentityRead = true;
        }
        return Identity;
    }
};

// True when the folder reached through the link at linkPath can be entered without
// walking into itself: its identity is known and differs from every folder the walk
// is inside of. A link back to one of them (directly or through other links) would
// repeat the same files without end, since paths are not limited in length everywhere.
bool LinkLeadsOutsidePath(const std::string& linkPath, const FolderOnPath* path) {
    const FolderIdentity target = IdentityOfFolder(linkPath);
    if (!target.Known) {
        return false;
    }
    for (const FolderOnPath* folder = path; folder != nullptr; folder = folder->Outer) {
        if (SameFolder(folder->IdentityNow(), target)) {
            return false;
        }
    }
    return true;
}

// The state of one walk shared by all its levels.
struct SearchWalk {
    SearchWindow* Window;
    const std::string& Masks;
    std::vector<std::string> MaskList;  // the same masks, split
    RedrawBatch* Redraw;
};

bool IsDotName(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

void SearchFolderOnPath(SearchWalk& walk, const std::string& path, bool recurse,
                        const FolderOnPath* outer) {
    SearchWindow* window = walk.Window;
    DirectoryListing listing(path, walk.Masks, FilesAndSubfolders);
    if (window->SearchStopped != 0) {
        return;
    }
    // Nothing the platform refuses is dropped without a word: it is counted for the
    // information line.
    window->SkippedCount += (listing.FolderRefused() ? 1 : 0) + listing.SkippedFiles();
    if (walk.Redraw != nullptr) {
        walk.Redraw->ShowIfDue();
    }
    ProcessPendingMessages(ApplicationObject());
    if (IsTerminated()) {
        // The program is ending (its window may already be gone): walking on would only
        // keep the process alive without a window.
        window->SearchStopped = 1;
    }
    listing.SortEntries();

    ResultList rows(window->ResultListView);
    for (int32_t index = 0; index < listing.EntryCount(); ++index) {
        const WIN32_FIND_DATAA& entry = listing.EntryRecord(index);
        // A subfolder counts here only when the masks name it, as in a listing by masks alone.
        if (listing.EntryIsDirectory(index) &&
            !AcceptEntry(entry.cFileName, entry.dwFileAttributes, 0, walk.MaskList)) {
            continue;
        }
        if (!listing.EntryIsDirectory(index)) {
            window->FoundCount = window->FoundCount + 1;
            const int row = rows.AddRow(listing.EntryName(index));
            rows.SetCell(row, PathColumn, listing.FolderPath());
            rows.SetCell(row, SizeColumn, FileSizeText(entry.nFileSizeHigh, entry.nFileSizeLow));
            TellRowFinished(window->Observer, row);
            if (walk.Redraw != nullptr) {
                walk.Redraw->Changed();
            }
        }
        if (window->SearchStopped != 0) {
            break;
        }
    }

    if (!recurse) {
        return;
    }
    window->SkippedCount += listing.SkippedFolders();
    const FolderOnPath here = {outer, listing.FolderPath(), false, FolderIdentity()};
    for (int32_t index = 0; index < listing.EntryCount(); ++index) {
        if (listing.EntryIsDirectory(index) && !IsDotName(listing.EntryRecord(index).cFileName)) {
            const std::string subfolder = listing.FolderPath() + listing.EntryName(index);
            const bool isLink =
                (listing.EntryRecord(index).dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (!isLink || LinkLeadsOutsidePath(subfolder, &here)) {
                SearchFolderOnPath(walk, subfolder, true, &here);
            }
        }
        if (window->SearchStopped != 0) {
            break;
        }
    }
}

}  // namespace

void StartSearch(SearchWindow* window) {
    // "Find" is disabled while a search runs, but a click can still arrive from a message
    // already queued; a search may also not start while another run works on the list.
    if (window == nullptr || window->Searching != 0 || window->RunActive) {
        return;
    }
    // The run's state is undone on every way out, an allocation failure included:
    // Searching := 0 and "Find" enabled, then the summary, then SearchStopped := 1.
    FlagScope stopped(window->SearchStopped, 0, 1);
    bool failed = false;
    {
        RunScope run(window->RunActive, window->FindButton, &window->Searching);
        try {
            window->InfoLabel->SetText("Searching...");
            ResultList(window->ResultListView).ClearRows();
            window->FoundCount = 0;
            window->SkippedCount = 0;
            const std::string masks = window->MaskCombo->GetText();
            const std::string folder = window->FolderEdit->GetText();
            RedrawBatch redraw(window->ResultListView, RowRefreshIntervalMs,
                               RedrawBatch::RowsAdded);
            SearchWalk walk = {window, masks, SplitMaskText(masks), &redraw};
            SearchFolderOnPath(walk, folder, true, nullptr);
        } catch (...) {
            failed = true;
        }
    }
    // A summary that finds no memory is tried once more, then the line keeps its text.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            const char* outcome = failed ? "Searching ended on an error, found "
                                  : window->SearchStopped != 0 ? "Searching stopped, found "
                                                               : "Finish, found ";
            std::string summary = outcome + GroupedIntegerText(window->FoundCount) + " Files";
            if (window->SkippedCount > 0) {
                summary += ", " + GroupedIntegerText(window->SkippedCount) + " skipped";
            }
            window->InfoLabel->SetText(summary);
            break;
        } catch (...) {
            failed = true;
        }
    }
}

void SearchFolder(SearchWindow* window, const std::string& folderPath, const std::string& masks,
                  bool recurse) {
    if (window == nullptr) {
        return;
    }
    SearchWalk walk = {window, masks, SplitMaskText(masks), nullptr};
    SearchFolderOnPath(walk, folderPath, recurse, nullptr);
}

void StopSearch(SearchWindow* window) {
    if (window == nullptr) {
        return;
    }
    window->SearchStopped = 1;
    window->InfoLabel->SetText("Searching Stopped..");
}

void BrowseSearchFolder(SearchWindow* window) {
    if (window == nullptr || window->FolderDialog == nullptr) {
        return;
    }
    window->FolderDialog->Title = "Select the path to search";
    if (BrowseForFolder(window->FolderDialog)) {
        window->FolderEdit->SetText(FolderDialogPath(window->FolderDialog));
    }
}
