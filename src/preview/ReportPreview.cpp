#include "ReportPreview.h"

#include "PageFile.h"
#include "PdfExport.h"
#include "PrinterPageSink.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>

#include <optional>
#include <utility>

namespace {

QString PageFileFilter() {
    return QStringLiteral("tarn pages (*.%1)").arg(PageFile::FileSuffix());
}

QString PdfFilter() {
    return QStringLiteral("PDF (*.pdf)");
}

bool IsPdfPath(const QString& path) {
    return QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
}

// The dialogs do not add a suffix by themselves; the chosen filter says which one is meant.
QString WithSuffix(const QString& path, const QString& chosenFilter) {
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    const QString suffix =
        chosenFilter == PdfFilter() ? QStringLiteral("pdf") : PageFile::FileSuffix();
    return path + QLatin1Char('.') + suffix;
}

} // namespace

void ReportPreview::Preview(BandedReport& report, ReportPrintSettings& settings) {
    QCoreApplication::processEvents();
    if (report.IsRunning())
        return;
    report.SetOrientation(settings.Orientation);
    ReportPreview window(report, settings);
    window.showMaximized();
    // A cancelled pass is discarded with its window.
    if (window.Build() == BandedReport::PassResult::Cancelled)
        return;
    window.WaitUntilClosed();
}

ReportPreview::ReportPreview(BandedReport& report, ReportPrintSettings& settings, QWidget* parent)
    : QMainWindow(parent), Report_(report), Settings_(settings),
      EarlierProcessEvents_(
          std::exchange(report.ProcessEvents, [] { QCoreApplication::processEvents(); })),
      ReportError_(
          [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); }),
      ZoomGroup_(new QActionGroup(this)), PageLabel_(new QLabel), BuildingLabel_(new QLabel) {
    ui.setupUi(this);
    setWindowTitle(Report_.ReportTitle());
    ui.Pages->SetLayoutDpi(Report_.LayoutDpi());
    PageLabel_->setObjectName(QStringLiteral("PageLabel"));
    BuildingLabel_->setObjectName(QStringLiteral("BuildingLabel"));
    BuildingLabel_->setText(QStringLiteral("Building pages…"));
    ui.StatusBar->addWidget(PageLabel_);
    ui.StatusBar->addPermanentWidget(BuildingLabel_);
    SetUpActions();
    ConnectActions();
    ShowZoom(PageView::Zoom::PageWidth);
    UpdateActions();
    UpdateStatus();
}

ReportPreview::~ReportPreview() {
    Report_.ProcessEvents = std::move(EarlierProcessEvents_);
}

BandedReport::PassResult ReportPreview::Build() {
    Building_ = true;
    UpdateActions();
    UpdateStatus();
    const BandedReport::PassResult result = Report_.Run(*this);
    Building_ = false;
    UpdateActions();
    UpdateStatus();
    return result;
}

void ReportPreview::WaitUntilClosed() {
    if (Closed_)
        return;
    QEventLoop loop;
    connect(this, &ReportPreview::Closed, &loop, &QEventLoop::quit);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    loop.exec();
}

void ReportPreview::ShowPage(int number) {
    if (Pages_.empty()) {
        Current_ = 0;
        ui.Pages->SetPage(nullptr);
    } else {
        Current_ = qBound(1, number, PageCount());
        const auto& page = Pages_[static_cast<std::size_t>(Current_ - 1)];
        if (ui.Pages->Page() != page.get())
            ui.Pages->SetPage(page);
    }
    UpdateActions();
    UpdateStatus();
}

void ReportPreview::Print() {
    if (Building_ || Printing_ || !CanPrint(Settings_))
        return;
    Printing_ = true;
    UpdateActions();
    QString error;
    {
        // Loaded pages were laid out for another run's range; they print whole.
        ReportPrintSettings target = Settings_;
        if (Loaded_)
            target.FirstPage = target.LastPage = 0;
        PrinterPageSink printer(target, Report_.ReportTitle());
        if (Loaded_) {
            const PageList pages = Pages_;
            for (const auto& page : pages)
                printer.PageFinished(page);
            error = printer.Finish();
        } else if (Report_.Run(printer) == BandedReport::PassResult::Cancelled) {
            printer.Abort();
        } else {
            error = printer.Finish();
        }
    }
    Printing_ = false;
    UpdateActions();
    if (!error.isEmpty())
        ReportError_(error);
}

