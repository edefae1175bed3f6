// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/image_encoders.h"

#include "platform/files/atomic_file.h"
#include "platform/imaging/white_paper.h"

#include <QBuffer>
#include <QImageWriter>

#include <array>
#include <cerrno>

namespace kavi {

namespace {

struct EncoderEntry {
    ImageEncoderInfo info;
    const char* qtFormat; // nullptr: our own GIF writer
};

// In the order the encoders are listed.
const std::array<EncoderEntry, 5>& encoderTable() {
    static const std::array<EncoderEntry, 5> table{{
        {{QUuid("{557cf400-1a04-11d3-9a73-0000f81ef32e}"), "BMP", "*.BMP;*.DIB;*.RLE", "image/bmp"}, "bmp"},
        {{QUuid("{557cf401-1a04-11d3-9a73-0000f81ef32e}"), "JPEG", "*.JPG;*.JPEG;*.JPE;*.JFIF", "image/jpeg"}, "jpeg"},
        {{QUuid("{557cf402-1a04-11d3-9a73-0000f81ef32e}"), "GIF", "*.GIF", "image/gif"}, nullptr},
        {{QUuid("{557cf405-1a04-11d3-9a73-0000f81ef32e}"), "TIFF", "*.TIF;*.TIFF", "image/tiff"}, "tiff"},
        {{QUuid("{557cf406-1a04-11d3-9a73-0000f81ef32e}"), "PNG", "*.PNG", "image/png"}, "png"},
    }};
    return table;
}

bool qtCanWrite(const char* format) { return QImageWriter::supportedImageFormats().contains(QByteArray(format)); }

} // namespace

int statusForErrno(int error) {
    switch (error) {
    case 0: return StatusOk;
    case EACCES:
    case EPERM:
    case EROFS: return StatusAccessDenied;
    case ENOENT:
    case ENOTDIR: return StatusFileNotFound;
    case ENOMEM: return StatusOutOfMemory;
    case EBUSY:
    case ETXTBSY: return StatusObjectBusy;
    default: return StatusWin32Error;
    }
}

int StandardImageEncoders::startup(std::uintptr_t& token) {
    token = std::uintptr_t(++starts_);
    return StatusOk;
}

void StandardImageEncoders::shutdown(std::uintptr_t) {}

int StandardImageEncoders::getImageEncoders(std::vector<ImageEncoderInfo>& encoders) {
    encoders.clear();
    for (const EncoderEntry& e : encoderTable())
        if (!e.qtFormat || qtCanWrite(e.qtFormat)) encoders.push_back(e.info);
    return StatusOk;
}

EncodedImage encodeWithQt(const QImage& picture, const char* format, std::optional<int> quality) {
    EncodedImage out;
    QBuffer buffer(&out.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality) writer.setQuality(*quality);
    if (QByteArray(format) == "tiff") writer.setCompression(1); // LZW
    // Qt would write an alpha channel for some formats; a saved picture is opaque, as it prints:
    // transparent parts on white paper.
    const QImage opaque = picture.hasAlphaChannel() ? onWhitePaper(picture) : picture;
    if (!writer.write(opaque))
        out.status =
            writer.error() == QImageWriter::UnsupportedFormatError ? StatusUnknownImageFormat : StatusGenericError;
    return out;
}

int StandardImageEncoders::saveImageToFile(const QImage& picture, const QString& path, const QUuid& encoder,
                                           std::optional<int> quality) {
    if (picture.isNull() || path.isEmpty()) return StatusInvalidParameter;
    if (starts_ == 0) return StatusNotInitialized;
    const EncoderEntry* entry = nullptr;
    for (const EncoderEntry& e : encoderTable())
        if (e.info.clsid == encoder) entry = &e;
    if (!entry) return StatusUnknownImageFormat;
    if (quality && (*quality < 0 || *quality > 100)) return StatusInvalidParameter;

    const EncodedImage encoded = entry->qtFormat ? encodeWithQt(picture, entry->qtFormat, quality) : encodeGif(picture);
    if (encoded.status != StatusOk) return encoded.status;
    return statusForErrno(writeFileAtomicallyOrErrno(path, encoded.bytes));
}

} // namespace kavi
