#pragma once

#include "DirThreading.h"
#include "TDirEntry.h"

#include <memory>
#include <string>

class DirReader;

// Scans a tree with several worker threads while the calling thread waits, or with one thread
// (the caller's own). Each worker walks depth first on its own explicit stack and hands a
// subdirectory to the hand-over only when another worker waits for work, so the workers share
// nothing while all of them are busy (see ScanWorker).
// Every list is sorted by name by the worker that completes it (the top list holds the root
// alone), so the tree is the same whichever worker reached which directory, and the same as the
// serial scan's.
//
// contract: `start` may be null (nothing is scanned). `threading` belongs to the enumerator that
// opened `start`; with the default, the readers must allow the rest of an enumeration, and
// OpenSubdir once it is over, on another thread than the one that read the first item. An exception
// in a worker (exhausted memory) stops the scan and is rethrown here once every worker has stopped;
// what was appended stays reachable.
void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads, DirThreading& threading = DirThreading::Shared());
