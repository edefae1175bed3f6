#include "picture_loader.h"

#include "jpeg_completeness.h"

#include <QImageReader>

#include <algorithm>
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
    const bool unopened = reader.error() == QImageReader::FileNotFoundError || reader.error() == QImageReader::DeviceError;
    return unopened ? PictureStatus::CannotOpen : PictureStatus::NotAPicture;
}

} // namespace

PictureLoad loadPictureFile(const QString& path) {
    static const int limit = pictureLimitMegabytes();
    QImageReader::setAllocationLimit(limit);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // The picture ends up as 32-bit pixels, whatever the file stores; refuse it before decoding
    // when that would not fit.
    const QSize size = reader.size();
    if (size.isValid() && double(size.width()) * size.height() * 4 > double(limit) * (1 << 20))
        return {PictureStatus::TooLarge, {}};
    const bool jpeg = reader.format() == "jpeg"; // asked before reading: afterwards the reader cannot tell
    QImage image = reader.read();
    if (image.isNull()) return {failureOf(reader), {}};
    if (jpeg && reader.device() && jpegEndsEarly(*reader.device()))
        return {PictureStatus::Incomplete, {}};
    if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
    return {PictureStatus::Loaded, std::move(image)};
}

QImage loadPicture(const QString& path) { return loadPictureFile(path).picture; }

} // namespace kavi
