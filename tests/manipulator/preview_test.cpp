// SPDX-License-Identifier: GPL-3.0-or-later
// The Cover Manipulator resized: the default size keeps the default layout, the previews show the
// picture whole in its own proportions and centred at every size, and transparency shows over white
// while the picture keeps it.
#include "manipulator/manipulator_window.h"
#include "manipulator/picture_preview.h"
#include "platform/imaging/qt_raster.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace kavi;

namespace {

class OneSlot : public ManipulatorWorkspace {
public:
    QImage picture;
    int writes = 0;
    QString selectedImage() const override { return QStringLiteral("Image3"); }
    QImage slotPicture(int n) const override { return n == 3 ? picture : QImage(); }
    void setSlotPicture(int n, QImage p) override {
        if (n == 3) picture = std::move(p);
        ++writes;
    }
};

constexpr QRgb kInk = qRgb(200, 30, 60);

QImage solid(int w, int h, QRgb colour = kInk) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The rectangle of the pane's contents where anything but the pane's background is drawn (the
// contents' top-left corner is background in every case here).
QRect drawnPicture(QLabel* pane) {
    const QImage shot = pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inside = pane->contentsRect();
    const QRgb background = shot.pixel(inside.topLeft());
    QRect found;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                    std::abs(qBlue(p) - qBlue(background)) >
                6)
                found |= QRect(x, y, 1, 1);
        }
    return found.translated(-inside.topLeft());
}

// The drawn picture keeps the picture's proportions within a pixel, fills the pane in one direction
// and is centred in it.
void expectLetterboxed(QLabel* pane, QSize picture, const char* where) {
    SCOPED_TRACE(where);
    const QRect drawn = drawnPicture(pane);
    const QSize box = pane->contentsRect().size();
    ASSERT_FALSE(drawn.isEmpty()) << pane->objectName().toStdString();
    // One side fills the box; the other is the picture's proportion of it, within a pixel.
    if (drawn.width() == box.width())
        EXPECT_NEAR(drawn.height(), double(drawn.width()) * picture.height() / picture.width(), 1.0);
    else {
        EXPECT_EQ(drawn.height(), box.height())
            << drawn.width() << "x" << drawn.height() << " in " << box.width() << "x" << box.height();
        EXPECT_NEAR(drawn.width(), double(drawn.height()) * picture.width() / picture.height(), 1.0);
    }
    EXPECT_LE(std::abs(drawn.left() - (box.width() - 1 - drawn.right())), 1) << "centred across";
    EXPECT_LE(std::abs(drawn.top() - (box.height() - 1 - drawn.bottom())), 1) << "centred down";
}

} // namespace

TEST(ManipulatorPreview, TheLetterboxKeepsTheProportionsAndCentres) {
    EXPECT_EQ(letterboxRect(QSize(160, 160), QSize(30, 80)), QRect(50, 0, 60, 160));
    EXPECT_EQ(letterboxRect(QSize(160, 160), QSize(1200, 300)), QRect(0, 60, 160, 40));
    EXPECT_EQ(letterboxRect(QSize(300, 100), QSize(4, 4)), QRect(100, 0, 100, 100)) << "small pictures grow";
    EXPECT_EQ(letterboxRect(QSize(160, 160), QSize(1, 5000)), QRect(79, 0, 1, 160)) << "never thinner than a pixel";
    EXPECT_TRUE(letterboxRect(QSize(0, 160), QSize(10, 10)).isEmpty());
    EXPECT_TRUE(letterboxRect(QSize(160, 160), QSize()).isEmpty());
}

