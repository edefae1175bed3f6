// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: ten cover slots on a tab strip, the "Print Options" boxes, the toolbar and menus,
// the notification-area icon, start-up and shut-down. The open covers are its cover document: the
// slots, fit controls, text windows, boxes and menus show the document and send their edits to it.
#include "covers/fit_mode.h"
#include "covers/selection_rules.h"
#include "coverset/cover_set.h"
#include "document/cover_document.h"
#include "output/print/print_job.h"
#include "output/print/retain_original_printer.h"
#include "platform/platform.h"
#include "popup/alert_state.h"

#include <QMainWindow>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QGroupBox;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace kavi {

class ImageFileWriter;
class DriveList;
class FileList;
class FolderList;
class PrintChoicesMenu;
class PrinterChooser;
class NoticeLabel;
class CoverPageView;
class DiscPageView;
class DiscTicksView;
class PictureSlot;
class PrintOptionsView;
struct PrintOutcome;
class RecoveryCopy;
class ScanTab;
class TabStrip;
class UndoActions;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    Platform& platform;

    // Workspace state.
    QString SelectedImage; // "Image1" ... "Image10", or empty before any slot was clicked
    bool InTray = false;
    QString helpFile; // set at load: the help in the program folder
    std::unique_ptr<ImageFileWriter> gdip; // the image-file writer, from load to unload
    OriginalPrinterRecord OriginalPrinter; // the default printer at start-up, put back at unload
    AlertModule alerts = std::make_shared<msnpopup>(); // what the alert popups show and their stack

    // The open covers.
    CoverDocument& document() { return document_; }
    const CoverDocument& document() const { return document_; }

    // Controls.
    PictureSlot* Image(int n) const;
    // The fit control on cover n's tab: "Stretch", "Fill" or "Fit".
    QComboBox* cboFit(int n) const;
    QCheckBox* Check(int n) const;
    QPushButton* cmdPrint = nullptr;
    TabStrip* SSTab1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QMenu* File = nullptr;
    QMenu* Edit = nullptr; // Undo and Redo of the covers' design
    QMenu* help = nullptr;
    QMenu* PaperMenu = nullptr; // "Letter and Legal" or "A4"
    QAction* PaperLetterLegal = nullptr;
    QAction* PaperA4 = nullptr;
    QAction* CutMarks = nullptr;
    PrintChoicesMenu* printChoicesMenu = nullptr; // the print choices in the Paper menu
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    DriveList* drvSelect = nullptr;
    FolderList* dirSelect = nullptr;
    FileList* fileSelect = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    ScanTab* scanTab = nullptr; // the "Scan" tab's controls and handlers
    NoticeLabel* lblNotice = nullptr; // one-line notices in the free end of the toolbar

    // Where the settings are kept and what the settings fallback returns to; both default to the
    // program folder.
    QString settingsFile;
    QString programFolderPath;

    // Selection rule of one box, run after its state changed: box n's tick goes to the document,
    // whose rules then set all ten boxes and Print.
    void ApplyKindRule(int n);

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    void Form_Resize();

    // Commands.
    void Toolbar1_ButtonClick(int index);
    void Print_Click();
    void A_Click();
    void exit_Click();
    void contents_Click();
    void reportabug_Click();
    void visitwebsite_Click();
    void checkforupdates_Click();
    void about_Click();
    void systemInformation_Click();
    void cmdPrint_Click();
    void ExportPdf_Click();
    void PrintPreview_Click();
    void PrintTo_Click();
    void PaperLetterLegal_Click();
    void PaperA4_Click();
    void CutMarks_Click();
    void CalibratePrinter_Click();
    void LabelStock_Click(); // File > Label Stock... (frmcovercreator_discs.cpp)
    void SaveCoverPictureAs_Click();
    void Image_Click(int n);
    void cboFit_Click(int n);

    // How cover n's picture fills its cover (n is 1...10). Setting it shows it on the tab and in
    // what prints, and announces nothing: fitModeChanged tells of the user's own changes only, and
    // only those count as unsaved work.
    FitMode fitMode(int n) const;
    void setFitMode(int n, FitMode mode);

    // Cover text and saved cover sets.
    QAction* OpenCoverSet = nullptr;
    QAction* SaveCoverSet = nullptr;
    QPushButton* cmdText(int n) const;
    void OpenCoverSet_Click();
    bool SaveCoverSet_Click(); // true when the covers were saved
    void Text_Click(int n); // the cover text window of kind n
    const CoverText& coverText(int n) const { return document_.text(Kind(n)); }
    // Shows the text on cover n, without counting it as unsaved work (the text window's does).
    void setCoverText(int n, const CoverText& text);
    // An accepted Manipulator edit, a fit mode or a text changed since the last save or open.
    bool hasUnsavedWork() const { return document_.hasUnsavedWork(); }
    void markUnsavedWork() { setUnsavedWork(true); }
    // Asks whether to save unsaved work first; true when the caller may go on (saved or discarded).
    bool settleUnsavedWork();
    CoverSet currentCoverSet() const;
    void applyCoverSet(const CoverSet& set);

    // The recovery copy of unsaved covers (frmcovercreator_recovery.cpp): kept in recoveryFolder
    // (the user's data folder unless set before Form_Load), written tmrRecovery's interval after the
    // last change and at a termination signal, removed when the covers are saved or discarded.
    QString recoveryFolder;
    QTimer* tmrRecovery = nullptr; // single shot
    void tmrRecovery_Timer();
    // Asked to stop by a signal (a logout): unsaved covers go into the recovery copy, then the
    // window shuts down without asking anything.
    void stopRequested(int signalNumber);
    // This run's recovery copy from Form_Load to Form_Unload; null outside, or when none can be kept.
    RecoveryCopy* recoveryCopy() const { return recovery_.get(); }

    // Tells the user what just happened, in a line that goes away by itself or at the next action.
    void ShowNotice(const QString& text);
    // Loads a picture file named on the command line into the cover whose tab is showing.
    void openPicture(const QString& path);
    // Loads fullName into the showing tab's cover (a notice names shownName if it fails); false on the Scan tab.
    bool loadIntoShowingCover(const QString& fullName, const QString& shownName);
    // True from the moment a pick or a drop starts loading a picture until it is in its cover.
    bool isLoadingPicture() const { return loadingPicture_; }

    // Picture picking.
    void drvSelect_Change();
    void dirSelect_Change();
    void fileSelect_Click();
    void SSTab1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    bool FileExists(const QString& FileName) const;

    // Settings.
    void readini();
    void writeini();
    // The print layout (paper, cut marks), kept in a section of its own and written only when changed.
    PrintLayoutSettings printLayout() const;
    void readPrintLayoutSettings();
    // What the print command, the preview and the export read from the window.
    PrintSelection printSelection() const;

    // Window operations.
    void OpenEmail(const QString& EmailAddress, const QString& Subject, const QString& Body);
    int ShellOpen(const QString& target, int showCommand);
    void MakeTopMost(QWidget* window);
    void MakeNormal(QWidget* window);
    bool ForceForegroundWindow(QWidget* window);
    void NoSysIcon(bool leave);
    void ShowProgramInTray();
    void RemoveTrayIcon();
    // The icon's notification arrives as a mouse move whose X in twips is the message number * 15.
    void trayicon_MouseMove(double x);

