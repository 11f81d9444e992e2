#include "HyperlinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

HyperlinkLabel::HyperlinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    setPalette(blue);
}

QUrl HyperlinkLabel::url() const {
    return QUrl(QStringLiteral("mailto:") + text());
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit linkActivated(url());
    QDesktopServices::openUrl(url()); // the answer is not examined: nothing to report
}
