#pragma once

#include "TDirEntry.h"

#include <memory>
#include <string>

class DirReader;

// Scans a tree with several worker threads while the calling thread waits, so the caller sees a
// scan that runs to completion exactly like the serial one. Each directory is one task: it is
// opened relative to its parent's descriptor, enumerated, and its subdirectories become new tasks.
// Entries land in their lists in the order the workers finish; the name sort that follows erases
// that order, so the sorted tree equals the serial scan's.
//
// contract: `start` may be null (nothing is scanned). The readers must allow OpenSubdir from any
// thread once their enumeration is over. An exception in a worker (exhausted memory) stops the
// scan and is rethrown here once every worker has stopped; what was appended stays reachable.
void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads);
