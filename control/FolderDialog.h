#pragma once
// The shell's folder chooser. A FolderDialog keeps its title, options and the last
// chosen path between uses; its owner releases it.
#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <string>

#include "control/ManagedObject.h"

// Options of CreateFolderDialog (a set; bit i of the value), mapped to BIF_ flags.
enum FolderDialogOptions : std::uint16_t {
    FolderBrowseForComputer = 1u << 0,
    FolderBrowseForPrinter = 1u << 1,
    FolderDontGoBelowDomain = 1u << 2,
    FolderReturnFileSystemAncestors = 1u << 3,
    FolderReturnOnlyFileSystemDirs = 1u << 4,
    FolderStatusText = 1u << 5,
    FolderIncludeFiles = 1u << 6,
    FolderEditBox = 1u << 7,
    FolderNewDialogStyle = 1u << 8,
};

class FolderDialog : public ManagedObject {
public:
    std::string Title;  // set by the caller before each use
    std::uint16_t Options = FolderReturnOnlyFileSystemDirs;
    BFFCALLBACK Callback = nullptr;
    HWND OwnerWindow = nullptr;  // none: the application object's window
    // The last chosen path, in the ANSI code page.
    std::string Path;
};

// The BIF_ flags of an option set.
UINT BrowseFlagsOf(std::uint16_t options);

// A new dialog (reference count 0: one Release destroys it); an empty option set
// becomes {FolderReturnOnlyFileSystemDirs}.
FolderDialog* CreateFolderDialog(const std::string& title, std::uint16_t options);

// Shows the folder chooser (modal to the owner window). True when the user chose a
// folder of the file system; its path is then FolderDialogPath. A cancelled dialog,
// or a choice that is no file-system folder, returns false and leaves the path as it was.
bool BrowseForFolder(FolderDialog* dialog);

// The last chosen path; empty before the first choice.
std::string FolderDialogPath(const FolderDialog* dialog);
