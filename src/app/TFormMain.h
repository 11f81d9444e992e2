#pragma once

#include "DirTree.h"
#include "HeldFontDialog.h"
#include "ListingOptions.h"
#include "ReportPrintSettings.h"
#include "UpDownArrows.h"
#include "ui_TFormMain.h"

#include <QDialog>

#include <cstdint>

class TFormReport;

// The program's only interactive window: its controls hold every listing option, its run button
// scans the starting directory and opens the preview, its exit button ends the program. The report
// form reads the options through the ListingOptions interface, from the live controls.
class TFormMain : public QDialog, public ListingOptions {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The report form is created after this window and handed over once it exists.
    void SetReport(TFormReport* report) { FormReport_ = report; }

    Ui::TFormMain ui;
    HeldFontDialog FontDialogNormal_;
    HeldFontDialog FontDialogSpecial_;
    DirTree Tree; // owns DirList from BuildTree to ReleaseTree

    void SetFontDepth(std::int16_t value);
    void ButtonGoClick();
    void ButtonExitClick();
    void UpDown1Click(UpDownArrows::Button button);
    void CBthdClick();
    bool IsRunning() const { return Running_; }
    // The texts and the size font that stay fixed for a whole run.
    void SetRunTexts(const TDirEntry& root);

    // ListingOptions, over the live controls
    const TDirList* DirList() const override { return Tree.DirList.get(); }
    bool CBroot() const override { return ui.CBroot->isChecked(); }
    int TrackBarTab() const override { return ui.TrackBarTab->value(); }
    int FontDepth() const override { return FontDepth_; }
    QFont FontDialogSpecial() const override { return FontDialogSpecial_.font(); }
    QFont FontDialogNormal() const override { return FontDialogNormal_.font(); }
    bool CBfc() const override { return ui.CBfc->isChecked(); }
    bool CBhd() const override { return ui.CBhd->isChecked(); }
    bool CBtfc() const override { return ui.CBtfc->isChecked(); }
    bool CBthd() const override { return ui.CBthd->isChecked(); }
    bool CBsdc() const override { return ui.CBsdc->isChecked(); }

    // The print settings chosen in the preview's printer setup, kept for the program's life.
    ReportPrintSettings PrintSettings;

protected:
    void reject() override; // Esc presses the exit button
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void ConnectHandlers();
    void RaisePreview();

    TFormReport* FormReport_ = nullptr;
    std::int16_t FontDepth_ = 0;
    bool Running_ = false;
};
