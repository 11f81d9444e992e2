#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRectF>
#include <QString>

#include <vector>

// Qt's own floor for a report pass: what it costs to measure each line's two texts, the name and
// the figures, with QFontMetrics at the layout resolution and to record both as text runs in a
// vector, and nothing else: no tree, no labels, no bands, no pages.
class QtTextFloor {
public:
    struct Line {
        QString Name;
        QString Figures;
    };

    QtTextFloor(const QFont& nameFont, const QFont& figuresFont, int layoutDpi,
                std::vector<Line> lines);

    // One pass over every line; returns the number of text runs recorded.
    std::size_t Run();

private:
    struct TextRun {
        QRectF Box;
        QString Text;
    };

    QFontMetrics nameMetrics_;
    QFontMetrics figuresMetrics_;
    std::vector<Line> lines_;
};
