#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QSizeF>

#include <cstdint>
#include <memory>

class ReportPage;

// Shows one report page as white paper with a shadow on a grey ground, scrollable, at one of
// three zooms. The page is drawn from its display list at the zoom's scale on every paint.
class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Zoom : std::uint8_t { WholePage, ActualSize, PageWidth };

    explicit PageView(QWidget* parent = nullptr);

    // The page is shared with whoever built it; none shows the bare ground.
    void SetPage(std::shared_ptr<const ReportPage> page);
    const ReportPage* Page() const { return Page_.get(); }

    Zoom CurrentZoom() const { return Zoom_; }
    void SetZoom(Zoom zoom);

    // Actual size maps one pixel of the report layout, 1/dpi inch, to one screen pixel.
    void SetLayoutDpi(int dpi);

    // Screen pixels per inch of paper at the current zoom and window size.
    double PageDpi() const;
    // Where the paper lies in the viewport, scrolled as it is now.
    QRect PageRect() const;

    // The grey border kept around the paper in every zoom.
    static constexpr int Border = 16;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF PaperTenths() const;
    QSize PagePixels() const;
    void UpdateScrollBars();

    std::shared_ptr<const ReportPage> Page_;
    Zoom Zoom_ = Zoom::PageWidth;
    int LayoutDpi_ = 96;
};
