#include "FirstPrintedEntry.h"

TDirEntry* FirstPrintedEntry(const TDirList* dirList, bool withRoot) {
    TDirEntry* root = dirList && !dirList->empty() ? dirList->front().get() : nullptr;
    if (root && !withRoot && root->HasSubDirs())
        return root->SubDirs->front().get();
    return root;
}
