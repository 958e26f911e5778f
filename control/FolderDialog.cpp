#include "control/FolderDialog.h"

#include "control/Control.h"
#include "control/WideText.h"

#include <cwchar>

namespace {

const UINT BrowseFlags[] = {BIF_BROWSEFORCOMPUTER,  BIF_BROWSEFORPRINTER, BIF_DONTGOBELOWDOMAIN,
                            BIF_RETURNFSANCESTORS,  BIF_RETURNONLYFSDIRS, BIF_STATUSTEXT,
                            BIF_BROWSEINCLUDEFILES, BIF_EDITBOX,          BIF_NEWDIALOGSTYLE};

}  // namespace

UINT BrowseFlagsOf(std::uint16_t options) {
    UINT flags = 0;
    for (unsigned bit = 0; bit < sizeof(BrowseFlags) / sizeof(BrowseFlags[0]); ++bit) {
        if (options & (1u << bit))
            flags |= BrowseFlags[bit];
    }
    return flags;
}

FolderDialog* CreateFolderDialog(const std::string& title, std::uint16_t options) {
    FolderDialog* dialog = new FolderDialog();
    dialog->Init();
    dialog->Title = title;
    dialog->Options =
        options != 0 ? options : static_cast<std::uint16_t>(FolderReturnOnlyFileSystemDirs);
    return dialog;
}

bool BrowseForFolder(FolderDialog* dialog) {
    HWND owner = dialog->OwnerWindow;
    if (owner == nullptr && ApplicationObject() != nullptr)
        owner = ApplicationObject()->Handle;

    // The shell writes the chosen folder's display name here; only its path is used.
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = dialog->Title.c_str();
    info.ulFlags = BrowseFlagsOf(dialog->Options);
    info.lpfn = dialog->Callback;
    info.lParam = reinterpret_cast<LPARAM>(dialog);
    info.iImage = 0;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (chosen == nullptr)
        return false;
    // Read as UTF-16 and converted here: the ANSI form is limited to MAX_PATH bytes,
    // which a path in another script exceeds long before MAX_PATH characters. A virtual
    // folder (the computer itself, ...) has no path and is no choice.
    std::wstring path(32768, L'\0');
    const BOOL isPath =
        SHGetPathFromIDListEx(chosen, &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!isPath)
        return false;
    path.resize(wcsnlen(path.c_str(), path.size()));
    const std::string chosenPath = AnsiText(path);
    if (chosenPath.empty())
        return false;
    dialog->Path = chosenPath;
    return true;
}

std::string FolderDialogPath(const FolderDialog* dialog) {
    return dialog->Path;
}
