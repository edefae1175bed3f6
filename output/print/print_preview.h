// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Print Preview": every page of the job the print command would send, drawn from the same laid-out
// pages (the sheet, the printer's printable area, each cover in its rectangle, cut marks, covers
// that do not fit marked in red), with page navigation, two zooms, a number of copies and a Print
// button that sends exactly that job. The job's own steps draw the pages (screen_page_printer.h), with
// screen-size copies of the pictures made once when the window opens; the job keeps the full pictures.
#include "output/print/cover_printing.h"
#include "output/print/screen_page_printer.h"

#include <QDialog>
#include <QImage>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace kavi {

class PreviewSheet;

class PrintPreviewWindow : public QDialog {
public:
    // Prepares the job for the default printer, or for a PDF file when no printer can be used.
    PrintPreviewWindow(Platform& platform, PrintSelection selection, QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    const PreparedJob& job() const { return job_; }
    // The printer's printable area is drawn only for a printer that told it.
    bool showsPrintableArea() const { return !job_.toFile && job_.printableKnown; }
    int currentPage() const { return page_; } // from 0
    void showPage(int index);
    // Pixels per inch of the page as shown.
    double zoom() const { return zoom_; }
    void zoomToFit();
    void zoomToActualSize();
    // One page as the window draws it, without the window around it: the sheet at the given
    // resolution, its top-left corner at 0, 0.
    QImage pageImage(int index, double pixelsPerInch) const;
    // What the Print button sent; nothing before it was pressed.
    PrintOutcome outcome() const { return outcome_; }
    // Lays the job out again for the named queue (empty: the default printer), as Print would
    // send it there; a queue that cannot print now is refused with the reason. No default changes.
    void choosePrinter(const QString& queue);
    const QString& chosenQueue() const { return queue_; }

    void cmdPrevious_Click();
    void cmdNext_Click();
    // Asks the print command's questions, then sends the job with the chosen copies and closes.
    void cmdPrint_Click();

    QLabel* lblPage;
    QPushButton* cmdPrevious;
    QPushButton* cmdNext;
    QPushButton* cmdZoomFit;
    QPushButton* cmdZoom100;
    QLabel* lblCopies;
    QSpinBox* spnCopies;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;
    QLabel* lblPrinter; // where the job goes
    QComboBox* cboPrinter; // the default printer, then each installed queue
    QLabel* lblFit; // the covers of this page that do not fit, in words

protected:
    // Keeps the page fitted to the window while "Zoom to Fit" is the zoom.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setZoom(double pixelsPerInch);
    void updatePage();
    void prepare();

    Platform& platform_;
    PrintSelection selection_;
    PreparedJob job_;
    // Per page, what the job draws on it, with the pictures at the size they have at 100%.
    std::vector<PreviewPage> shownPages_;
    int page_ = 0;
    double zoom_ = 96;
    bool fitting_ = true; // the zoom follows the window's size
    QScrollArea* scroll_;
    PreviewSheet* sheet_;
    PrintOutcome outcome_;
    QString queue_; // the queue chosen in the list; empty for the default printer
    std::vector<InstalledPrinter> queues_;
    double copyPpi_ = 96;
};

// The "Print Preview" command: says so when nothing is ticked, and when none of the ticked covers
// has a picture; otherwise shows the modal preview. Returns what its Print button sent.
PrintOutcome showPrintPreview(Platform& platform, const PrintSelection& selection, QWidget* parent);

} // namespace kavi
