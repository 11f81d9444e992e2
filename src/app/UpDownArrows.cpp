#include "UpDownArrows.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setIconSize(QSize(8, 8));
        layout->addWidget(button);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, [this] { Press(Button::Up); });
    connect(down_, &QToolButton::clicked, this, [this] { Press(Button::Down); });
}

void UpDownArrows::Press(Button button) {
    position_ = qBound(0, position_ + (button == Button::Up ? 1 : -1), 100);
    emit clicked(button);
}
