// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "about/about_window.h"
#include "app/cover_page_view.h"
#include "app/maker.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/print_options_view.h"
#include "app/recovery_copy.h"
#include "app/tab_strip.h"
#include "app/undo_actions.h"
#include "covers/cover_kinds.h"
#include "manipulator/manipulator_window.h"
#include "output/print/cover_printing.h"
#include "output/print/print_layout_settings.h"
#include "output/print/printer_chooser.h"
#include "output/scan/image_file_writer.h"
#include "output/scan/scan_tab.h"
#include "platform/files/program_folder.h"
#include "popup/alert_popup_window.h"
#include "popup/alert_state.h"
#include "sysinfo/system_info_window.h"
#include "update/update_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace kavi {

namespace {

// Calls back when the watched window hides (it was closed).
class WindowClosedWatch : public QObject {
public:
    explicit WindowClosedWatch(std::function<void()> closed) : closed_(std::move(closed)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) closed_();
        return false;
    }

private:
    std::function<void()> closed_;
};

// Client area and toolbar, in twips.
constexpr int kClientWidth = 12870; // with the Disc Labels group beside Print Options
constexpr int kClientHeight = 6870;
constexpr int kToolbarHeight = 720;

struct ToolbarButton {
    const char* caption;
    const char* icon;
};
constexpr ToolbarButton kToolbarButtons[] = {
    {"Print Cover", ":/kavi/toolbar/print.svg"},
    {"About", ":/kavi/toolbar/about.svg"},
    {"Cover Manipulator", ":/kavi/toolbar/manipulator.svg"},
    {"Report A Bug", ":/kavi/toolbar/bug.svg"},
    {"Help", ":/kavi/toolbar/help.svg"},
    {"Visit Website", ":/kavi/toolbar/website.svg"},
};

// Notification message numbers as the icon's mouse-move callback carries them.
constexpr int kLeftButtonDoubleClick = 515;
constexpr int kLeftButtonUp = 514;

} // namespace

MainWindow::MainWindow(Platform& p, QWidget* parent) : QMainWindow(parent), platform(p) {
    setObjectName(QStringLiteral("frmcovercreator"));
    setWindowTitle(QStringLiteral("Kavi 4"));
    setWindowIcon(QIcon(QStringLiteral(":/kavi/kavi.svg")));

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(platform.screen.x(kClientWidth), platform.screen.y(kClientHeight));
    // The layout in twips was made for a compact dialog font; Arial-metric Liberation Sans at 7.5 pt
    // keeps every caption inside its given width.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(7.5);
    client_->setFont(font);
    setCentralWidget(client_);

    buildMenus();
    buildToolbar(client_);
    buildFrames(client_);
    buildPictureLists();
    buildTabs(client_);
    buildPrintOptions(client_);
    buildDiscs(client_);
    placeNotice();
    updateSaveCoverPicture();
    document_.addListener([this](std::optional<Kind> kind, CoverDocument::What what) { documentChanged(kind, what); });

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setAcceptDrops(true); // picture files from a file manager
    platform.tray.setActivationHandler([this](TrayActivation a) { onTrayActivated(a); });
    settingsFile = inProgramFolder(QStringLiteral("kavi4.ini"));
    programFolderPath = programFolder();
    recoveryFolder = defaultRecoveryFolder();
}

MainWindow::~MainWindow() {
    // A window that never shut down (only tests make one) takes its recovery copy with it.
    endRecoveryCopy();
    platform.tray.setActivationHandler({});
    if (platform.tray.isShown()) platform.tray.hide();
    // The slots show the document, which goes with this window's members: they go first.
    delete takeCentralWidget();
}

void MainWindow::buildMenus() {
    File = menuBar()->addMenu(QStringLiteral("&File"));
    File->setObjectName(QStringLiteral("File"));
    auto add = [this](QMenu* menu, const char* name, const char* caption, void (MainWindow::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromUtf8(name));
    };
    add(File, "Print", "&Print", &MainWindow::Print_Click);
    add(File, "PrintPreview", "Print Pre&view", &MainWindow::PrintPreview_Click);
    add(File, "PrintTo", "Print &To...", &MainWindow::PrintTo_Click);
    add(File, "ExportPdf", "&Export PDF...", &MainWindow::ExportPdf_Click);
    add(File, "SaveCoverPictureAs", "Save Cover Picture &As...", &MainWindow::SaveCoverPictureAs_Click);
    buildCoverSetMenu();
    separator(File, "lineage");
    buildPrintLayoutMenu();
    separator(File, "linelayout");
    add(File, "LabelStock", "&Label Stock...", &MainWindow::LabelStock_Click);
    add(File, "A", "&Select Printer", &MainWindow::A_Click);
    add(File, "CalibratePrinter", "&Calibrate Printer...", &MainWindow::CalibratePrinter_Click);
    separator(File, "lineage2");
    add(File, "exit", "E&xit", &MainWindow::exit_Click);

    Edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    Edit->setObjectName(QStringLiteral("Edit"));
    undoActions_ =
        std::make_unique<UndoActions>(document_, *Edit, [this] { writePrintLayout(settingsFile, printLayout()); });

    help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("help"));
    add(help, "contents", "Help &Contents", &MainWindow::contents_Click);
    separator(help, "blankline");
    add(help, "reportabug", "&Report A Bug", &MainWindow::reportabug_Click);
    add(help, "visitwebsite", "&Visit Website", &MainWindow::visitwebsite_Click);
    separator(help, "line");
    add(help, "checkforupdates", "&Check For Updates", &MainWindow::checkforupdates_Click);
    add(help, "systeminformation", "System &Information...", &MainWindow::systemInformation_Click);
    separator(help, "spacer");
    add(help, "about", "&About", &MainWindow::about_Click);
}

