#pragma once
// The "Restore File" and "Stop Restore" commands: extract the document embedded in every
// listed file, save it beside the file, then delete or rename the carrier.
#include "recovery/RestoreWindow.h"

// Handler of "Restore File".
void RestoreFiles(RestoreWindow* window);

// Handler of "Stop Restore": asks a running restore to stop after the row in progress.
void StopRestore(RestoreWindow* window);
