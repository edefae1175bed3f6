// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures with transparent parts: the loader keeps their transparency and their hidden colours
// hidden, and wherever they become opaque pixels (a bitmap for the filters, a saved JPEG, GIF or
// BMP) the transparent parts lie on white paper, half-transparent ones blended with it.
#include "platform/imaging/image_encoders.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "platform/imaging/white_paper.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QImageWriter>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

// A 60 x 20 logo: red and opaque on the left third, blue at half coverage in the middle, and on
// the right black that no one may see (coverage 0).
QImage logo() {
    QImage picture(60, 20, QImage::Format_ARGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, x < 20 ? qRgba(200, 0, 0, 255) : x < 40 ? qRgba(0, 0, 255, 128) : qRgba(0, 0, 0, 0));
    return picture;
}

QByteArray png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, "png").write(picture));
    return bytes;
}

// Blue at 128 of 255 over white: each channel c * 128/255 + 255 * 127/255, rounded.
const QColor kHalfBlue(127, 127, 255);

void expectOnPaper(const QImage& shown, const char* what) {
    ASSERT_FALSE(shown.isNull()) << what;
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(200, 0, 0)) << what << ": the opaque part";
    EXPECT_EQ(shown.pixelColor(30, 5), kHalfBlue) << what << ": the half-transparent part";
    EXPECT_EQ(shown.pixelColor(50, 5), QColor(Qt::white)) << what << ": the transparent part";
}

} // namespace

TEST(WhitePaper, BlendingRoundsEachChannelToTheNearestValue) {
    const std::uint8_t from[] = {0, 0, 255, 128, 10, 20, 30, 0, 10, 20, 30, 255, 100, 100, 100, 1};
    std::uint8_t to[16];
    blendOverWhite(from, to, 4);
    const std::uint8_t expected[] = {127, 127, 255, 255, 255, 255, 255, 255, 10, 20, 30, 255, 254, 254, 254, 255};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(to[i], expected[i]) << "byte " << i;
}

TEST(WhitePaper, ALoadedPngKeepsItsTransparencyAndEveryOpaqueCopyLiesOnWhite) {
    TempFolder dir;
    const PictureLoad loaded = loadPictureFile(dir.write("logo.png", png(logo())));
    ASSERT_EQ(loaded.status, PictureStatus::Loaded);
    EXPECT_TRUE(loaded.picture.hasAlphaChannel()) << "the stored picture keeps its transparency";
    EXPECT_EQ(loaded.picture.pixel(50, 5), qRgba(0, 0, 0, 0)) << "hidden colour kept as it was, still hidden";
    EXPECT_EQ(qAlpha(loaded.picture.pixel(30, 5)), 128);

    expectOnPaper(onWhitePaper(loaded.picture), "on white paper");
    EXPECT_EQ(loaded.picture.pixel(50, 5), qRgba(0, 0, 0, 0)) << "laying it on paper left the picture alone";
    expectOnPaper(toImage(toBitmap(loaded.picture)), "a bitmap for the filters");
    expectOnPaper(toImage(sharedBitmap(loaded.picture)), "a shared bitmap for the Cover Manipulator");

    // Saved in formats without transparency, the logo is what it is on paper.
    StandardImageEncoders encoders;
    std::uintptr_t token = 0;
    ASSERT_EQ(encoders.startup(token), StatusOk);
    std::vector<ImageEncoderInfo> list;
    encoders.getImageEncoders(list);
    for (const char* type : {"image/bmp", "image/gif"}) {
        const auto it = std::find_if(list.begin(), list.end(), [type](const ImageEncoderInfo& e) {
            return e.mimeType == QString::fromLatin1(type);
        });
        ASSERT_NE(it, list.end()) << type;
        const QString file = dir.file(QString::fromLatin1(type).mid(6) + ".out");
        ASSERT_EQ(encoders.saveImageToFile(loaded.picture, file, it->clsid, std::nullopt), StatusOk) << type;
        const QImage saved = QImage(file).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(saved.pixelColor(50, 5), QColor(Qt::white)) << type << ": no black box";
        EXPECT_EQ(saved.pixelColor(5, 5), QColor(200, 0, 0)) << type;
    }
    encoders.shutdown(token);
}

TEST(WhitePaper, AnOpaquePictureIsSharedNotCopied) {
    QImage photo(8, 8, QImage::Format_RGB32);
    photo.fill(qRgb(1, 2, 3));
    EXPECT_EQ(onWhitePaper(photo).constBits(), photo.constBits());
    const QImage premultiplied = logo().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    expectOnPaper(onWhitePaper(premultiplied), "from premultiplied pixels");
}