void MainWindow::buildToolbar(QWidget* client) {
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(20, 20));
    Toolbar1->setGeometry(0, 0, platform.screen.x(kClientWidth), platform.screen.y(kToolbarHeight));
    int index = 1;
    for (const auto& b : kToolbarButtons) {
        QAction* action = Toolbar1->addAction(QIcon(QString::fromUtf8(b.icon)), QString::fromUtf8(b.caption));
        action->setObjectName(QStringLiteral("Button%1").arg(index));
        connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        ++index;
    }
}

void MainWindow::buildFrames(QWidget* client) {
    const ScreenUnits& s = platform.screen;
    Frame1 = placeControl(s, new QGroupBox(QStringLiteral("Drives"), client), "Frame1", 120, 720, 4335, 735);
    Frame2 = placeControl(s, new QGroupBox(QStringLiteral("Directories"), client), "Frame2", 120, 1680, 4335, 2055);
    Frame3 = placeControl(s, new QGroupBox(QStringLiteral("Files"), client), "Frame3", 120, 3840, 4335, 2895);
}

void MainWindow::buildTabs(QWidget* client) {
    const ScreenUnits& s = platform.screen;
    SSTab1 = placeControl(s, new TabStrip(client), "SSTab1", 4560, 840, 6765, 4845);
    // All thirteen tabs stay in view, as on a tab strip without scroll arrows.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->setIconSize(QSize(12, 12)); // the mark of the selected cover's tab
    SSTab1->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 4px; margin-right: 1px; border: 1px solid #a9adb3; border-bottom: none;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; background: #e3e6ea; }"
        "QTabBar::tab:selected { background: #fdfdfd; margin-bottom: -1px; }"
        "QTabBar::tab:!selected:hover { background: #eef2f7; }"));
    for (Kind kind : Kind::all()) {
        auto* page = new CoverPageView(s, document_, kind, *SSTab1);
        const int n = kind.number();
        connect(page, &CoverPageView::slotClicked, this, [this, n] { Image_Click(n); });
        connect(page, &CoverPageView::fitActivated, this, [this, n] { cboFit_Click(n); });
        connect(page, &CoverPageView::textClicked, this, [this, n] { Text_Click(n); });
        pages_[kind] = page;
    }
    auto* scan = new QWidget;
    scan->setObjectName(QStringLiteral("ScanTab"));
    SSTab1->addTab(scan, QString::fromUtf8(kScanTabCaption));
    scanTab = new ScanTab(
        platform, [this] { return gdip.get(); }, [this](const QString& name) { return FileExists(name); }, scan);
    auto* scanLayout = new QVBoxLayout(scan);
    scanLayout->setContentsMargins(0, 0, 0, 0);
    scanLayout->addWidget(scanTab);
    SSTab1->setCurrentIndex(0);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] {
        SSTab1_Click();
        updateSaveCoverPicture();
    });

    lblNotice = new NoticeLabel(client);
}

// The notice lies in the free end of the toolbar, right of its last button, where it covers no
// control and no cover on any tab.
void MainWindow::placeNotice() {
    const QRect bar = Toolbar1->geometry();
    const int gap = platform.screen.x(120), height = lblNotice->sizeHint().height();
    const int left = bar.left() + Toolbar1->sizeHint().width() + gap;
    lblNotice->setGeometry(left, bar.top() + (bar.height() - height) / 2, bar.right() - gap - left + 1, height);
}

void MainWindow::buildPrintOptions(QWidget* client) {
    printOptions_ = new PrintOptionsView(platform.screen, document_, client);
    Frame4 = printOptions_;
    cmdPrint = printOptions_->printButton();
    connect(printOptions_, &PrintOptionsView::printClicked, this, [this] { cmdPrint_Click(); });
}

