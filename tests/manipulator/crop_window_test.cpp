// SPDX-License-Identifier: GPL-3.0-or-later
// The Crop window driven with the mouse as a user would, and Crop as a command of the Manipulator.
#include "manipulator/crop_window.h"
#include "manipulator/manipulator_window.h"
#include "platform/imaging/qt_raster.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    return image;
}

QPoint at(const CropView& view, double x, double y) { return view.fromPicture(QPointF(x, y)).toPoint(); }

void drag(CropView& view, QPoint from, QPoint to) {
    QTest::mousePress(&view, Qt::LeftButton, {}, from);
    QTest::mouseMove(&view, (from + to) / 2);
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, to);
}

class SlotPictures : public ManipulatorWorkspace {
public:
    QString selected = QStringLiteral("Image4"); // DVD, 3:2
    QImage picture = gradient(60, 30);
    QString selectedImage() const override { return selected; }
    QImage slotPicture(int) const override { return picture; }
    void setSlotPicture(int, QImage p) override { picture = std::move(p); }
};

} // namespace

TEST(CropWindow, ShowsThePictureInItsProportionsAndClipsADragOutsideIt) {
    CropWindow window(gradient(400, 100), 1.5, QStringLiteral("DVD"));
    window.show();
    window.resize(700, 500);
    QApplication::processEvents();
    CropView& view = *window.view;
    const QRectF area = view.pictureArea();
    EXPECT_NEAR(area.width() / area.height(), 4.0, 0.02) << "true proportions, whatever the window's shape";
    ASSERT_TRUE(window.chkLock->isChecked()) << "a cover's crop starts locked";
    EXPECT_EQ(window.selection(), (CropRect{125, 0, 150, 100})) << "the largest 3:2 rectangle, centred";

    // Locked, from inside to far beyond the bottom right corner of the window: 3:2 and inside.
    drag(view, at(view, 200, 20), QPoint(view.width() + 300, view.height() + 200));
    CropRect r = window.selection();
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.top + r.height, 100) << "stopped at the bottom edge";
    EXPECT_NEAR(double(r.width) / r.height, 1.5, 0.03);

    // Unlocked, from outside the picture above and left to inside it: starts at the corner.
    window.chkLock->setChecked(false);
    drag(view, QPoint(1, 1), at(view, 300, 60));
    EXPECT_EQ(window.selection(), (CropRect{0, 0, 300, 60}));

    // Locking again makes the last drag 3:2 at once.
    window.chkLock->setChecked(true);
    r = window.selection();
    EXPECT_NEAR(double(r.width) / r.height, 1.5, 0.03);
}

TEST(ManipulatorCrop, CropIsOneCommandThatUndoTakesBackAndAcceptWritesIt) {
    kavi::testing::TestPlatform test;
    SlotPictures workspace;
    ManipulatorWindow window(test.platform, workspace);
    const QImage before = workspace.picture;
    window.applyCrop({10, 5, 30, 20});
    EXPECT_EQ(toImage(window.buffers.NewImage.image()), before.copy(10, 5, 30, 20));
    window.Toolbar1_ButtonClick(5); // Undo Last Change
    EXPECT_EQ(toImage(window.buffers.NewImage.image()), before);

    // The menu command: the Crop window opens over the picture locked to the DVD's 3:2; OK crops.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* crop = dynamic_cast<CropWindow*>(QApplication::activeModalWidget());
        if (!crop) return;
        opened = true;
        EXPECT_TRUE(crop->isSizeGripEnabled()) << "resizable";
        crop->buttons->button(QDialogButtonBox::Ok)->click();
    });
    window.picture->actions().at(0)->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(toImage(window.buffers.NewImage.image()), before.copy(8, 0, 45, 30)) << "the middle 45 x 30";
    window.Command5_Click();
    EXPECT_EQ(workspace.picture.size(), QSize(45, 30));
}
