#include "ReportPage.h"

void ReportPage::AddFill(const QRectF& rect, QRgb colour) {
    PageItem item;
    item.ItemKind = PageItem::Kind::Fill;
    item.Rect = rect;
    item.Colour = colour;
    Items.push_back(std::move(item));
}

void ReportPage::AddText(const QRectF& box, TextAlignment alignment, const QFont& font,
                         QRgb colour, const QString& text) {
    PageItem item;
    item.ItemKind = PageItem::Kind::Text;
    item.Rect = box;
    item.Colour = colour;
    item.Alignment = alignment;
    item.FontIndex = InternFont(font);
    item.Text = text;
    Items.push_back(std::move(item));
}

std::uint32_t ReportPage::InternFont(const QFont& font) {
    // Lines reuse one or two fonts, so the last few entries are the ones that match.
    for (std::size_t i = Fonts.size(); i-- > 0;) {
        if (Fonts[i] == font)
            return static_cast<std::uint32_t>(i);
    }
    Fonts.push_back(font);
    return static_cast<std::uint32_t>(Fonts.size() - 1);
}
