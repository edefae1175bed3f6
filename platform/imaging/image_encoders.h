// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Image-file encoders looked up by file-name pattern, with a JPEG quality setting and numbered
// statuses. Every file is written whole or not at all (see atomic_file.h).
#include <QImage>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <optional>
#include <vector>

namespace kavi {

// Status numbers of the image-file writer; 0 is success.
enum ImageStatus : int {
    StatusOk = 0,
    StatusGenericError = 1,
    StatusInvalidParameter = 2,
    StatusOutOfMemory = 3,
    StatusObjectBusy = 4,
    StatusInsufficientBuffer = 5,
    StatusNotImplemented = 6,
    StatusWin32Error = 7,
    StatusWrongState = 8,
    StatusAborted = 9,
    StatusFileNotFound = 10,
    StatusValueOverflow = 11,
    StatusAccessDenied = 12,
    StatusUnknownImageFormat = 13,
    StatusNotInitialized = 18,
};

struct ImageEncoderInfo {
    QUuid clsid;
    QString formatDescription; // "BMP", "JPEG", ...
    QString filenameExtension; // patterns separated by ";", such as "*.JPG;*.JPEG"
    QString mimeType;
};

class ImageEncoders {
public:
    virtual ~ImageEncoders() = default;
    // Starts the encoders; token identifies this start for shutdown.
    virtual int startup(std::uintptr_t& token) = 0;
    virtual void shutdown(std::uintptr_t token) = 0;
    // The installed encoders in their fixed order.
    virtual int getImageEncoders(std::vector<ImageEncoderInfo>& encoders) = 0;
    // Writes the picture with the encoder of that class identifier; quality (0-100) is used by
    // encoders that have one.
    virtual int saveImageToFile(const QImage& picture, const QString& path, const QUuid& encoder,
                                std::optional<int> quality) = 0;
};

// BMP, JPEG, PNG and TIFF through Qt's writers, GIF through giflib after reduction to 256 colours.
class StandardImageEncoders final : public ImageEncoders {
public:
    int startup(std::uintptr_t& token) override;
    void shutdown(std::uintptr_t token) override;
    int getImageEncoders(std::vector<ImageEncoderInfo>& encoders) override;
    int saveImageToFile(const QImage& picture, const QString& path, const QUuid& encoder,
                        std::optional<int> quality) override;

private:
    int starts_ = 0;
};

// The status that an errno of a file operation maps to.
int statusForErrno(int error);

// The encoded bytes of a picture in one format, or a status on failure.
struct EncodedImage {
    int status = StatusOk;
    QByteArray bytes;
};
EncodedImage encodeWithQt(const QImage& picture, const char* format, std::optional<int> quality);
EncodedImage encodeGif(const QImage& picture);

} // namespace kavi
