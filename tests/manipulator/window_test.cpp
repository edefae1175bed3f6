// SPDX-License-Identifier: GPL-3.0-or-later
#include "filters/filter_engine.h"
#include "manipulator/manipulator_window.h"
#include "platform/imaging/qt_raster.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>

#include <array>

using namespace kavi;

namespace {

// Ten pictures and a chosen name, as the main window offers them.
class FakeWorkspace : public ManipulatorWorkspace {
public:
    QString selected = QStringLiteral("Image7");
    std::array<QImage, 10> pictures;
    int writes = 0;
    QString selectedImage() const override { return selected; }
    QImage slotPicture(int n) const override { return pictures[std::size_t(n - 1)]; }
    void setSlotPicture(int n, QImage picture) override {
        pictures[std::size_t(n - 1)] = std::move(picture);
        ++writes;
    }
};

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

struct Fixture {
    kavi::testing::TestPlatform test;
    FakeWorkspace workspace;
    std::unique_ptr<ManipulatorWindow> window;
    explicit Fixture(QImage picture = gradient(30, 20)) {
        workspace.pictures[6] = picture;
        window = std::make_unique<ManipulatorWindow>(test.platform, workspace);
    }
    QImage shown() const { return toImage(window->buffers.NewImage.image()); }
};

bool idle(const ManipulatorWindow& w) {
    return w.Toolbar1->isEnabled() && w.normal->menuAction()->isEnabled() && w.Special->menuAction()->isEnabled() &&
        w.colors->menuAction()->isEnabled() && w.HScroll1->isEnabled() && w.Command5->isEnabled() &&
        !QApplication::overrideCursor();
}
bool busy(const ManipulatorWindow& w) {
    return !w.Toolbar1->isEnabled() && !w.normal->menuAction()->isEnabled() && !w.Special->menuAction()->isEnabled() &&
        !w.colors->menuAction()->isEnabled() && !w.HScroll1->isEnabled() && !w.Command5->isEnabled() &&
        w.Command2->isEnabled() && QApplication::overrideCursor() &&
        QApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

} // namespace

TEST(ManipulatorWindow, LayoutMenusAndToolbarAreAsTheUserKnowsThem) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    EXPECT_EQ(w.windowTitle(), "Cover Manipulator");
    EXPECT_EQ(w.NewImage->geometry(), QRect(176, 72, 160, 160)) << "2640, 1080 twips at 96 dpi";
    EXPECT_EQ(w.Command5->text(), "Accept");
    EXPECT_EQ(w.Command5->toolTip(), "Accept Changes");
    EXPECT_TRUE(w.Command5->isDefault());
    EXPECT_EQ(w.Command2->text(), "Cancel");
    EXPECT_EQ(w.HScroll1->minimum(), -99);
    EXPECT_EQ(w.HScroll1->maximum(), 99);
    EXPECT_EQ(w.HScroll1->pageStep(), 10);
    EXPECT_EQ(w.HScroll1->value(), 0);
    EXPECT_EQ(w.Frame1->title(), "Brightness Level");

    QStringList tips;
    for (QAction* a : w.Toolbar1->actions()) {
        tips << a->toolTip();
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(tips, QStringList({"Rotate", "Mirror", "Flip", "Brightness", "Undo Last Change"}));

    auto items = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            out << (a->isSeparator() ? "-" + a->objectName() : a->objectName() + "=" + a->text());
        return out;
    };
    EXPECT_EQ(w.normal->title(), "&Normal");
    EXPECT_EQ(items(w.normal), QStringList({"blur=&Blur", "diffuse=&Diffuse", "sharpen=S&harpen", "smooth=&Smooth"}));
    EXPECT_EQ(w.Special->title(), "&Special");
    EXPECT_EQ(items(w.Special).size(), 9);
    EXPECT_EQ(items(w.Special).front(), "addnoise=&Add Noise");
    EXPECT_EQ(items(w.Special).back(), "relief=&Relief");
    EXPECT_EQ(w.colors->title(), "&Colors");
    EXPECT_EQ(items(w.colors),
              QStringList({"blackandwhite=&Black && White", "grayscale=Gray Scale", "negative=&Negative", "-blankie",
                           "increasecontrast=Contrast +", "decreasecontrast=Contrast -", "-blankerer",
                           "increasesaturation=Saturation +", "decreasesaturation=Saturation -"}));
}

