#pragma once
// A cover's picture slot: a stretched picture with the slot's name. A picture picked from a JPEG
// file keeps the file's bytes beside it, read once at the pick, so that a print job can carry the
// file itself while the slot still shows exactly that picture.
#include "desktop/stretched_picture.h"

#include <QByteArray>

namespace kavi {

class PictureSlot final : public StretchedPicture {
    Q_OBJECT
public:
    explicit PictureSlot(const QString& name, QWidget* parent = nullptr) : StretchedPicture(parent) {
        setObjectName(name);
        setToolTip(QStringLiteral("Cover image."));
    }

    // A picture as decoded from a file, with the file's JPEG bytes when a PDF can carry them as
    // they are (empty otherwise).
    void setPickedPicture(QImage picture, QByteArray originalJpeg) {
        StretchedPicture::setPicture(std::move(picture));
        originalJpeg_ = std::move(originalJpeg);
        pickedKey_ = this->picture().cacheKey();
    }
    // Any other picture (the Cover Manipulator's result, a scan): the file's bytes are let go.
    void setPicture(QImage picture) {
        originalJpeg_.clear();
        StretchedPicture::setPicture(std::move(picture));
    }

    // True while the slot holds exactly the picture decoded from a JPEG file whose bytes it kept.
    // The one place that decides whether a print job may carry the file instead of the pixels.
    bool isUneditedOriginal() const { return !originalJpeg_.isEmpty() && picture().cacheKey() == pickedKey_; }
    // The kept file bytes while the picture is the unedited original; empty otherwise.
    QByteArray uneditedOriginalJpeg() const { return isUneditedOriginal() ? originalJpeg_ : QByteArray(); }

private:
    QByteArray originalJpeg_;
    qint64 pickedKey_ = 0;
};

} // namespace kavi
