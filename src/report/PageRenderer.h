#pragma once

#include <QSizeF>

class QPainter;
class ReportPage;

// Draws a page onto any painter: screen, printer, PDF or image. The paper's top-left corner is at
// the painter's origin (for a printer not in full-page mode, the caller translates the painter by
// the printable area's offset) and one tenth of a millimetre becomes dotsPerInch / 254 device
// pixels.
// Fonts are drawn at their point size at that resolution. A text run starts at its box's left
// edge, ends at its right edge or is centred on it, with the top of its line at the box's top;
// nothing is clipped. The paper itself is not painted: the caller provides a white page.
class PageRenderer {
public:
    // For a painter whose device is at another resolution than the page is to be drawn at, as a
    // zoomed preview is; the painter is scaled for the duration of the call.
    static void Render(QPainter& painter, const ReportPage& page, const QSizeF& dotsPerInch);
    // At the device's own resolution, as for a printer, a PDF writer or an image.
    static void Render(QPainter& painter, const ReportPage& page);
};