TEST(ManipulatorWindow, OpensOnTheChosenSlotAndAcceptWritesTheResultBack) {
    Fixture f;
    EXPECT_EQ(f.shown(), f.workspace.pictures[6]);
    EXPECT_FALSE(f.window->Original->pixmap().isNull());
    EXPECT_EQ(f.window->image->hDC(), nullptr) << "a 32-bit picture is no depth of the DIB image";
    f.window->Command5_Click();
    EXPECT_EQ(f.workspace.writes, 1);
    EXPECT_EQ(f.workspace.pictures[6], gradient(30, 20)) << "accept after no command writes the picture unchanged";
    EXPECT_EQ(f.window->result(), QDialog::Accepted);

    Fixture g;
    g.window->Toolbar1_ButtonClick(2);
    g.window->Toolbar1_ButtonClick(1);
    const QImage edited = g.shown();
    EXPECT_EQ(edited.width(), 20);
    g.window->Command5_Click();
    EXPECT_EQ(g.workspace.pictures[6], edited);

    Fixture none;
    none.workspace.selected = QStringLiteral("Image11");
    none.window = std::make_unique<ManipulatorWindow>(none.test.platform, none.workspace);
    none.window->Toolbar1_ButtonClick(1);
    none.window->Command5_Click();
    EXPECT_EQ(none.workspace.writes, 0) << "no slot of that name: nothing is written";
}

TEST(ManipulatorWindow, CancelLeavesTheSlotAsItWas) {
    Fixture f;
    f.window->HScroll1->setValue(40);
    f.window->Toolbar1_ButtonClick(4);
    f.window->Toolbar1_ButtonClick(3);
    EXPECT_NE(f.shown(), f.workspace.pictures[6]);
    f.window->Command2_Click();
    EXPECT_EQ(f.workspace.writes, 0);
    EXPECT_EQ(f.workspace.pictures[6], gradient(30, 20));
    EXPECT_EQ(f.window->result(), QDialog::Rejected);
}

TEST(ManipulatorWindow, CommandsRunLockedAndUnlockAfterwards) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    EXPECT_TRUE(idle(w));
    int probes = 0;
    w.commandProbe = [&] {
        ++probes;
        EXPECT_TRUE(busy(w));
    };
    for (int index = 1; index <= 5; ++index) {
        w.Toolbar1_ButtonClick(index);
        EXPECT_TRUE(idle(w)) << index;
    }
    w.Toolbar1_ButtonClick(9);
    EXPECT_TRUE(idle(w));
    w.runFilter(Module4::FilterNumber::Negative, 0);
    EXPECT_TRUE(idle(w));
    EXPECT_EQ(probes, 7);
}

TEST(ManipulatorWindow, FilterThenUndoTwiceAndProgressShown) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    const QImage before = f.shown();
    w.findChild<QAction*>("negative")->trigger();
    const QImage after = f.shown();
    EXPECT_EQ(after.pixel(3, 4) & 0xFFFFFF, ~before.pixel(3, 4) & 0xFFFFFF);
    EXPECT_EQ(w.progress, 100);
    EXPECT_FALSE(w.progressBar->isVisible());
    w.Toolbar1_ButtonClick(5);
    EXPECT_EQ(f.shown(), before);
    w.Toolbar1_ButtonClick(5);
    EXPECT_EQ(f.shown(), before);
}

TEST(ManipulatorWindow, CancelDuringAFilterStopsItDropsItsResultAndCloses) {
    Fixture f(gradient(60, 400));
    ManipulatorWindow& w = *f.window;
    w.Toolbar1_ButtonClick(2); // an edit the slot must not receive
    int rowsSeen = 0;
    w.commandProbe = [&] {
        // Cancel arrives from the event loop while the filter yields after a row.
        QTimer::singleShot(0, &w, [&] {
            rowsSeen = w.progress;
            EXPECT_TRUE(w.filterRunning());
            w.Command2_Click();
            EXPECT_EQ(w.result(), 0) << "the window waits for the filter frame to return";
        });
    };
    w.findChild<QAction*>("blur")->trigger();
    EXPECT_FALSE(w.filterRunning());
    EXPECT_LT(rowsSeen, 100);
    EXPECT_LT(w.progress, 100) << "the filter stopped early";
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(f.workspace.writes, 0);
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_FALSE(Module4::FilterBusy());
}

