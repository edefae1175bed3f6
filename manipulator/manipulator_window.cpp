// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/manipulator_window.h"

#include "covers/cover_kinds.h"
#include "filters/filter_engine.h"
#include "manipulator/anchored_layout.h"
#include "manipulator/crop_window.h"
#include "manipulator/filter_commands.h"
#include "manipulator/picture_preview.h"
#include "platform/imaging/qt_raster.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace kavi {

namespace {

const QString kCaption = QStringLiteral("Cover Manipulator");

struct ToolbarButton {
    const char* tooltip;
    const char* icon;
};
constexpr ToolbarButton kToolbarButtons[] = {
    {"Rotate", ":/kavi/manipulator/rotate.svg"},
    {"Mirror", ":/kavi/manipulator/mirror.svg"},
    {"Flip", ":/kavi/manipulator/flip.svg"},
    {"Brightness", ":/kavi/manipulator/brightness.svg"},
    {"Undo Last Change", ":/kavi/manipulator/undo.svg"},
};

// How much the panes may shrink below their default size (twips), so that a picture still shows.
constexpr double kSmallestPane = 900;

} // namespace

int slotNumberOf(const QString& name) {
    for (int n = 1; n <= 10; ++n)
        if (name == QStringLiteral("Image%1").arg(n)) return n;
    return 0;
}

ManipulatorWindow::ManipulatorWindow(Platform& platform, ManipulatorWorkspace& workspace, QWidget* parent)
    : QDialog(parent), platform_(platform), workspace_(workspace) {
    setObjectName(QStringLiteral("frmManipulate"));
    setWindowTitle(kCaption);
    setModal(true);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    const ScreenUnits& s = platform_.screen;
    buildMenus();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, s.x(5145), menuHeight);
    client->setGeometry(0, menuHeight, s.x(5145), s.y(4200));
    buildToolbar(client);
    buildControls(client);
    // The window opens at its default size and layout and may be resized; the panes share what it
    // gains or loses, the brightness frame keeps to the right and the buttons to the bottom.
    const QSize defaultSize(s.x(5145), menuHeight + s.y(4200));
    resize(defaultSize);
    layout_ = std::make_unique<AnchoredLayout>(defaultSize);
    using Follow = AnchoredLayout::Follow;
    layout_->add(menuBar, Follow{0, 1, 0, 0});
    layout_->add(client, Follow{0, 1, 0, 1});
    layout_->add(Toolbar1, Follow{0, 1, 0, 0});
    layout_->add(Frame1, Follow{1, 0, 0, 0});
    layout_->add(Label1, Follow{0, 0.5, 0, 0});
    layout_->add(Original, Follow{0, 0.5, 0, 1});
    layout_->add(Label2, Follow{0.5, 0.5, 0, 0});
    layout_->add(NewImage, Follow{0.5, 0.5, 0, 1});
    layout_->add(Command5, Follow{0.25, 0, 1, 0});
    layout_->add(Command2, Follow{0.75, 0, 1, 0});
    layout_->add(progressBar, Follow{0.5, 0, 1, 0});
    // Narrower than the toolbar's buttons beside the brightness frame, or so low that the panes
    // would vanish, it does not go.
    const int toolbarButtons = Toolbar1->sizeHint().width();
    const int narrowest = std::min(defaultSize.width(), toolbarButtons + Frame1->width() + s.x(120));
    setMinimumSize(narrowest, defaultSize.height() - (Original->height() - s.y(kSmallestPane)));

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &ManipulatorWindow::onFocusWindowChanged);
    lastFocus_ = QGuiApplication::focusWindow();
    Form_Load();
}

ManipulatorWindow::~ManipulatorWindow() {
    if (cursorSet_) QApplication::restoreOverrideCursor();
}

