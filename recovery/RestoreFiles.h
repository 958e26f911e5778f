#pragma once
// The "Restore File" and "Stop Restore" commands: extract the document embedded in every
// listed file, save it beside the file, then delete or rename the carrier.
#include "recovery/RestoreWindow.h"

struct ByteStream;

// Handler of "Restore File".
void RestoreFiles(RestoreWindow* window);

// Handler of "Stop Restore": asks a running restore to stop after the row in progress.
void StopRestore(RestoreWindow* window);

// True when the first four bytes of word occur in the last 65,536 bytes of stream.
bool ContainsTypeWord(ByteStream* stream, const char* word);
