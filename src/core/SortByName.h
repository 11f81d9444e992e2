#pragma once

#include "TDirEntry.h"

// Puts a list in the order of CompareEntryNames. Each name's first eight bytes become one
// integer key, so most comparisons are integer comparisons on a compact array instead of string
// comparisons through two pointers each; equal keys fall back to the whole names.
void SortByName(TDirList& list);
