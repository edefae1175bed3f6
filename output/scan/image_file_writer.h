// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The image-file writer: starts the image encoders for its whole life, keeps a table from
// file-name pattern (such as "*.JPG") to encoder, and writes a picture box's picture with the
// encoder that the file name's extension selects.
#include "platform/desktop/stretched_picture.h"
#include "platform/imaging/image_encoders.h"

#include <QHash>
#include <QObject>
#include <QUuid>

#include <cstdint>
#include <vector>

namespace kavi {

class ImageFileWriter final : public QObject {
    Q_OBJECT
public:
    explicit ImageFileWriter(ImageEncoders& encoders, QObject* parent = nullptr);
    ~ImageFileWriter() override;

    // Writes pic's picture to sFilename with the encoder of its extension; lQuality (0-100) is
    // used for extensions beginning with "J". True when the file was written.
    bool PictureBoxToFile(const StretchedPicture& pic, const QString& sFilename, int lQuality);
    static QString GdiErrorString(int lError);

    // The encoder index for a pattern such as "*.jpg", compared without regard to case; -1 if none.
    int encoderForPattern(const QString& pattern) const;
    std::uintptr_t token() const { return GdipToken; }
    const std::vector<QUuid>& encoderClsids() const { return EncoderClsids; }
    qsizetype patternCount() const { return EncoderByPattern.size(); }

    // The extension of a file name: the text after its last ".", empty when there is no "."
    // or a folder separator follows it.
    static QString extensionOf(const QString& sFilename);

signals:
    void Error(int lGdiError, const QString& sErrorDesc);

private:
    void raiseError(int status);
    void loadEncoders();
    void addPattern(const QString& pattern, int index);

    ImageEncoders& encoders_;
    std::uintptr_t GdipToken = 0;
    std::vector<QUuid> EncoderClsids;
    QHash<QString, int> EncoderByPattern; // keys upper-cased
};

} // namespace kavi