void ReportPreview::ApplyPrinterSetup(const ReportPrintSettings& chosen) {
    Settings_ = chosen;
    Report_.SetOrientation(chosen.Orientation);
}

bool ReportPreview::SaveTo(const QString& path) {
    if (Building_ || Pages_.empty())
        return false;
    const QString error = IsPdfPath(path)
                              ? PdfExport::Write(path, Pages_, Report_.ReportTitle()).Error
                              : PageFile::Save(path, Pages_).Error;
    if (!error.isEmpty())
        ReportError_(error);
    return error.isEmpty();
}

bool ReportPreview::LoadFrom(const QString& path) {
    if (Building_ || Printing_)
        return false;
    PageFile::LoadResult loaded = PageFile::Load(path);
    if (!loaded.Ok()) {
        ReportError_(loaded.Error);
        return false;
    }
    Pages_ = std::move(loaded.Pages);
    Loaded_ = true;
    Current_ = 0;
    ShowPage(1);
    return true;
}

void ReportPreview::closeEvent(QCloseEvent* event) {
    if (Building_ || Printing_)
        Report_.Cancel();
    Closed_ = true;
    QMainWindow::closeEvent(event);
    emit Closed();
}

void ReportPreview::PageFinished(std::shared_ptr<const ReportPage> page) {
    Pages_.push_back(std::move(page));
    if (Current_ == 0) {
        ShowPage(1);
        return;
    }
    UpdateActions();
    UpdateStatus();
}

