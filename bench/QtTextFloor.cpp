#include "QtTextFloor.h"

#include <QImage>

#include <cmath>

namespace {

// Font metrics take their resolution from a paint device: a one-pixel image set to the layout's.
QFontMetrics MetricsAt(const QFont& font, int dpi) {
    QImage device(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return QFontMetrics(font, &device);
}

} // namespace

QtTextFloor::QtTextFloor(const QFont& nameFont, const QFont& figuresFont, int layoutDpi,
                         std::vector<Line> lines)
    : nameMetrics_(MetricsAt(nameFont, layoutDpi)),
      figuresMetrics_(MetricsAt(figuresFont, layoutDpi)), lines_(std::move(lines)) {}

std::size_t QtTextFloor::Run() {
    std::vector<TextRun> runs;
    runs.reserve(2 * lines_.size());
    const double lineHeight = nameMetrics_.height() + 1;
    double y = 0;
    for (const Line& line : lines_) {
        const int nameWidth = nameMetrics_.horizontalAdvance(line.Name) + 1;
        runs.push_back({QRectF(0, y, nameWidth, lineHeight), line.Name});
        const int figuresWidth = figuresMetrics_.horizontalAdvance(line.Figures) + 1;
        runs.push_back({QRectF(600 - figuresWidth, y, figuresWidth, lineHeight), line.Figures});
        y += lineHeight;
    }
    return runs.size();
}