void ManipulatorWindow::buildMenus() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    auto menu = [&](const char* name, const char* caption) {
        QMenu* m = menuBar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromUtf8(name));
        m->menuAction()->setObjectName(QString::fromUtf8(name));
        return m;
    };
    normal = menu("normal", "&Normal");
    Special = menu("Special", "&Special");
    colors = menu("colors", "&Colors");
    for (const FilterCommand& f : kFilterCommands) {
        QMenu* target = QString::fromUtf8(f.menu) == QLatin1String("normal") ? normal
            : QString::fromUtf8(f.menu) == QLatin1String("Special")          ? Special
                                                                             : colors;
        if (QLatin1String(f.name) == QLatin1String("increasecontrast"))
            target->addSeparator()->setObjectName(QStringLiteral("blankie"));
        if (QLatin1String(f.name) == QLatin1String("increasesaturation"))
            target->addSeparator()->setObjectName(QStringLiteral("blankerer"));
        QAction* item = target->addAction(QString::fromUtf8(f.caption));
        item->setObjectName(QString::fromUtf8(f.name));
        const int number = f.number, amount = f.amount;
        connect(item, &QAction::triggered, this, [this, number, amount] { runFilter(number, amount); });
    }
    picture = menu("picture", "&Picture");
    QAction* crop = picture->addAction(QStringLiteral("&Crop..."));
    crop->setObjectName(QStringLiteral("crop"));
    connect(crop, &QAction::triggered, this, [this] { crop_Click(); });
}

void ManipulatorWindow::buildToolbar(QWidget* client) {
    const ScreenUnits& s = platform_.screen;
    Toolbar1 = new QToolBar(client);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setGeometry(0, 0, s.x(5145), s.y(660));
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setMovable(false);
    Toolbar1->setMouseTracking(true);
    Toolbar1->installEventFilter(this);
    int index = 1;
    for (const ToolbarButton& b : kToolbarButtons) {
        QAction* action = Toolbar1->addAction(QIcon(QString::fromUtf8(b.icon)), QString::fromUtf8(b.tooltip));
        action->setToolTip(QString::fromUtf8(b.tooltip));
        action->setObjectName(QStringLiteral("Button%1").arg(index));
        connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        if (QWidget* button = Toolbar1->widgetForAction(action)) {
            button->setMouseTracking(true);
            button->installEventFilter(this);
        }
        ++index;
    }
}

void ManipulatorWindow::buildControls(QWidget* client) {
    const ScreenUnits& s = platform_.screen;
    Frame1 = placeControl(s, new QGroupBox(QStringLiteral("Brightness Level"), client), "Frame1", 3000, 0, 2055, 615);
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    Frame1->raise();
    HScroll1 = placeControl(s, new QScrollBar(Qt::Horizontal, Frame1), "HScroll1", 120, 240, 1815, 255);
    HScroll1->setRange(-99, 99);
    HScroll1->setPageStep(10);
    HScroll1->setSingleStep(1);
    HScroll1->setValue(0);
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(HScroll1, &QScrollBar::sliderMoved, this, [this] { HScroll1_Scroll(); });

    Label1 = placeControl(s, new QLabel(QStringLiteral("Original Picture"), client), "Label1", 120, 840, 2400, 255);
    Original = placeControl(s, new QLabel(client), "Original", 120, 1080, 2400, 2400);
    Label2 = placeControl(s, new QLabel(QStringLiteral("Modified Picture"), client), "Label2", 2640, 840, 2400, 255);
    NewImage = placeControl(s, new QLabel(client), "NewImage", 2640, 1080, 2400, 2400);
    for (QLabel* pane : {Original, NewImage}) {
        pane->setFrameShape(QFrame::Box);
        pane->setLineWidth(1);
        pane->setAlignment(Qt::AlignCenter); // the picture in its own proportions, centred
        pane->setMinimumSize(1, 1);
    }

    Command5 = placeControl(s, new QPushButton(QStringLiteral("Accept"), client), "Command5", 600, 3600, 1455, 495);
    Command5->setToolTip(QStringLiteral("Accept Changes"));
    Command5->setDefault(true);
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    Command2 = placeControl(s, new QPushButton(QStringLiteral("Cancel"), client), "Command2", 3120, 3600, 1455, 495);
    Command2->setToolTip(QStringLiteral("Cancel"));
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    progressBar = placeControl(s, new QProgressBar(client), "progressBar", 2160, 3690, 855, 315);
    progressBar->setRange(0, 100);
    progressBar->setTextVisible(false);
    progressBar->hide();
}

bool ManipulatorWindow::showsTransparency(const PictureBox& box) const {
    if (!pictureHasAlpha_) return false;
    return box.shared() == buffers.Original.shared() || reservedBytesInUse(box.image());
}