void ReportPreview::SetUpActions() {
    for (QAction* zoom : {ui.ActionWholePage, ui.ActionActualSize, ui.ActionPageWidth})
        ZoomGroup_->addAction(zoom);
    ZoomGroup_->setExclusive(true);

    ui.ActionFirstPage->setShortcuts(
        {QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    ui.ActionPreviousPage->setShortcut(QKeySequence(Qt::Key_PageUp));
    ui.ActionNextPage->setShortcut(QKeySequence(Qt::Key_PageDown));
    ui.ActionLastPage->setShortcuts(
        {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    ui.ActionClose->setShortcut(QKeySequence(Qt::Key_Escape));

    // The desktop's icon theme where there is one; the style's own icons otherwise, and text
    // alone for the functions the style has no picture of.
    const QStyle* look = style();
    const auto icon = [look](const QString& themeName, std::optional<QStyle::StandardPixmap> own) {
        return QIcon::fromTheme(themeName, own ? look->standardIcon(*own) : QIcon());
    };
    ui.ActionWholePage->setIcon(icon(QStringLiteral("zoom-fit-best"), {}));
    ui.ActionActualSize->setIcon(icon(QStringLiteral("zoom-original"), {}));
    ui.ActionPageWidth->setIcon(icon(QStringLiteral("zoom-fit-width"), {}));
    ui.ActionFirstPage->setIcon(icon(QStringLiteral("go-first"), QStyle::SP_MediaSkipBackward));
    ui.ActionPreviousPage->setIcon(
        icon(QStringLiteral("go-previous"), QStyle::SP_MediaSeekBackward));
    ui.ActionNextPage->setIcon(icon(QStringLiteral("go-next"), QStyle::SP_MediaSeekForward));
    ui.ActionLastPage->setIcon(icon(QStringLiteral("go-last"), QStyle::SP_MediaSkipForward));
    ui.ActionPrinterSetup->setIcon(icon(QStringLiteral("printer"), {}));
    ui.ActionPrint->setIcon(icon(QStringLiteral("document-print"), {}));
    ui.ActionSave->setIcon(icon(QStringLiteral("document-save-as"), QStyle::SP_DialogSaveButton));
    ui.ActionLoad->setIcon(icon(QStringLiteral("document-open"), QStyle::SP_DialogOpenButton));
    ui.ActionClose->setIcon(icon(QStringLiteral("window-close"), QStyle::SP_DialogCloseButton));
}

void ReportPreview::ConnectActions() {
    connect(ui.ActionWholePage, &QAction::triggered, this,
            [this] { ShowZoom(PageView::Zoom::WholePage); });
    connect(ui.ActionActualSize, &QAction::triggered, this,
            [this] { ShowZoom(PageView::Zoom::ActualSize); });
    connect(ui.ActionPageWidth, &QAction::triggered, this,
            [this] { ShowZoom(PageView::Zoom::PageWidth); });
    connect(ui.ActionFirstPage, &QAction::triggered, this, [this] { ShowPage(1); });
    connect(ui.ActionPreviousPage, &QAction::triggered, this, [this] { ShowPage(Current_ - 1); });
    connect(ui.ActionNextPage, &QAction::triggered, this, [this] { ShowPage(Current_ + 1); });
    connect(ui.ActionLastPage, &QAction::triggered, this, [this] { ShowPage(PageCount()); });
    connect(ui.ActionPrinterSetup, &QAction::triggered, this, &ReportPreview::PrinterSetupClick);
    connect(ui.ActionPrint, &QAction::triggered, this, &ReportPreview::Print);
    connect(ui.ActionSave, &QAction::triggered, this, &ReportPreview::SaveClick);
    connect(ui.ActionLoad, &QAction::triggered, this, &ReportPreview::LoadClick);
    connect(ui.ActionClose, &QAction::triggered, this, &QWidget::close);
    // Ending the program closes the preview, which also cancels a pass under way.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &QWidget::close);
}

void ReportPreview::ShowZoom(PageView::Zoom zoom) {
    ui.Pages->SetZoom(zoom);
    QAction* toggle = zoom == PageView::Zoom::WholePage    ? ui.ActionWholePage
                      : zoom == PageView::Zoom::ActualSize ? ui.ActionActualSize
                                                           : ui.ActionPageWidth;
    toggle->setChecked(true);
}

void ReportPreview::UpdateActions() {
    const bool idle = !Building_ && !Printing_;
    ui.ActionPrinterSetup->setEnabled(idle && !Loaded_);
    ui.ActionPrint->setEnabled(idle);
    ui.ActionSave->setEnabled(!Building_ && !Pages_.empty());
    ui.ActionLoad->setEnabled(idle);
    ui.ActionFirstPage->setEnabled(Current_ > 1);
    ui.ActionPreviousPage->setEnabled(Current_ > 1);
    ui.ActionNextPage->setEnabled(Current_ < PageCount());
    ui.ActionLastPage->setEnabled(Current_ < PageCount());
}

void ReportPreview::UpdateStatus() {
    BuildingLabel_->setVisible(Building_);
    if (Pages_.empty())
        PageLabel_->setText(Building_ ? QString() : QStringLiteral("No pages"));
    else
        PageLabel_->setText(QStringLiteral("Page %1 of %2").arg(Current_).arg(PageCount()));
}

void ReportPreview::PrinterSetupClick() {
    if (Building_ || Printing_ || Loaded_)
        return;
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSettings(Settings_, printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, qMax(1, PageCount()));
    if (dialog.exec() == QDialog::Accepted)
        ApplyPrinterSetup(PrintSettingsFrom(printer));
}

void ReportPreview::SaveClick() {
    if (Building_ || Pages_.empty())
        return;
    QString chosenFilter;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save pages"), QString(),
        PageFileFilter() + QStringLiteral(";;") + PdfFilter(), &chosenFilter);
    if (!path.isEmpty())
        SaveTo(WithSuffix(path, chosenFilter));
}

void ReportPreview::LoadClick() {
    if (Building_ || Printing_)
        return;
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Load pages"), QString(),
                                     PageFileFilter() + QStringLiteral(";;All files (*)"));
    if (!path.isEmpty())
        LoadFrom(path);
}
