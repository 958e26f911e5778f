#pragma once
// Symbolic links to folders for tests of link handling. On Windows the link is made
// with CreateSymbolicLinkA (which needs the right to create symbolic links). Under Wine,
// whose CreateSymbolicLinkA reports success without creating anything, the link is a
// Unix symbolic link made by the host's ln, which Wine reports as a folder carrying
// FILE_ATTRIBUTE_REPARSE_POINT.
#include <string>

// Makes link (a path that does not exist yet) a symbolic link to the folder target.
// Returns true once the link is visible as a folder; false when links cannot be made.
bool MakeFolderLink(const std::string& link, const std::string& target);

// Removes the link itself, never what it points to. Returns true once it is gone.
bool RemoveFolderLink(const std::string& link);

// Removes the links directly inside folder whose targets no longer exist: under Wine
// the platform does not list such links at all, so they would keep the folder from being
// removed. Returns true once the host has removed them; false where there is nothing to do.
bool RemoveDanglingFolderLinks(const std::string& folder);

// True when path is a folder reached through a link (FILE_ATTRIBUTE_REPARSE_POINT).
bool IsFolderLink(const std::string& path);
