// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes picture files (BMP, GIF, JPEG and whatever else Qt's image readers take).
#include <QImage>
#include <QString>

namespace kavi {

// Why a picture file did or did not load. A decoder of any kind reports through these.
enum class PictureStatus {
    Loaded,
    CannotOpen, // the file is missing or may not be read
    NotAPicture, // no decoder takes it, or its data is damaged beyond decoding
    Incomplete, // the file's data ends before the picture's last row
    TooLarge, // the decoded picture would not fit in memory
};

struct PictureLoad {
    PictureStatus status = PictureStatus::NotAPicture;
    QImage picture; // null unless the status is Loaded
    // The file's bytes as read for this load when the file is a JPEG that a PDF can carry as it is
    // (8-bit, Huffman-coded, grey or colour; raster::isPortableJpeg); empty otherwise.
    QByteArray originalJpeg;
};

// The picture upright (EXIF orientation applied) as Format_RGB32 (Format_ARGB32, not premultiplied,
// when it has transparent parts), or the reason it was not loaded.
// 8-bit grey and colour JPEGs are decoded by libjpeg-turbo directly from the file's bytes, read once;
// every other picture (CMYK and 12-bit JPEGs among them) goes through Qt's readers.
// A picture is refused before decoding when it would not fit in memory (over half of it, or over
// 8 GB as 32-bit pixels), and a JPEG cut off before its last row is refused rather than shown
// with grey rows.
PictureLoad loadPictureFile(const QString& path);

// The picture alone: a null image whenever loadPictureFile reports anything but Loaded.
QImage loadPicture(const QString& path);

// A JPEG held in memory whose bytes loadPictureFile would keep (8-bit grey or colour), loaded as
// loadPictureFile loads such a file, the same pixels; NotAPicture for any other data.
PictureLoad loadJpegData(const QByteArray& bytes);

} // namespace kavi