signals:
    // The user chose another fit mode for cover n.
    void fitModeChanged(int n);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Picture files dropped from a file manager (frmcovercreator_drop.cpp).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildToolbar(QWidget* client);
    void buildMenus();
    void buildTabs(QWidget* client);
    void buildPrintOptions(QWidget* client);
    void updateSaveCoverPicture();
    void buildFrames(QWidget* client);
    void placeNotice();
    void buildPictureLists();
    void buildPrintLayoutMenu();
    void buildCoverSetMenu();
    // The disc kinds' tabs, boxes and printing (frmcovercreator_discs.cpp).
    void buildDiscs(QWidget* client);
    bool loadIntoShowingDisc(const QString& fullName, const QString& shownName);
    enum class DiscOutput { Print, Export, Preview };
    // Prints or exports the ticked disc label, or refuses case covers on stock; false when neither applies.
    bool handledAsDiscLabel(DiscOutput output);
    void setUnsavedWork(bool unsaved) { document_.setUnsavedWork(unsaved); }
    // With unsaved work the recovery copy follows the covers; without, it goes.
    void unsavedWorkChanged();
    // The covers changed: with unsaved work, the recovery copy is written a little later.
    void coversChanged();
    void startRecoveryCopy();
    void offerLeftCopies();
    void endRecoveryCopy();
    // Keeps a layout the user chose: in the document and in the settings file.
    void choosePrintLayout(const PrintLayoutSettings& layout);
    void showPrintLayout();
    // Shows a change of the document in the controls that show that part of it.
    void documentChanged(std::optional<Kind> kind, CoverDocument::What what);
    void announceDamagedPicture(Kind kind);
    void showPrintOutcome(const PrintOutcome& outcome);
    bool readSettings();
    void applySettingsFallback();
    void setBusy(bool busy);
    // One picture load at a time: false, and nothing changes, while another one runs.
    bool beginPictureLoad();
    void endPictureLoad();
    // Loads a file into cover number (1 to 10); empty on success, else the notice saying why not.
    QString loadIntoCover(int number, const QString& fullName, const QString& shownName);
    int showingCover() const; // the number of the cover whose tab shows, 0 for the Scan tab
    int coverAt(const QPoint& at) const; // the cover whose picture is at that point, else the showing one
    void loadDroppedFiles(int number, const QStringList& files);
    static QString stillLoadingNotice(const QString& shownName);
    static QString scanTabNotice(const QString& shownName);
    void onTrayActivated(TrayActivation activation);
    void markSelectedCover();
    // Hides the window into the notification area, keeping its place for its return.
    void hideIntoTray();
    // What "Report A Bug" and "Visit Website" do when no program opens their link.
    Shell::Failure linkFailureReport(const QString& target);

    CoverDocument document_; // the open covers, which every control of the window shows
    PerKind<CoverPageView*> pages_;
    PrintOptionsView* printOptions_ = nullptr;
    PerDiscKind<DiscPageView*> discPages_;
    DiscTicksView* discTicks_ = nullptr;
    QAction* saveCoverPicture_ = nullptr;
    QWidget* client_ = nullptr;
    bool loaded_ = false;
    bool unloaded_ = false;
    std::optional<QRect> trayGeometry_; // the window's place (inside its frame) when it went into the tray
    bool fixingSize_ = false;
    bool loadingPicture_ = false;
    std::unique_ptr<PrinterChooser> form1_; // the printer chooser, kept for the run once opened
    bool adoptingCopy_ = false; // the covers of a left recovery copy are being taken over as they are
    std::unique_ptr<RecoveryCopy> recovery_;
    bool keepRecoveryCopy_ = false; // a signal ended the run with unsaved covers
    bool recoveryFailureShown_ = false;
    QString coverSetPath_; // the cover set last opened or saved
    std::unique_ptr<UndoActions> undoActions_; // watches document_, so it goes first
};

} // namespace kavi
