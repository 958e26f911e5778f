#pragma once
// The parts of the main window that the search works on. The main window object
// (app/Unit1.h) extends this record; the search reaches its controls and run-time flags
// only through these fields. Control references are non-owning: the form owns them.
#include <cstdint>

#include "search/RunObserver.h"

struct Control;
class FolderDialog;

struct SearchWindow {
    Control* MainForm = nullptr;
    Control* ResultListView = nullptr;
    Control* FindButton = nullptr;
    Control* StopButton = nullptr;
    Control* BrowseButton = nullptr;
    Control* MaskCombo = nullptr;
    Control* FolderEdit = nullptr;
    Control* InfoLabel = nullptr;
    class FolderDialog* FolderDialog = nullptr;  // the folder chooser behind "..."

    uint8_t SearchStopped = 0;  // 1 while no search runs or a stop was asked for
    uint8_t Searching = 0;      // 1 while a search runs (column sorting is refused)
    bool RunActive = false;  // a run works on the rows (the search or another): no other may start
    int32_t FoundCount = 0;  // files added by the current search
    int32_t SkippedCount = 0;  // files and folders of the current search the platform refused

    // Told of finished rows and given the summaries instead of message boxes; none in the
    // main window. Not owned.
    const RunObserver* Observer = nullptr;
};
