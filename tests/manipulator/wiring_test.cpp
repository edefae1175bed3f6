// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "manipulator/manipulator_window.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 9 % 256, y * 5 % 256, 90));
    return image;
}

// Runs `step` on the Manipulator once the main window has opened it modally.
void whenOpen(std::function<void(ManipulatorWindow&)> step, bool* opened) {
    QTimer::singleShot(0, [step, opened] {
        auto* window = qobject_cast<ManipulatorWindow*>(QApplication::activeModalWidget());
        *opened = window != nullptr;
        if (window) step(*window);
    });
}

} // namespace

TEST(ManipulatorFromTheMainWindow, OpensModallyOnTheChosenSlotAndAcceptFillsIt) {
    kavi::testing::TestPlatform test;
    MainWindow main(test.platform);
    main.Image(7)->setPicture(picture(12, 8));
    main.SelectedImage = QStringLiteral("Image7");
    bool opened = false;
    whenOpen(
        [](ManipulatorWindow& m) {
            EXPECT_TRUE(m.isModal());
            m.Toolbar1_ButtonClick(2);
            m.Command5_Click();
        },
        &opened);
    main.Toolbar1_ButtonClick(3);
    ASSERT_TRUE(opened);
    EXPECT_EQ(main.Image(7)->picture(), picture(12, 8).mirrored(true, false));
    EXPECT_EQ(main.Image(3)->hasPicture(), false);

    whenOpen(
        [](ManipulatorWindow& m) {
            m.Toolbar1_ButtonClick(1);
            m.Command2_Click();
        },
        &opened);
    main.Toolbar1_ButtonClick(3);
    ASSERT_TRUE(opened);
    EXPECT_EQ(main.Image(7)->picture(), picture(12, 8).mirrored(true, false)) << "Cancel writes nothing";
}

TEST(ManipulatorFromTheMainWindow, NoChosenSlotOpensNoManipulator) {
    kavi::testing::TestPlatform test;
    MainWindow main(test.platform);
    bool opened = true;
    whenOpen([](ManipulatorWindow& m) { m.Command2_Click(); }, &opened);
    main.Toolbar1_ButtonClick(3);
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}
