#pragma once

#include "TDirEntry.h"

// The entry a listing starts with: the root, or, with the root's line switched off, the root's
// first subdirectory; a root without subdirectories keeps its line. nullptr without a root.
TDirEntry* FirstPrintedEntry(const TDirList* dirList, bool withRoot);
