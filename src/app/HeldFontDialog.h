#pragma once

#include <QFont>

class QWidget;

// A font dialog that holds its font for the program's life: it opens with that font, OK replaces
// it with the user's choice, Cancel leaves it as it was.
class HeldFontDialog {
public:
    HeldFontDialog();

    const QFont& font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }
    // Returns whether the user confirmed.
    bool Execute(QWidget* parent);

private:
    QFont font_;
};