TEST(ManipulatorWindow, ActivationResetsOnlyWhenComingFromAnotherKaviWindow) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    w.activationFrom(nullptr); // first activation
    w.Toolbar1_ButtonClick(2);
    const QImage edited = f.shown();
    w.activationFrom(nullptr); // back from another program
    EXPECT_EQ(f.shown(), edited) << "switching programs keeps the edit";
    w.commandProbe = [&] {
        QWindow other;
        w.activationFrom(&other);
    };
    w.Toolbar1_ButtonClick(3);
    EXPECT_NE(f.shown(), edited) << "no reset during a command";
    w.commandProbe = nullptr;
    QWindow mainWindow;
    w.activationFrom(&mainWindow);
    EXPECT_EQ(f.shown(), f.workspace.pictures[6]) << "from another Kavi window: back to the opened picture";
    w.Toolbar1_ButtonClick(5);
    EXPECT_NE(f.shown(), f.workspace.pictures[6]) << "the undo picture survived the activation";
}

struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override { return (paints += e->type() == QEvent::Paint), false; }
};

TEST(ManipulatorWindow, TheWindowIsPaintedWithTheProgressBarBeforeTheFilterCopiesThePicture) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    w.show();
    QApplication::processEvents();
    PaintCount bar, toolbar;
    w.progressBar->installEventFilter(&bar);
    w.Toolbar1->installEventFilter(&toolbar);
    bool paintedFirst = false;
    w.commandProbe = [&] { paintedFirst = w.progressBar->isVisible() && bar.paints > 0 && toolbar.paints > 0; };
    w.findChild<QAction*>("negative")->trigger();
    EXPECT_TRUE(paintedFirst) << "the bar and the disabled toolbar are on screen before the long copies";
}

TEST(ManipulatorWindow, SliderCaptionsShowTheValueAndLeaveThePicture) {
    Fixture f;
    ManipulatorWindow& w = *f.window;
    const QImage before = f.shown();
    w.HScroll1->setValue(-99);
    EXPECT_EQ(w.windowTitle(), "Cover Manipulator - Brightness Level ->  -99%  <-");
    w.HScroll1->setValue(99);
    EXPECT_EQ(w.windowTitle(), "Cover Manipulator - Brightness Level ->  99%  <-");
    EXPECT_EQ(f.shown(), before);
    w.Toolbar1_MouseMove();
    EXPECT_EQ(w.windowTitle(), "Cover Manipulator");
    w.HScroll1_Scroll();
    w.Frame1_MouseMove();
    EXPECT_EQ(w.windowTitle(), "Cover Manipulator");
}

TEST(ManipulatorWindow, TheBuffersShareTheSlotsPictureAndNeverDrawIntoIt) {
    const QImage picture = gradient(40, 24);
    const QImage untouched = picture.copy();
    Fixture f(picture);
    ManipulatorWindow& w = *f.window;
    // Opened without a copy: the picture the buffers show is the slot's own memory.
    EXPECT_EQ(w.buffers.Original.image().bits(), f.workspace.pictures[6].constBits());
    for (int command : {2, 3, 4, 1, 5, 2}) w.Toolbar1_ButtonClick(command);
    w.runFilter(Module4::FilterNumber::Blur, 0);
    w.Toolbar1_ButtonClick(5);
    w.Form_Activate(); // back to the opened picture, then drawn into again
    w.Toolbar1_ButtonClick(2);
    EXPECT_EQ(f.workspace.pictures[6], untouched) << "the commands worked on copies";
    EXPECT_EQ(picture, untouched);
    w.Command2_Click();
    EXPECT_EQ(f.workspace.writes, 0);
    EXPECT_EQ(f.workspace.pictures[6], untouched);
}

TEST(ManipulatorWindow, AcceptHandsTheResultToTheSlotWithoutACopyThatLaterEditsWouldChange) {
    Fixture f(gradient(40, 24));
    ManipulatorWindow& w = *f.window;
    w.Toolbar1_ButtonClick(2); // Mirror
    const QImage expected = f.shown().copy();
    w.Command5_Click();
    ASSERT_EQ(f.workspace.writes, 1);
    const QImage accepted = f.workspace.pictures[6];
    EXPECT_EQ(accepted, expected);
    EXPECT_EQ(accepted.constBits(), w.buffers.NewImage.image().bits());
    // Opened again on the accepted picture and edited: the slot keeps what was accepted.
    w.Form_Load();
    w.Toolbar1_ButtonClick(3);
    w.runFilter(Module4::FilterNumber::Negative, 0);
    EXPECT_EQ(f.workspace.pictures[6], expected);
}