PictureSlot* MainWindow::Image(int n) const { return pages_[Kind(n)]->slot(); }
QComboBox* MainWindow::cboFit(int n) const { return pages_[Kind(n)]->fitBox(); }
QPushButton* MainWindow::cmdText(int n) const { return pages_[Kind(n)]->textButton(); }
QCheckBox* MainWindow::Check(int n) const { return printOptions_->check(Kind(n)); }

void MainWindow::ApplyKindRule(int n) { printOptions_->sendTick(Kind(n)); }

void MainWindow::Image_Click(int n) {
    SelectedImage = QString::fromUtf8(coverKind(n).slotName);
    markSelectedCover();
}

// The selected cover is framed and its tab carries a mark, so the user sees which cover the
// Cover Manipulator will open from any tab.
void MainWindow::markSelectedCover() {
    const QIcon mark(QStringLiteral(":/kavi/tabs/selected.svg"));
    for (const CoverKind& kind : kCoverKinds) {
        const bool selected = SelectedImage == QString::fromUtf8(kind.slotName);
        Image(kind.number)->setSelected(selected);
        SSTab1->setTabIcon(kind.tabIndex, selected ? mark : QIcon());
    }
}

void MainWindow::ShowNotice(const QString& text) { lblNotice->showNotice(text); }

// ---- Start-up and shut-down ----

void MainWindow::Form_Load() {
    InTray = false;
    gdip = std::make_unique<ImageFileWriter>(platform.imageEncoders);
    show();
    helpFile = inProgramFolder(QStringLiteral("Kavi4.chm"));
    OriginalPrinter = rememberOriginalPrinter(platform.printers, temporaryPrinterRecordBeside(settingsFile));
    Timer1->start();
    Timer2->start();
    readini();
    readPrintLayoutSettings();
    undoActions_->history().clear(); // the covers as the run starts are where undo stops
    startRecoveryCopy();
    loaded_ = true;
}

