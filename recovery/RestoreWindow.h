#pragma once
// The parts of the main window that the restore engine works on, on top of those of the
// search. The main window object (app/Unit1.h) extends this record.
#include <cstdint>
#include "search/SearchWindow.h"

class StringList;

struct RestoreWindow : SearchWindow {
    Control* RestoreButton = nullptr;
    Control* StopRestoreButton = nullptr;
    Control* DeleteInfectedRadio = nullptr;
    Control* RenameWithRadio = nullptr;
    Control* RenameWithEdit = nullptr;

    uint8_t RestoreStopRequested = 0;  // set by "Stop Restore", polled once per row
    int32_t CurrentOffset = 0;         // document offset in the file being restored
    StringList* OffsetList = nullptr;  // decimal offsets found in this run (owned)
};
