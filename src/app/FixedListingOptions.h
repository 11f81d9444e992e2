#pragma once

#include "CommandLineOptions.h"
#include "ListingOptions.h"

#include <QFont>

// The listing options of a command-line run: values fixed before the report starts, where the
// window answers from its live controls. Holds fonts, so it exists only once the GUI application
// does.
class FixedListingOptions final : public ListingOptions {
public:
    // `dirList` is not owned: the run's tree, alive as long as this object is used.
    FixedListingOptions(const CommandLineOptions& options, const TDirList* dirList);

    // The font a choice names, as the window's font dialog would hold it.
    static QFont FontOf(const CommandLineOptions::FontChoice& choice);

    const TDirList* DirList() const override { return DirList_; }
    bool CBroot() const override { return Options_.Root; }
    int TrackBarTab() const override { return Options_.Tab; }
    int FontDepth() const override { return Options_.FontDepth; }
    QFont FontDialogSpecial() const override { return Special_; }
    QFont FontDialogNormal() const override { return Normal_; }
    bool CBfc() const override { return Options_.FileCount; }
    bool CBhd() const override { return Options_.Size; }
    bool CBtfc() const override { return Options_.TotalFiles; }
    bool CBthd() const override { return Options_.TotalSize; }
    bool CBsdc() const override { return Options_.SubdirCount; }

private:
    CommandLineOptions Options_;
    const TDirList* DirList_;
    QFont Special_;
    QFont Normal_;
};