TEST(ManipulatorPreview, ResizedBothWaysThePanesShowPortraitAndLandscapeInTheirProportions) {
    for (const QSize picture : {QSize(30, 80), QSize(240, 90)}) {
        SCOPED_TRACE(picture.width());
        kavi::testing::TestPlatform test;
        OneSlot workspace;
        workspace.picture = solid(picture.width(), picture.height());
        ManipulatorWindow w(test.platform, workspace);
        w.show();
        QApplication::processEvents();

        // The default size and layout are today's; the window is no longer fixed.
        const QSize defaultSize(343, w.menuBar->height() + 280);
        EXPECT_EQ(w.size(), defaultSize);
        EXPECT_EQ(w.NewImage->geometry(), QRect(176, 72, 160, 160));
        EXPECT_EQ(w.Original->geometry(), QRect(8, 72, 160, 160));
        EXPECT_EQ(w.Command2->geometry(), QRect(208, 240, 97, 33));
        EXPECT_LT(w.minimumWidth(), defaultSize.width());
        EXPECT_LT(w.minimumHeight(), defaultSize.height());
        EXPECT_GT(w.maximumWidth(), 2000);
        expectLetterboxed(w.Original, picture, "default");
        expectLetterboxed(w.NewImage, picture, "default");

        w.resize(720, 430); // bigger, much wider than high
        QApplication::processEvents();
        EXPECT_EQ(w.NewImage->width(), w.Original->width());
        EXPECT_GT(w.NewImage->height(), 160);
        EXPECT_LT(w.Command2->geometry().bottom(), w.height());
        EXPECT_GT(w.Command2->y(), w.NewImage->geometry().bottom()) << "the buttons stay below the panes";
        expectLetterboxed(w.Original, picture, "bigger");
        expectLetterboxed(w.NewImage, picture, "bigger");

        // Cropped to other proportions while resized: the result's pane follows the new picture.
        const QSize part(picture.width() / 2, picture.height() / 4);
        w.applyCrop(CropRect{0, 0, part.width(), part.height()});
        expectLetterboxed(w.NewImage, part, "cropped");
        expectLetterboxed(w.Original, picture, "the original is not cropped");

        w.resize(w.minimumSize()); // smaller than the default
        QApplication::processEvents();
        EXPECT_LT(w.NewImage->height(), 160);
        EXPECT_GE(w.NewImage->x(), w.Original->geometry().right()) << "the panes do not overlap";
        expectLetterboxed(w.Original, picture, "smaller");
        expectLetterboxed(w.NewImage, part, "smaller");

        w.resize(defaultSize);
        QApplication::processEvents();
        EXPECT_EQ(w.NewImage->geometry(), QRect(176, 72, 160, 160)) << "back at the default size, the default layout";
        w.Command2_Click();
    }
}

TEST(ManipulatorPreview, TransparencyShowsOverWhiteAndAnAcceptedEditIsAsOnPaper) {
    // Left half clear (with black hidden behind it), right half red at half opacity.
    QImage picture(40, 40, QImage::Format_ARGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) picture.setPixel(x, y, x < 20 ? qRgba(0, 0, 0, 0) : qRgba(255, 0, 0, 128));
    kavi::testing::TestPlatform test;
    OneSlot workspace;
    workspace.picture = picture;
    ManipulatorWindow w(test.platform, workspace);
    w.show();
    QApplication::processEvents();

    const auto shown = [&](QLabel* pane, int fx) {
        const QImage shot = pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inside = pane->contentsRect();
        return shot.pixel(inside.x() + inside.width() * fx / 100, inside.y() + inside.height() / 2);
    };
    for (QLabel* pane : {w.Original, w.NewImage}) {
        EXPECT_EQ(shown(pane, 20), qRgb(255, 255, 255)) << "clear over white, not its hidden black";
        const QRgb half = shown(pane, 80);
        EXPECT_EQ(qRed(half), 255);
        EXPECT_NEAR(qGreen(half), 127, 2);
        EXPECT_NEAR(qBlue(half), 127, 2);
    }
    // Mirrored, the clear half is on the right. The Manipulator edits the picture as it looks on paper (a
    // filter must never bring the hidden black out), so the accepted picture is that: white where it was
    // clear, the blend where it was half clear.
    w.Toolbar1_ButtonClick(2);
    EXPECT_EQ(shown(w.NewImage, 80), qRgb(255, 255, 255));
    w.Command5_Click();
    ASSERT_EQ(workspace.writes, 1);
    EXPECT_EQ(workspace.picture.pixel(30, 5), qRgb(255, 255, 255));
    const QRgb blend = workspace.picture.pixel(5, 5);
    EXPECT_EQ(qAlpha(blend), 255);
    EXPECT_EQ(qRed(blend), 255);
    EXPECT_NEAR(qGreen(blend), 127, 1);
    EXPECT_NEAR(qBlue(blend), 127, 1);
}

TEST(ManipulatorPreview, APictureWithoutTransparencyIsOpaqueWhateverItsReservedBytes) {
    // An opaque picture whose fourth bytes are 0, as the pixel commands leave them: no white.
    QImage picture(20, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < 20; ++x) row[x] = kInk & 0x00FFFFFF;
    }
    kavi::testing::TestPlatform test;
    OneSlot workspace;
    workspace.picture = picture;
    ManipulatorWindow w(test.platform, workspace);
    w.show();
    QApplication::processEvents();
    expectLetterboxed(w.NewImage, picture.size(), "opaque");
    expectLetterboxed(w.Original, picture.size(), "opaque");

    // A transparent picture that a command has rebuilt without its opacity shows opaque too.
    QImage clear(12, 20, QImage::Format_ARGB32);
    clear.fill(qRgba(qRed(kInk), qGreen(kInk), qBlue(kInk), 255));
    workspace.picture = clear;
    ManipulatorWindow again(test.platform, workspace);
    again.show();
    QApplication::processEvents();
    again.HScroll1->setValue(0);
    again.Toolbar1_ButtonClick(4); // Brightness by 0 writes every pixel back with a reserved byte of 0
    expectLetterboxed(again.NewImage, clear.size(), "opacity dropped by the command");
    again.Command5_Click();
    EXPECT_FALSE(workspace.picture.hasAlphaChannel()) << "the accepted picture is opaque, not clear";
}
