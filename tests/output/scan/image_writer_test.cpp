// SPDX-License-Identifier: GPL-3.0-or-later
// The image-file writer's encoder table, its extension rule and its Error signal, over scripted encoders.
#include "output/scan/image_file_writer.h"
#include "tests/support/test_platform.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using testing::ScriptedImageEncoders;

const QUuid kBmp("{00000001-0000-0000-0000-000000000000}");
const QUuid kJpeg("{00000002-0000-0000-0000-000000000000}");
const QUuid kTiff("{00000003-0000-0000-0000-000000000000}");
const QUuid kOdd("{00000004-0000-0000-0000-000000000000}");

ScriptedImageEncoders usualEncoders() {
    ScriptedImageEncoders e;
    e.encoders = {{kBmp, "BMP", "*.BMP;*.DIB;*.RLE", "image/bmp"},
                  {kJpeg, "JPEG", "*.JPG;*.JPEG;*.JPE;*.JFIF", "image/jpeg"},
                  {kTiff, "TIFF", "*.TIF;*.TIFF", "image/tiff"}};
    return e;
}

StretchedPicture& scannedPicture() {
    static StretchedPicture box;
    if (!box.hasPicture()) {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        box.setPicture(image);
    }
    return box;
}

TEST(EncoderTable, PatternsSplitTrimmedAndLookedUpWithoutRegardToCase) {
    ScriptedImageEncoders e;
    e.encoders = {{kBmp, "BMP", "*.BMP;*.DIB; ", ""}, // a blank piece after the last ";"
                  {kJpeg, "JPEG", "*.JPG; *.JPEG ", ""}, // inner pieces kept as they stand
                  {kOdd, "ODD", "*.ODD;", ""}}; // an empty last piece
    ImageFileWriter gdip(e);
    EXPECT_EQ(gdip.encoderClsids(), (std::vector<QUuid>{kBmp, kJpeg, kOdd}));
    EXPECT_EQ(gdip.encoderForPattern("*.bmp"), 0);
    EXPECT_EQ(gdip.encoderForPattern("*.Dib"), 0);
    EXPECT_EQ(gdip.encoderForPattern("*.jpg"), 1);
    EXPECT_EQ(gdip.encoderForPattern("*.JPEG"), 1); // trimmed, being the last piece
    EXPECT_EQ(gdip.encoderForPattern(" *.JPEG"), -1); // an inner piece keeps its blank
    EXPECT_EQ(gdip.encoderForPattern(" *.jpeg"), -1);
    EXPECT_EQ(gdip.encoderForPattern("*.odd"), 2);
    EXPECT_EQ(gdip.encoderForPattern(""), -1);
    EXPECT_EQ(gdip.encoderForPattern(" "), -1);
    EXPECT_EQ(gdip.patternCount(), 5);
}

TEST(EncoderTable, PatternListedTwiceBelongsToTheEncoderListedFirst) {
    ScriptedImageEncoders e;
    e.encoders = {{kBmp, "BMP", "*.BMP;*.X", ""}, {kOdd, "ODD", "*.x;*.ODD", ""}};
    ImageFileWriter gdip(e);
    EXPECT_EQ(gdip.encoderForPattern("*.X"), 0);
    EXPECT_EQ(gdip.encoderForPattern("*.odd"), 1);
}

TEST(EncoderTable, StartupAndListingFailuresLeaveNoTableAndNoShutdown) {
    {
        ScriptedImageEncoders e = usualEncoders();
        e.startupStatus = 17;
        {
            ImageFileWriter gdip(e);
            EXPECT_EQ(gdip.token(), 0u);
            EXPECT_EQ(gdip.patternCount(), 0);
            EXPECT_FALSE(gdip.PictureBoxToFile(scannedPicture(), "/tmp/x.jpg", 85));
            EXPECT_TRUE(e.saves.empty());
        }
        EXPECT_TRUE(e.shutdowns.empty());
    }
    {
        ScriptedImageEncoders e = usualEncoders();
        e.listStatus = 3;
        {
            ImageFileWriter gdip(e);
            EXPECT_EQ(gdip.patternCount(), 0);
            EXPECT_TRUE(gdip.encoderClsids().empty());
        }
        EXPECT_EQ(e.shutdowns, (std::vector<std::uintptr_t>{77})); // started, so it is shut down
    }
}

