#include "HeldFontDialog.h"

#include <QFontDialog>

HeldFontDialog::HeldFontDialog() : font_(QStringLiteral("Arial"), 8) {}

bool HeldFontDialog::Execute(QWidget* parent) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font_, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (ok)
        font_ = chosen;
    return ok;
}