void ManipulatorWindow::showPictures(bool original) {
    const auto paneCopy = [this](const PictureBox& box, QLabel* pane) {
        return QPixmap::fromImage(previewImage(box.image(), showsTransparency(box), pane->contentsRect().size()));
    };
    const QPixmap modified = paneCopy(buffers.NewImage, NewImage);
    NewImage->setPixmap(modified);
    if (!original) return;
    const bool same = buffers.Original.shared() == buffers.NewImage.shared() && Original->size() == NewImage->size();
    Original->setPixmap(buffers.Original.isEmpty() ? QPixmap()
                            : same                 ? modified
                                                   : paneCopy(buffers.Original, Original));
}

void ManipulatorWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!layout_) return;
    layout_->apply(event->size());
    // A drag of the window's edge sends many sizes; the panes are drawn again once for the last.
    if (previewsPending_) return;
    previewsPending_ = true;
    QTimer::singleShot(0, this, [this] {
        previewsPending_ = false;
        showPictures(true);
    });
}

void ManipulatorWindow::Form_Load() {
    const int n = slotNumberOf(workspace_.selectedImage());
    QImage slot = n ? workspace_.slotPicture(n) : QImage();
    // A picture with transparency keeps it in the buffers' reserved bytes (as straight, not
    // premultiplied, opacity); the panes lay it over white.
    pictureHasAlpha_ = slot.hasAlphaChannel();
    if (pictureHasAlpha_ && slot.format() != QImage::Format_ARGB32) slot.convertTo(QImage::Format_ARGB32);
    buffers.load(sharedBitmap(slot)); // no copy of the slot's picture
    // The DIB image takes the picture at its own depth; pictures it cannot hold leave it empty.
    image = std::make_unique<cImage>();
    std::int16_t depth = 0;
    image->CopyStdPicture({&buffers.picorig.image(), 0}, depth);
    showPictures(true);
}

void ManipulatorWindow::Form_Activate() {
    activatedOnce_ = true;
    buffers.activate();
    showPictures(false);
}

void ManipulatorWindow::activationFrom(QWindow* previous) {
    if (locked_ || filterRunning_) return;
    if (activatedOnce_ && !previous) return; // back from another program: the edits stay
    Form_Activate();
}

void ManipulatorWindow::onFocusWindowChanged(QWindow* now) {
    QWindow* previous = lastFocus_.data();
    lastFocus_ = now;
    if (!now || now != windowHandle()) return;
    // Only another top-level window of Kavi counts; menus, tool tips and boxes opened from this
    // window hand the activation back without a change of window.
    if (previous) {
        const Qt::WindowType type = previous->type();
        bool ours = type == Qt::Popup || type == Qt::ToolTip;
        for (QWindow* w = previous; w && !ours; w = w->transientParent()) ours = w == windowHandle();
        if (ours || previous == now) return;
    }
    activationFrom(previous);
}

void ManipulatorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activatedOnce_) activationFrom(nullptr);
}

void ManipulatorWindow::lockform() {
    if (!cursorSet_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cursorSet_ = true;
    }
    Toolbar1->setEnabled(false);
    normal->menuAction()->setEnabled(false);
    Special->menuAction()->setEnabled(false);
    colors->menuAction()->setEnabled(false);
    picture->menuAction()->setEnabled(false);
    HScroll1->setEnabled(false);
    Command5->setEnabled(false);
    locked_ = true;
}

void ManipulatorWindow::unlockform() {
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
    normal->menuAction()->setEnabled(true);
    Special->menuAction()->setEnabled(true);
    colors->menuAction()->setEnabled(true);
    picture->menuAction()->setEnabled(true);
    HScroll1->setEnabled(true);
    Command5->setEnabled(true);
    Toolbar1->setEnabled(true);
    locked_ = false;
}

void ManipulatorWindow::Toolbar1_ButtonClick(int index) {
    if (locked_) return;
    lockform();
    if (commandProbe) commandProbe();
    buffers.runToolbarCommand(index, HScroll1->value());
    showPictures(false);
    unlockform();
}