void MainWindow::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    restoreOriginalPrinter(platform.printers, OriginalPrinter);
    gdip.reset(); // shuts the image encoders down
    writeini();
    endRecoveryCopy();
    QApplication::processEvents();
    platform.help.command(this, QString(), HelpCommand::CloseAll);
    RemoveTrayIcon();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Exit and the close box ask about unsaved covers; a shut-down already under way (a signal) does not.
    if (!unloaded_ && !settleUnsavedWork()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void MainWindow::exit_Click() { close(); }

// ---- Size and the notification area ----

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Deferred: a state change is announced before the window's own show or hide has finished.
    if (event->type() == QEvent::WindowStateChange)
        QMetaObject::invokeMethod(
            this, [this] { Form_Resize(); }, Qt::QueuedConnection);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void MainWindow::Form_Resize() {
    if (isMinimized()) {
        if (!InTray) {
            // Without a notification area the window stays minimised with its taskbar entry,
            // so it can always be found again.
            if (!platform.tray.isAvailable()) return;
            hideIntoTray();
        } else {
            MakeTopMost(this);
            QApplication::processEvents();
            MakeNormal(this);
            ForceForegroundWindow(this);
        }
        return;
    }
    // Normal or maximised: the window keeps its one size.
    if (fixingSize_) return;
    fixingSize_ = true;
    const QSize fixed = sizeHint();
    if (size() != fixed) resize(fixed);
    fixingSize_ = false;
}

void MainWindow::ShowProgramInTray() { platform.tray.show(windowIcon(), QStringLiteral("Kavi 3")); }

void MainWindow::RemoveTrayIcon() {
    if (platform.tray.isShown()) platform.tray.hide();
}

void MainWindow::NoSysIcon(bool leave) {
    if (leave) {
        // Normal before it is shown: a window mapped as minimised would announce that state again
        // after it has been restored, and go back into the tray.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        if (trayGeometry_) setGeometry(*trayGeometry_);
        show();
        RemoveTrayIcon();
        InTray = false;
        ForceForegroundWindow(this);
    } else {
        hideIntoTray();
    }
}

// A window shown again after hiding is placed anew by the window manager, like a new window, and
// while it is hidden its frame is unknown, so a frame position would be taken for the inside's. The
// inside's place is kept here and given back when the window leaves the tray.
void MainWindow::hideIntoTray() {
    trayGeometry_ = geometry();
    hide();
    ShowProgramInTray();
    InTray = true;
}

void MainWindow::trayicon_MouseMove(double x) {
    const long message = long(x);
    if ((message & 0xFF) == 0x2D) NoSysIcon(true);
}

void MainWindow::onTrayActivated(TrayActivation activation) {
    if (!InTray) return;
    switch (activation) {
    case TrayActivation::DoubleClick: trayicon_MouseMove(kLeftButtonDoubleClick * 15.0); break;
    // A tray reached over D-Bus sends a double-click as two single activations, so a single
    // activation brings the window back as well.
    case TrayActivation::SingleClick:
        trayicon_MouseMove(kLeftButtonUp * 15.0);
        NoSysIcon(true);
        break;
    default: break;
    }
}

void MainWindow::MakeTopMost(QWidget* window) {
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->show();
}

void MainWindow::MakeNormal(QWidget* window) {
    window->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    window->show();
}

bool MainWindow::ForceForegroundWindow(QWidget* window) {
    if (QApplication::activeWindow() == window) return true;
    window->raise();
    window->activateWindow();
    return window->isVisible();
}

// ---- Commands ----

void MainWindow::Toolbar1_ButtonClick(int index) {
    switch (index) {
    case 1: requestPrint(platform, *cmdPrint); break;
    case 2: about_Click(); break;
    case 3:
        if (!SelectedImage.isEmpty()) {
            // The Manipulator edits a copy of the chosen slot's picture and writes it back on Accept.
            struct SlotPictures final : ManipulatorWorkspace {
                MainWindow& window;
                explicit SlotPictures(MainWindow& w) : window(w) {}
                QString selectedImage() const override { return window.SelectedImage; }
                QImage slotPicture(int n) const override { return window.document_.pixels(Kind(n)); }
                void setSlotPicture(int n, QImage picture) override {
                    window.document_.setPicture(Kind(n), std::move(picture));
                }
            } pictures(*this);
            ManipulatorWindow manipulator(platform, pictures, this);
            manipulator.exec();
        } else {
            AlertPopupWindow::showAlert(platform, alerts, this,
                                        QStringLiteral("Please select a cover by clicking on it and try again!"),
                                        QStringLiteral("picture"));
        }
        break;
    case 4:
        OpenEmail(QString::fromUtf8(maker::kSupportEmail), QString::fromUtf8(maker::kBugReportSubject), QString());
        break;
    case 5: platform.help.command(this, helpFile, HelpCommand::DisplayToc); break;
    case 6: ShellOpen(QString::fromUtf8(maker::kWebsite), kShowNormal); break;
    default: break;
    }
}

void MainWindow::Print_Click() { Toolbar1_ButtonClick(1); }
void MainWindow::reportabug_Click() { Toolbar1_ButtonClick(4); }
void MainWindow::visitwebsite_Click() { Toolbar1_ButtonClick(6); }
void MainWindow::contents_Click() { platform.help.command(this, helpFile, HelpCommand::DisplayTopic); }
void MainWindow::A_Click() {
    if (!form1_) form1_ = std::make_unique<PrinterChooser>(platform);
    form1_->showChooser();
}
void MainWindow::checkforupdates_Click() {
    UpdateWindow window(platform, this);
    window.exec();
}
void MainWindow::systemInformation_Click() {
    // The system information window is a plain window of its own; shown modally, it ends this call when it closes.
    SystemInfoWindow info(platform, this);
    info.setWindowFlags(Qt::Dialog);
    info.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    WindowClosedWatch watch([&loop] { loop.quit(); });
    info.installEventFilter(&watch);
    info.show();
    loop.exec();
}
void MainWindow::about_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    AboutWindow about(platform, this);
    about.exec();
    // The About window restores the pointer when it activates; never leave it busy if it did not.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}
void MainWindow::OpenEmail(const QString& EmailAddress, const QString& Subject, const QString& Body) {
    QString link = EmailAddress;
    if (link.left(7).toLower() != QStringLiteral("mailto:")) link.prepend(QStringLiteral("mailto:"));
    if (!Subject.isEmpty()) link += QStringLiteral("?subject=") + Subject;
    if (!Body.isEmpty())
        link += (Subject.isEmpty() ? QStringLiteral("?") : QStringLiteral("&")) + QStringLiteral("body=") + Body;
    platform.shell.open(link, kShow, linkFailureReport(link));
}

int MainWindow::ShellOpen(const QString& target, int showCommand) {
    return platform.shell.open(target, showCommand, linkFailureReport(target));
}

// Where no browser or mail program takes the link, the user is told and given the address to copy.
Shell::Failure MainWindow::linkFailureReport(const QString& target) {
    return [window = QPointer<MainWindow>(this), target] {
        if (!window || window->unloaded_) return;
        MessageRequest box{QStringLiteral("This link could not be opened; no program for it may be installed.\n\n"
                                          "You can copy the address from here:\n") +
                               target,
                           QStringLiteral("Link Not Opened"), MsgIcon::Exclamation, MsgButtons::Ok};
        box.selectableText = true;
        window->platform.messages.show(box);
    };
}

} // namespace kavi
