// SPDX-License-Identifier: GPL-3.0-or-later
// What a print takes of the covers' designs: each design whole, the further pictures of ticked
// covers decoded and those of other covers left undecoded, JPEG files carried while unedited.
#include "coverset/cover_set_file.h"
#include "output/print/cover_document_printing.h"
#include "tests/support/picture_files.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

using kavi::testing::jpegOf;

const Kind kFront(1), kDvd(4);

QImage filled(int w, int h, QRgb colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

LengthRect box() {
    return {Length::fromMillimetres(2), Length::fromMillimetres(2), Length::fromMillimetres(10),
            Length::fromMillimetres(10)};
}

} // namespace

TEST(DesignPrintSelection, TickedCoversDecodeTheirFurtherPicturesAndUneditedJpegFilesTravelAsTheyAre) {
    // Two covers, each with a JPEG photo and a PNG logo, saved and opened again so that every
    // picture waits undecoded.
    CoverDocument made;
    const QByteArray photo = jpegOf(filled(12, 8, 0x336699));
    for (Kind kind : {kFront, kDvd}) {
        made.addPictureLayer(kind, CoverSetPicture::ofJpegFile(photo).image(), photo, box());
        made.addPictureLayer(kind, filled(4, 4, 0xFF8800), {}, box());
        made.setBackground(kind, {BackgroundFill::Colour, 0x101010, 0, 0});
    }
    const CoverSetReading reading = readCoverSet(writeCoverSet(made.toCoverSet()));
    ASSERT_TRUE(reading.set) << reading.reason;
    CoverDocument document;
    document.applyCoverSet(*reading.set);
    document.setTicked(kDvd, true);

    const PrintSelection selection = printSelectionOf(document);
    for (Kind kind : {kFront, kDvd}) {
        const std::size_t i = kind.index();
        EXPECT_TRUE(selection.designs[i] == made.design(kind)) << kind.number();
        ASSERT_EQ(selection.designPictures[i].size(), 2u) << kind.number();
        EXPECT_EQ(selection.designPictures[i][0].originalJpeg, photo) << "carried, decoded or not: " << kind.number();
        EXPECT_TRUE(selection.designPictures[i][1].originalJpeg.isEmpty());
    }
    const std::size_t dvd = kDvd.index(), front = kFront.index();
    EXPECT_EQ(selection.designPictures[dvd][1].pixels.pixel(1, 1), 0xFFFF8800u);
    EXPECT_FALSE(selection.designPictures[dvd][0].pixels.isNull());
    EXPECT_TRUE(selection.designPictures[front][0].pixels.isNull()) << "not ticked: not decoded";
    EXPECT_TRUE(document.designPicture(kFront, 1).isUndecoded());

    // Once decoded for a view, an unticked cover's pictures come along as they are.
    document.designPixels(kFront, 1);
    EXPECT_FALSE(printSelectionOf(document).designPictures[front][1].pixels.isNull());
    // An edit of the cover's own picture leaves the further pictures' files alone.
    document.setPicture(kDvd, filled(5, 5, 0x00FF00));
    EXPECT_EQ(printSelectionOf(document).designPictures[dvd][0].originalJpeg, photo);
}
