#include "DirectoryEdit.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

DirectoryEdit::DirectoryEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), browse_(new QToolButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(browse_);
    browse_->setText(QStringLiteral("..."));
    browse_->setToolTip(tr("browse for a folder"));
    browse_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);
    connect(browse_, &QToolButton::clicked, this, &DirectoryEdit::Browse);
}

QString DirectoryEdit::text() const {
    return edit_->text();
}

void DirectoryEdit::setText(const QString& text) {
    edit_->setText(text);
}

void DirectoryEdit::Browse() {
    const QString typed = edit_->text();
    const QString start = QFileInfo(typed).isDir() ? typed : QString();
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("starting directory"), start);
    if (!chosen.isEmpty())
        edit_->setText(chosen);
}
