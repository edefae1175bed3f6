// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Picture files made in memory for picking and dropping tests, and a comparison of pictures.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

namespace kavi::testing {

// A picture as the bytes of a JPEG file (quality 90), as a picked file would hold them.
inline QByteArray jpegOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    return bytes;
}

// The same size and the same colours (whatever the format and the unused alpha byte).
inline bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

// A w x h picture of one colour, encoded in the given format.
inline QByteArray pictureBytes(int w, int h, QColor color, const char* format = "BMP") {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG whose EXIF block says "turn 90 degrees clockwise to view" (orientation 6).
inline QByteArray rotatedPhoto(int w, int h) {
    QByteArray jpeg = pictureBytes(w, h, Qt::red, "JPEG");
    const QByteArray tiff = QByteArray("MM\0*\0\0\0\x08", 8) + QByteArray("\0\x01", 2) +
        QByteArray("\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 12) + QByteArray(4, '\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    const QByteArray app1 = QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload;
    jpeg.insert(2, app1);
    return jpeg;
}

// A valid 16 x 16 JPEG whose frame header claims 65000 x 65000 pixels (16.9 GB as 32-bit).
inline QByteArray impossiblySizedJpeg() {
    QByteArray jpeg = pictureBytes(16, 16, Qt::green, "JPEG");
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0) return {};
    for (qsizetype at : {frame + 5, frame + 7}) { // height, then width, big-endian
        jpeg[at] = char(65000 >> 8);
        jpeg[at + 1] = char(65000 & 0xFF);
    }
    return jpeg;
}

} // namespace kavi::testing
