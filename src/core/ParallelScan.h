#pragma once

#include "TDirEntry.h"

#include <memory>
#include <string>

class DirReader;

// Scans a tree as a queue of directory tasks, with several worker threads while the calling thread
// waits, or with one thread (the caller's own). Each directory is one task: it is opened relative
// to its parent's descriptor, enumerated, and its subdirectories become new tasks. Nothing
// recurses, and a parent's descriptor is closed as soon as its last subdirectory is opened, so
// neither the stack nor the descriptor limit bounds the depth of a tree.
// Entries land in their lists in the order the workers finish; the name sort that follows erases
// that order, so the sorted tree equals the serial scan's.
//
// contract: `start` may be null (nothing is scanned). The readers must allow OpenSubdir from any
// thread once their enumeration is over. An exception in a worker (exhausted memory) stops the
// scan and is rethrown here once every worker has stopped; what was appended stays reachable.
void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads);
