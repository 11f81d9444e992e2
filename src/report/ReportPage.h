#pragma once

#include <QFont>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

// How a text run sits in its box: starting at the box's left edge, ending at its right edge, or
// centred on it. Text is never clipped to the box.
enum class TextAlignment : std::uint8_t { Left, Right, Center };

// One primitive of a page drawing. Fills cover whatever was drawn before them at the same place,
// so the order of the items is part of the drawing.
struct PageItem {
    enum class Kind : std::uint8_t { Fill, Text };
    Kind ItemKind = Kind::Fill;
    QRectF Rect;                 // tenths of a millimetre from the paper's top-left corner
    QRgb Colour = 0xffffffff;    // fill colour, or text colour
    TextAlignment Alignment = TextAlignment::Left;  // text only
    std::uint32_t FontIndex = 0; // text only: index into ReportPage::Fonts
    QString Text;                // text only: one line
};

// A finished page as a resolution-independent drawing: paper size and an ordered list of filled
// rectangles and text runs. Fonts are interned so that a page of many lines holds few QFonts.
class ReportPage {
public:
    QSizeF PaperSize;            // tenths of a millimetre, as oriented (portrait: 2100 x 2970)
    std::vector<QFont> Fonts;
    std::vector<PageItem> Items;

    void AddFill(const QRectF& rect, QRgb colour);
    void AddText(const QRectF& box, TextAlignment alignment, const QFont& font, QRgb colour,
                 const QString& text);

private:
    std::uint32_t InternFont(const QFont& font);
};
