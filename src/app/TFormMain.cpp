#include "TFormMain.h"

#include "ReportPreview.h"
#include "RunTexts.h"
#include "TFormReport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

namespace {

// The window's text face: a sans serif with the metrics the fixed layout was drawn for.
QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setPointSize(8);
    return font;
}

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { Restore(); }
    void Restore() {
        if (active_)
            QApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

} // namespace

TFormMain::TFormMain(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setFont(WindowFont());
    ui.setupUi(this);
    setFixedSize(342, 386);
    ui.Dir->setText(QStringLiteral("/"));
    ConnectHandlers();
    FormCreate();
}

TFormMain::~TFormMain() {
    Tree.ReleaseTree();
}

void TFormMain::FormCreate() {
    ui.Image->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormMain::ConnectHandlers() {
    connect(ui.ButtonGo, &QPushButton::clicked, this, &TFormMain::ButtonGoClick);
    connect(ui.ButtonExit, &QPushButton::clicked, this, &TFormMain::ButtonExitClick);
    connect(ui.TrackBarColumns, &QSlider::valueChanged, this,
            [this](int value) { ui.LabelColV->setText(QString::number(value)); });
    connect(ui.TrackBarTab, &QSlider::valueChanged, this,
            [this](int value) { ui.LabelTabV->setText(QString::number(value)); });
    connect(ui.UpDown1, &UpDownArrows::clicked, this, &TFormMain::UpDown1Click);
    connect(ui.Button1, &QPushButton::clicked, this, [this] { FontDialogSpecial_.Execute(this); });
    connect(ui.Button2, &QPushButton::clicked, this, [this] { FontDialogNormal_.Execute(this); });
    connect(ui.CBthd, &QCheckBox::clicked, this, &TFormMain::CBthdClick);
}

void TFormMain::SetFontDepth(std::int16_t value) {
    FontDepth_ = std::clamp<std::int16_t>(value, 0, 16);
    ui.LabelFontDepth->setText(QString::number(FontDepth_));
}

void TFormMain::UpDown1Click(UpDownArrows::Button button) {
    if (button == UpDownArrows::Button::Up)
        SetFontDepth(static_cast<std::int16_t>(FontDepth_ + 1));
    else if (button == UpDownArrows::Button::Down)
        SetFontDepth(static_cast<std::int16_t>(FontDepth_ - 1));
}

void TFormMain::CBthdClick() {
    ui.CBsdc->setEnabled(ui.CBthd->isChecked());
}

void TFormMain::ButtonGoClick() {
    // One run, one tree and one preview at a time: a second press shows the open preview.
    if (Running_) {
        RaisePreview();
        return;
    }
    if (FormReport_ == nullptr)
        return;
    Running_ = true;
    BusyCursor busy;
    const QString start = ui.Dir->text();
    Tree.BuildTree(QFile::encodeName(start).toStdString());
    if (const TDirEntry* root = Tree.Root()) {
        SetRunTexts(*root);
        busy.Restore();
        ReportPreview::Preview(FormReport_->QR, PrintSettings);
    } else {
        busy.Restore();
        QMessageBox::warning(this, QApplication::applicationName(),
                             QStringLiteral("Error accessing \"%1\"").arg(start));
    }
    Tree.ReleaseTree();
    Running_ = false;
}

void TFormMain::SetRunTexts(const TDirEntry& root) {
    ::SetRunTexts(*FormReport_, root,
                  {ui.TrackBarColumns->value(), FontDialogNormal_.font(), ui.EditCaption->text(),
                   ui.CBdate->isChecked(), ui.CBsummary->isChecked()});
}

void TFormMain::RaisePreview() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<ReportPreview*>(widget) && widget->isVisible()) {
            widget->raise();
            widget->activateWindow();
        }
    }
}

void TFormMain::ButtonExitClick() {
    // Ends every event loop, the preview's wait included; the run then releases its tree.
    QApplication::quit();
}

void TFormMain::reject() {
    ui.ButtonExit->click();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    event->accept();
    ButtonExitClick();
}
