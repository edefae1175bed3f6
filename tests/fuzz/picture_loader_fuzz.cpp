// SPDX-License-Identifier: GPL-3.0-or-later
// The picture loader over random files: it never crashes, always says why, and a loaded picture
// has a positive size and 32-bit pixels. A file that claims more pixels than the loader accepts is
// refused before decoding; the JPEG completeness check is run on the bytes directly as well.
#include "tests/fuzz/fuzz_support.h"

#include "platform/imaging/jpeg_completeness.h"
#include "platform/imaging/picture_loader.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <unistd.h>

namespace {

constexpr std::size_t kLargestInput = 64 * 1024;
// Pictures claiming more pixels than this are decoded only when the loader refuses them anyway,
// so that one input stays quick.
constexpr double kLargestDecodedPixels = 4096.0 * 4096.0;

// The loader's refusal line in bytes of 32-bit pixels: half the memory, at most 8 GB.
double refusalBytes() {
    const double half = double(sysconf(_SC_PHYS_PAGES)) * double(sysconf(_SC_PAGESIZE)) / 2;
    return std::clamp(half, 256.0 * (1 << 20), 8192.0 * (1 << 20));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    fuzz::ensureQtApplication();

    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    kavi::jpegEndsEarly(buffer);

    const QString path = fuzz::scratchPath("picture");
    FUZZ_CHECK(fuzz::writeScratch(path, data, size), "the input could not be stored");
    const QSize claimed = QImageReader(path).size();
    const double claimedPixels = claimed.isValid() ? double(claimed.width()) * claimed.height() : 0;
    const bool refused = claimedPixels * 4 > refusalBytes();
    if (!refused && claimedPixels > kLargestDecodedPixels) return 0;

    const kavi::PictureLoad load = kavi::loadPictureFile(path);
    switch (load.status) {
    case kavi::PictureStatus::Loaded:
        FUZZ_CHECK(!load.picture.isNull(), "a loaded picture is null");
        FUZZ_CHECK(load.picture.width() > 0 && load.picture.height() > 0, "a loaded picture has no size");
        FUZZ_CHECK(load.picture.format() == QImage::Format_RGB32, "a loaded picture is not 32-bit");
        break;
    case kavi::PictureStatus::CannotOpen:
    case kavi::PictureStatus::NotAPicture:
    case kavi::PictureStatus::Incomplete:
    case kavi::PictureStatus::TooLarge: FUZZ_CHECK(load.picture.isNull(), "a refused picture carries pixels"); break;
    default: FUZZ_CHECK(false, "the status is none of the known ones");
    }
    if (refused) FUZZ_CHECK(load.status == kavi::PictureStatus::TooLarge, "an oversized picture was not refused");
    QFile::remove(path);
    return 0;
}
