#pragma once
// The "Find", "Stop" and "..." commands: a depth-first search of a folder tree by name
// mask into the result list.
#include <string>
#include "search/SearchWindow.h"

// Handler of "Find": clears the list, walks the "Look in" folder with the mask text and
// reports the count in the information line.
void StartSearch(SearchWindow* window);

// Lists folderPath with the masks into the result list, then descends into every
// subfolder when recurse is true; stops early once SearchStopped is 1.
void SearchFolder(SearchWindow* window, const std::string& folderPath, const std::string& masks,
                  bool recurse);

// Handler of "Stop".
void StopSearch(SearchWindow* window);

// Handler of "...": fills "Look in" from the folder chooser unless the user cancels.
void BrowseSearchFolder(SearchWindow* window);