TEST(ExtensionRule, NameSelectsEncoderAndOnlyJNamesCarryQuality) {
    ScriptedImageEncoders e = usualEncoders();
    ImageFileWriter gdip(e);
    struct Case {
        const char* name;
        QUuid encoder;
        bool quality;
    };
    const Case cases[] = {{"/covers/a.jpeg", kJpeg, true},  {"/covers/a.JPG", kJpeg, true},
                          {"/covers/a.jfif", kJpeg, true},  {"/covers/a.Jpe", kJpeg, true},
                          {"/covers/a.tiff", kTiff, false}, {"/covers/a.dib", kBmp, false},
                          {"/covers/a.bmp", kBmp, false},   {"/my.covers/a.b.TIF", kTiff, false}};
    for (const Case& c : cases) {
        e.saves.clear();
        EXPECT_TRUE(gdip.PictureBoxToFile(scannedPicture(), c.name, 85)) << c.name;
        ASSERT_EQ(e.saves.size(), 1u) << c.name;
        EXPECT_EQ(e.saves[0].encoder, c.encoder) << c.name;
        EXPECT_EQ(e.saves[0].path, QString(c.name));
        EXPECT_EQ(e.saves[0].size, QSize(8, 6));
        EXPECT_EQ(e.saves[0].quality, c.quality ? std::optional<int>(85) : std::nullopt) << c.name;
    }
}

TEST(ExtensionRule, NamesWithoutAKnownExtensionAreRefusedWithoutAnEvent) {
    ScriptedImageEncoders e = usualEncoders();
    ImageFileWriter gdip(e);
    QSignalSpy errors(&gdip, &ImageFileWriter::Error);
    for (const char* name : {"/covers/cover", "/my.covers/cover", "/covers/cover.", "/covers/a.emf", "/covers/a.png",
                             "C:\\my.covers\\cover", ""}) {
        EXPECT_FALSE(gdip.PictureBoxToFile(scannedPicture(), name, 85)) << name;
    }
    EXPECT_TRUE(e.saves.empty());
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(ImageFileWriter::extensionOf("/my.covers/cover"), "");
    EXPECT_EQ(ImageFileWriter::extensionOf("/covers/a.b.Png"), "Png");
}

TEST(ErrorSignal, CarriesStatusAndTextOfFailures) {
    ScriptedImageEncoders e = usualEncoders();
    ImageFileWriter gdip(e);
    QSignalSpy errors(&gdip, &ImageFileWriter::Error);

    StretchedPicture empty;
    EXPECT_FALSE(gdip.PictureBoxToFile(empty, "/covers/a.jpg", 85));
    EXPECT_TRUE(e.saves.empty());
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors[0][0].toInt(), 2);
    EXPECT_EQ(errors[0][1].toString(), "Invalid Parameter");

    e.saveStatus = 12;
    EXPECT_FALSE(gdip.PictureBoxToFile(scannedPicture(), "/covers/a.tif", 85));
    ASSERT_EQ(errors.count(), 2);
    EXPECT_EQ(errors[1][0].toInt(), 12);
    EXPECT_EQ(errors[1][1].toString(), "Access Denied");
}

TEST(StatusTexts, EveryNumberHasItsText) {
    const char* expected[] = {"Unknown GDI+ Error",
                              "Generic Error",
                              "Invalid Parameter",
                              "Out Of Memory",
                              "Object Busy",
                              "Insufficient Buffer",
                              "Not Implemented",
                              "Win32 Error",
                              "Wrong State",
                              "Aborted",
                              "File Not Found",
                              "Value Overflow",
                              "Access Denied",
                              "Unknown Image Format",
                              "FontFamily Not Found",
                              "FontStyle Not Found",
                              "Not TrueType Font",
                              "Unsupported Gdiplus Version",
                              "Gdiplus Not Initialized",
                              "Property Not Found",
                              "Property Not Supported"};
    for (int i = 0; i <= 20; ++i) EXPECT_EQ(ImageFileWriter::GdiErrorString(i), expected[i]) << i;
    EXPECT_EQ(ImageFileWriter::GdiErrorString(21), "Unknown GDI+ Error");
    EXPECT_EQ(ImageFileWriter::GdiErrorString(-1), "Unknown GDI+ Error");
}

} // namespace
} // namespace kavi
