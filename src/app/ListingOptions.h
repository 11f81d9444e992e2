#pragma once

#include "TDirEntry.h"

#include <QFont>

// The listing options as the report form reads them, each at the moment it needs it: the main
// window answers from its live controls, tests and the command line from plain values.
class ListingOptions {
public:
    virtual ~ListingOptions() = default;

    virtual const TDirList* DirList() const = 0; // the tree of the current run
    virtual bool CBroot() const = 0;             // the root directory gets a line
    virtual int TrackBarTab() const = 0;         // indentation per depth, layout pixels
    virtual int FontDepth() const = 0;           // depths up to this use the special font
    virtual QFont FontDialogSpecial() const = 0;
    virtual QFont FontDialogNormal() const = 0;
    virtual bool CBfc() const = 0;  // own file count
    virtual bool CBhd() const = 0;  // own size
    virtual bool CBtfc() const = 0; // file count of the subtree
    virtual bool CBthd() const = 0; // size of the subtree
    virtual bool CBsdc() const = 0; // subdirectory count, inside the subtree size
};