void ManipulatorWindow::runFilter(int number, int amount) {
    if (locked_) return;
    lockform();
    progress = 0;
    progressBar->setValue(0);
    progressBar->show();
    filterRunning_ = true;
    stopRequested_ = false;
    // Before the first row is done, a large picture is copied into the picture being edited, which
    // takes a good part of a second for a big scan. The window (the closed menu's place, the
    // disabled controls, the bar at 0) is painted before the copy, and events are let through
    // again after it.
    const auto yield = [this] {
        progressBar->setValue(progress);
        QCoreApplication::processEvents();
        return stopRequested_ ? Module4::AfterYield::Stop : Module4::AfterYield::Continue;
    };
    yield();
    if (commandProbe) commandProbe();
    buffers.beginFilter();
    raster::Bitmap& target = buffers.Picture1.edit(); // the copy is made here
    // The filter works in that copy and reads the unchanged pixels from the current result, which
    // nothing changes while it runs; so it needs no further copy of the picture.
    const raster::Bitmap& unchanged = buffers.NewImage.image();
    const Module4::FilterOutcome outcome = yield() == Module4::AfterYield::Stop
        ? Module4::FilterOutcome::Stopped
        : Module4::ApplyFilterInPlace(number, &target, &unchanged, amount, progress, yield);
    // A filter that did not finish may have left its work half done: the work area is put back.
    if (outcome != Module4::FilterOutcome::Applied) buffers.Picture1.assign(buffers.picDest);
    filterRunning_ = false;
    progressBar->hide();
    if (closePending_) {
        // Cancel or the close box while the filter ran: its result is dropped and the window closes.
        finishClose();
        return;
    }
    if (outcome == Module4::FilterOutcome::Applied) {
        buffers.endFilter();
        showPictures(false);
    } else if (outcome == Module4::FilterOutcome::Failed) {
        // The picture stays as it was before the command.
        platform_.messages.show(
            {QStringLiteral("This filter cannot be applied to this picture."), kCaption, MsgIcon::Exclamation});
    }
    unlockform();
}

void ManipulatorWindow::crop_Click() {
    if (locked_) return;
    if (buffers.NewImage.isEmpty()) {
        platform_.messages.show({QStringLiteral("There is no picture to crop."), kCaption, MsgIcon::Information});
        return;
    }
    const int n = slotNumberOf(workspace_.selectedImage());
    std::optional<double> aspect;
    QString coverName;
    if (n) {
        const CoverKind& kind = coverKind(n);
        aspect = kind.printSize.width / kind.printSize.height;
        coverName = QString::fromUtf8(kind.checkCaption);
    }
    CropWindow window(toImage(buffers.NewImage.image()), aspect, coverName, this);
    if (window.exec() != QDialog::Accepted) return;
    applyCrop(window.selection());
}

void ManipulatorWindow::applyCrop(const CropRect& rect) {
    if (locked_) return;
    lockform();
    if (commandProbe) commandProbe();
    buffers.crop(rect);
    showPictures(false);
    unlockform();
}

void ManipulatorWindow::Command5_Click() {
    if (locked_) return;
    const int n = slotNumberOf(workspace_.selectedImage());
    if (n) {
        QImage result = sharedImage(buffers.NewImage.shared()); // the result itself, no copy
        if (showsTransparency(buffers.NewImage)) result.reinterpretAsFormat(QImage::Format_ARGB32);
        workspace_.setSlotPicture(n, std::move(result));
    }
    Form_Unload();
    done(QDialog::Accepted);
}

void ManipulatorWindow::Command2_Click() {
    if (filterRunning_) {
        stopRequested_ = true;
        closePending_ = true;
        return;
    }
    finishClose();
}

void ManipulatorWindow::finishClose() {
    unlockform();
    Form_Unload();
    done(QDialog::Rejected);
}

void ManipulatorWindow::reject() { Command2_Click(); }

void ManipulatorWindow::closeEvent(QCloseEvent* event) {
    if (filterRunning_) {
        stopRequested_ = true;
        closePending_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ManipulatorWindow::HScroll1_Change() {
    setWindowTitle(QStringLiteral("Cover Manipulator - Brightness Level ->  %1%  <-").arg(HScroll1->value()));
}

void ManipulatorWindow::HScroll1_Scroll() { HScroll1_Change(); }

void ManipulatorWindow::Toolbar1_MouseMove() { setWindowTitle(kCaption); }

void ManipulatorWindow::Frame1_MouseMove() { setWindowTitle(kCaption); }

bool ManipulatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == Frame1) Frame1_MouseMove();
        else if (watched == Toolbar1 || (watched->parent() == Toolbar1 && watched->isWidgetType()))
            Toolbar1_MouseMove();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kavi
