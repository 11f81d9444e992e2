#include "HeldFontDialog.h"

#include <QFontDialog>

HeldFontDialog::HeldFontDialog() : font_(QStringLiteral("Arial"), 8) {}

bool HeldFontDialog::Execute(QWidget* parent) {
    bool ok = false;
    // Scalable fonts only: what prints at any size, as the printer's outline fonts do.
    const QFont chosen =
        QFontDialog::getFont(&ok, font_, parent, QString(),
                             QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts);
    if (ok)
        font_ = chosen;
    return ok;
}
