// SPDX-License-Identifier: GPL-3.0-or-later
// Takes screenshots of composing a cover for the help (run under xvfb-run, see
// scripts/screenshot.sh): the square Front cover in its real proportions with a photograph filling
// it, and the Cover Manipulator's Crop window locked to the DVD cover's proportions.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "manipulator/crop_window.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s real-proportions.png crop-window.png\n", argv[0]);
        return 2;
    }
    const QImage photo = kavi::toImage(jpegtest::photoPicture(640, 420, 7));

    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    kavi::MainWindow window(real.platform());
    window.move(0, 0);
    window.show();
    kavi::testing::settleForScreenshot();
    window.SSTab1->setCurrentIndex(0);
    window.Image(1)->setPicture(photo);
    window.setFitMode(1, kavi::FitMode::Fill);
    window.Image_Click(1);
    kavi::testing::settleForScreenshot();
    const bool tabSaved = window.grab().save(QString::fromLocal8Bit(argv[1]));

    kavi::CropWindow crop(photo, 15390.0 / 10260, QStringLiteral("DVD"));
    crop.move(0, 0);
    crop.show();
    crop.resize(560, 420);
    kavi::testing::settleForScreenshot();
    kavi::CropView& view = *crop.view;
    const QPoint from = view.fromPicture(QPointF(120, 60)).toPoint(),
                 to = view.fromPicture(QPointF(560, 330)).toPoint();
    QTest::mousePress(&view, Qt::LeftButton, {}, from);
    QTest::mouseMove(&view, to);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, to);
    kavi::testing::settleForScreenshot();
    const bool cropSaved = crop.grab().save(QString::fromLocal8Bit(argv[2]));
    return tabSaved && cropSaved ? 0 : 1;
}
