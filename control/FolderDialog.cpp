#include "control/FolderDialog.h"

#include "control/Control.h"

#include <cstring>

namespace {

const UINT BrowseFlags[] = {BIF_BROWSEFORCOMPUTER, BIF_BROWSEFORPRINTER, BIF_DONTGOBELOWDOMAIN,
                            BIF_RETURNFSANCESTORS, BIF_RETURNONLYFSDIRS,   BIF_STATUSTEXT,
                            BIF_BROWSEINCLUDEFILES, BIF_EDITBOX,           BIF_NEWDIALOGSTYLE};

} // namespace

UINT BrowseFlagsOf(std::uint16_t options)
{
    UINT flags = 0;
    for (unsigned bit = 0; bit < sizeof(BrowseFlags) / sizeof(BrowseFlags[0]); ++bit) {
        if (options & (1u << bit))
            flags |= BrowseFlags[bit];
    }
    return flags;
}

FolderDialog* CreateFolderDialog(const std::string& title, std::uint16_t options)
{
    FolderDialog* dialog = new FolderDialog();
    dialog->Init();
    dialog->Title = title;
    dialog->Options = options != 0 ? options : static_cast<std::uint16_t>(FolderReturnOnlyFileSystemDirs);
    return dialog;
}

bool BrowseForFolder(FolderDialog* dialog)
{
    HWND owner = dialog->OwnerWindow;
    if (owner == nullptr && ApplicationObject() != nullptr)
        owner = ApplicationObject()->Handle;

    char previousPath[sizeof(dialog->PathBuffer)];
    std::memcpy(previousPath, dialog->PathBuffer, sizeof(previousPath));

    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = dialog->PathBuffer;
    info.lpszTitle = dialog->Title.c_str();
    info.ulFlags = BrowseFlagsOf(dialog->Options);
    info.lpfn = dialog->Callback;
    info.lParam = reinterpret_cast<LPARAM>(dialog);
    info.iImage = 0;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    BOOL isPath = FALSE;
    if (chosen != nullptr) {
        isPath = SHGetPathFromIDListA(chosen, dialog->PathBuffer);
        CoTaskMemFree(chosen);
    }
    if (!isPath) {
        // Some shells write the display-name buffer even when the user cancels, and a
        // virtual folder (the computer itself, ...) has a display name but no path:
        // neither may pass for a chosen path.
        std::memcpy(dialog->PathBuffer, previousPath, sizeof(previousPath));
        return false;
    }
    return true;
}

std::string FolderDialogPath(const FolderDialog* dialog)
{
    return std::string(dialog->PathBuffer, strnlen(dialog->PathBuffer, MAX_PATH + 1));
}
