#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A line edit for a directory path with a browse button beside it that opens the system's
// folder dialog, starting at the typed folder when it exists.
class DirectoryEdit : public QWidget {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* browseButton() const { return browse_; }

private:
    void Browse();

    QLineEdit* edit_;
    QToolButton* browse_;
};
