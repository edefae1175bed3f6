// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/picture_loader.h"

#include "formats/raster/jpeg_frame.h"
#include "platform/imaging/jpeg_completeness.h"
#include "platform/imaging/jpeg_decoder.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <optional>
#include <unistd.h>

namespace kavi {

namespace {

// The largest decoded picture accepted, in megabytes of 32-bit pixels: half the machine's memory,
// at most 8 GB (about two gigapixels). Qt's own limit of 256 MB would refuse large scans and
// photos; no limit would let a tiny file that claims a huge size exhaust the memory and lose every
// picture held in the program.
int pictureLimitMegabytes() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    const double halfMemory = pages > 0 && pageSize > 0 ? double(pages) * double(pageSize) / 2 / (1 << 20) : 1024;
    return int(std::clamp(halfMemory, 256.0, 8192.0));
}

PictureStatus failureOf(const QImageReader& reader) {
    const bool unopened =
        reader.error() == QImageReader::FileNotFoundError || reader.error() == QImageReader::DeviceError;
    return unopened ? PictureStatus::CannotOpen : PictureStatus::NotAPicture;
}

bool fitsLimit(double width, double height, int limitMegabytes) {
    return width * height * 4 <= double(limitMegabytes) * (1 << 20);
}

// The stored picture turned upright by its EXIF orientation, the way Qt's reader does it: mirrored
// and flipped first, then a quarter turn where the orientation has one.
QImage upright(QImage picture, int orientation) {
    if (orientation <= 1 || orientation > 8) return picture;
    if (orientation == 8) return picture.transformed(QTransform().rotate(270));
    const bool mirror = orientation == 2 || orientation == 3 || orientation == 7;
    const bool flip = orientation == 3 || orientation == 4 || orientation == 5;
    if (mirror || flip) picture = std::move(picture).mirrored(mirror, flip);
    if (orientation >= 5) picture = picture.transformed(QTransform().rotate(90));
    return picture;
}

// A JPEG of the kind libjpeg-turbo decodes here, loaded from its bytes; none when the data is no
// such JPEG (or the decoder gave up), so that Qt's readers take it as before.
std::optional<PictureLoad> loadOwnJpeg(QByteArray bytes, int limitMegabytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(data, std::size_t(bytes.size()));
    if (!frame || frame->precision != 8 || (frame->components != 1 && frame->components != 3)) return std::nullopt;
    if (!fitsLimit(frame->width, frame->height, limitMegabytes)) return PictureLoad{PictureStatus::TooLarge, {}, {}};
    QImage picture = decodeJpeg(data, std::size_t(bytes.size()));
    if (picture.isNull()) return std::nullopt;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (jpegEndsEarly(buffer)) return PictureLoad{PictureStatus::Incomplete, {}, {}};
    PictureLoad loaded{PictureStatus::Loaded, upright(std::move(picture), frame->orientation), {}};
    if (raster::isPortableJpeg(*frame)) loaded.originalJpeg = std::move(bytes);
    return loaded;
}

std::optional<PictureLoad> loadOwnJpeg(const QString& path, int limitMegabytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    char start[2];
    if (file.peek(start, 2) != 2 || uchar(start[0]) != 0xFF || uchar(start[1]) != 0xD8) return std::nullopt;
    return loadOwnJpeg(file.readAll(), limitMegabytes);
}

} // namespace

PictureLoad loadPictureFile(const QString& path) {
    static const int limit = pictureLimitMegabytes();
    if (std::optional<PictureLoad> own = loadOwnJpeg(path, limit)) return std::move(*own);
    QImageReader::setAllocationLimit(limit);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The picture ends up as 32-bit pixels, whatever the file stores; refuse it before decoding
    // when that would not fit.
    const QSize size = reader.size();
    if (size.isValid() && !fitsLimit(size.width(), size.height(), limit)) return {PictureStatus::TooLarge, {}, {}};
    const bool jpeg = reader.format() == "jpeg"; // asked before reading: afterwards the reader cannot tell
    QImage image = reader.read();
    if (image.isNull()) return {failureOf(reader), {}, {}};
    if (jpeg && reader.device() && jpegEndsEarly(*reader.device())) return {PictureStatus::Incomplete, {}, {}};
    // A picture with transparent parts keeps them (its hidden colours stay hidden); drawing lays it
    // over the paper.
    const QImage::Format kept = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != kept) image.convertTo(kept);
    if (image.isNull()) return {PictureStatus::TooLarge, {}, {}};
    return {PictureStatus::Loaded, std::move(image), {}};
}

QImage loadPicture(const QString& path) { return loadPictureFile(path).picture; }

PictureLoad loadJpegData(const QByteArray& bytes) {
    static const int limit = pictureLimitMegabytes();
    if (std::optional<PictureLoad> own = loadOwnJpeg(bytes, limit)) return std::move(*own);
    return {PictureStatus::NotAPicture, {}, {}};
}

} // namespace kavi
