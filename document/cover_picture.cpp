// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/cover_picture.h"

namespace kavi {

namespace {

// Transparent parts stay transparent (not premultiplied); they show the paper when drawn.
void keepAs32Bits(QImage& picture) {
    const QImage::Format kept = picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (!picture.isNull() && picture.format() != kept) picture.convertTo(kept);
}

} // namespace

void CoverPicture::setPicked(QImage picture, QByteArray originalJpeg) {
    opened_ = {};
    openedKey_ = 0;
    undecoded_ = false;
    keepAs32Bits(picture);
    pixels_ = std::move(picture);
    originalJpeg_ = std::move(originalJpeg);
    pickedKey_ = pixels_.cacheKey();
}

void CoverPicture::setPixels(QImage picture) {
    originalJpeg_.clear();
    if (picture.isNull() || picture.cacheKey() != openedKey_) {
        opened_ = {};
        openedKey_ = 0;
    }
    undecoded_ = false;
    keepAs32Bits(picture);
    pixels_ = std::move(picture);
}

void CoverPicture::setOpened(const CoverSetPicture& picture) {
    originalJpeg_ = picture.encoding() == CoverSetPicture::Encoding::Jpeg ? picture.encoded() : QByteArray();
    pickedKey_ = openedKey_ = 0;
    opened_ = picture;
    pixels_ = QImage();
    undecoded_ = false;
    if (picture.isNull()) return;
    if (picture.isDecoded()) {
        pixels_ = picture.image();
        keepAs32Bits(pixels_);
        pickedKey_ = openedKey_ = pixels_.cacheKey();
    } else {
        // Copies of the set's picture share its bytes and, once decoded, its pixels.
        undecoded_ = true;
    }
}

bool CoverPicture::decode() const {
    if (!undecoded_) return false;
    undecoded_ = false;
    pixels_ = opened_.image();
    keepAs32Bits(pixels_);
    if (pixels_.isNull()) {
        // Nothing to show or print; the stored bytes are still saved as they were.
        originalJpeg_.clear();
        return true;
    }
    openedKey_ = pixels_.cacheKey();
    if (!originalJpeg_.isEmpty()) pickedKey_ = openedKey_;
    return false;
}

bool CoverPicture::isUneditedOriginal() const {
    if (originalJpeg_.isEmpty()) return false;
    if (undecoded_) return true;
    return !pixels_.isNull() && pixels_.cacheKey() == pickedKey_;
}

CoverSetPicture CoverPicture::coverSetPicture() const {
    if (!opened_.isNull()) {
        if (undecoded_) return opened_;
        // A picture that did not decode stays as it was stored until another one replaces it.
        if (pixels_.isNull() ? opened_.decodeFailed() : pixels_.cacheKey() == openedKey_) return opened_;
    }
    if (pixels_.isNull()) return {};
    if (isUneditedOriginal()) return CoverSetPicture::ofJpegFile(originalJpeg_, pixels_);
    return pixels_;
}

CoverPicture CoverPicture::forUndo() const {
    const CoverSetPicture saved = coverSetPicture();
    if (saved.encoding() == CoverSetPicture::Encoding::None || saved.decodeFailed()) return *this;
    CoverPicture kept;
    kept.setOpened(CoverSetPicture::ofEntry(saved.encoded(), saved.encoding(), saved.size(), saved.hasAlpha()));
    return kept;
}

bool CoverPicture::showsSameAs(const CoverPicture& other) const {
    const CoverSetPicture mine = coverSetPicture(), theirs = other.coverSetPicture();
    if (mine.isNull() || theirs.isNull()) return mine.isNull() == theirs.isNull();
    if (mine.encoding() != theirs.encoding()) return false;
    if (mine.encoding() == CoverSetPicture::Encoding::None) return mine.image().cacheKey() == theirs.image().cacheKey();
    return mine.encoded() == theirs.encoded();
}

bool showSamePictures(const std::vector<CoverPicture>& a, const std::vector<CoverPicture>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!a[i].showsSameAs(b[i])) return false;
    return true;
}

} // namespace kavi
