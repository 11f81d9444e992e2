#pragma once

#include <QLabel>

// A label that looks like a link (blue, underlined, hand cursor) and, when clicked, asks the
// desktop to open "mailto:" followed by its text. Nothing is reported when no mail program answers.
class HyperlinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit HyperlinkLabel(QWidget* parent = nullptr);

    QUrl url() const;

signals:
    void linkActivated(const QUrl& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
