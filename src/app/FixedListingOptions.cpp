#include "FixedListingOptions.h"

FixedListingOptions::FixedListingOptions(const CommandLineOptions& options, const TDirList* dirList)
    : Options_(options), DirList_(dirList), Special_(FontOf(options.SpecialFont)),
      Normal_(FontOf(options.NormalFont)) {}

QFont FixedListingOptions::FontOf(const CommandLineOptions::FontChoice& choice) {
    QFont font(choice.Family);
    font.setPointSizeF(choice.Points);
    return font;
}
