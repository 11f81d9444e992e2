#pragma once

#include <cmath>

// The report's length unit is the tenth of a millimetre. Positions and sizes that are given in
// pixels belong to the report layout at 100 % zoom, one pixel being 1/DPI inch at the layout's
// resolution.
namespace LayoutUnits {

inline constexpr double TenthsPerInch = 254.0;
inline constexpr int DefaultLayoutDpi = 96;

constexpr double PixelsToTenths(double pixels, int dpi) {
    return pixels * TenthsPerInch / dpi;
}

// Running positions on a page are whole tenths of a millimetre.
inline double RoundToTenth(double tenths) {
    return std::round(tenths);
}

} // namespace LayoutUnits
