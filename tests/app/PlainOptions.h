#pragma once

#include "ListingOptions.h"

// Listing options as plain values, at the main window's defaults.
struct PlainOptions final : ListingOptions {
    const TDirList* List = nullptr;
    bool Root = true;
    int Tab = 10;
    int Depth = 0;
    QFont Special{QStringLiteral("Arial"), 8};
    QFont Normal{QStringLiteral("Arial"), 8};
    bool Fc = true, Hd = true, Tfc = true, Thd = true, Sdc = true;

    const TDirList* DirList() const override { return List; }
    bool CBroot() const override { return Root; }
    int TrackBarTab() const override { return Tab; }
    int FontDepth() const override { return Depth; }
    QFont FontDialogSpecial() const override { return Special; }
    QFont FontDialogNormal() const override { return Normal; }
    bool CBfc() const override { return Fc; }
    bool CBhd() const override { return Hd; }
    bool CBtfc() const override { return Tfc; }
    bool CBthd() const override { return Thd; }
    bool CBsdc() const override { return Sdc; }
};
