#pragma once

#include <QWidget>

class QToolButton;

// A vertical pair of arrow buttons bound to no other control. Each press reports its direction;
// the pair keeps a position of its own (0..100, no wrap) that nobody needs to read.
class UpDownArrows : public QWidget {
    Q_OBJECT
public:
    enum class Button { Up, Down };

    explicit UpDownArrows(QWidget* parent = nullptr);

    int position() const { return position_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void clicked(UpDownArrows::Button button);

private:
    void Press(Button button);

    QToolButton* up_;
    QToolButton* down_;
    int position_ = 0;
};
