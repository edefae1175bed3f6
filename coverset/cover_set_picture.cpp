// SPDX-License-Identifier: GPL-3.0-or-later
#include "coverset/cover_set_picture.h"

#include "platform/imaging/picture_loader.h"

#include <QBuffer>
#include <QImageReader>

#include <mutex>

namespace kavi {

struct CoverSetPicture::State {
    QByteArray encoded;
    Encoding encoding = Encoding::None;
    QSize size;
    bool alpha = false;
    std::once_flag decodeOnce;
    QImage pixels;
    bool failed = false;
};

namespace {

const QByteArray kNoBytes;

QImage decodePng(const QByteArray& bytes, QSize size, bool alpha) {
    QByteArray view = QByteArray::fromRawData(bytes.constData(), bytes.size());
    QBuffer buffer(&view);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    // The size was checked against the set's limits when the entry was read.
    const qint64 megabytes = (qint64(size.width()) * size.height() * 4 >> 20) + 1;
    QImageReader::setAllocationLimit(int(std::min<qint64>(megabytes, 1 << 20)));
    QImage picture = reader.read();
    if (picture.isNull() || picture.size() != size) return {};
    const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (picture.format() != format) picture.convertTo(format);
    return picture;
}

} // namespace

CoverSetPicture::CoverSetPicture(QImage pixels) {
    if (pixels.isNull()) return;
    state_ = std::make_shared<State>();
    state_->size = pixels.size();
    state_->alpha = pixels.hasAlphaChannel();
    state_->pixels = std::move(pixels);
    std::call_once(state_->decodeOnce, [] {});
}

CoverSetPicture CoverSetPicture::ofJpegFile(QByteArray jpeg, QImage decoded) {
    CoverSetPicture picture;
    if (jpeg.isEmpty()) return picture;
    picture.state_ = std::make_shared<State>();
    State& s = *picture.state_;
    s.encoded = std::move(jpeg);
    s.encoding = Encoding::Jpeg;
    if (!decoded.isNull()) {
        s.size = decoded.size();
        s.pixels = std::move(decoded);
        std::call_once(s.decodeOnce, [] {});
    } else {
        s.size = picture.image().size();
    }
    return picture;
}

CoverSetPicture CoverSetPicture::ofEntry(QByteArray bytes, Encoding encoding, QSize size, bool alpha) {
    CoverSetPicture picture;
    picture.state_ = std::make_shared<State>();
    State& s = *picture.state_;
    s.encoded = std::move(bytes);
    s.encoding = encoding;
    s.size = size;
    s.alpha = alpha;
    return picture;
}

QSize CoverSetPicture::size() const { return state_ ? state_->size : QSize(); }
const QByteArray& CoverSetPicture::encoded() const { return state_ ? state_->encoded : kNoBytes; }
CoverSetPicture::Encoding CoverSetPicture::encoding() const { return state_ ? state_->encoding : Encoding::None; }
bool CoverSetPicture::hasAlpha() const { return state_ && state_->alpha; }

QImage CoverSetPicture::image() const {
    if (!state_) return {};
    State& s = *state_;
    std::call_once(s.decodeOnce, [&s] {
        if (s.encoding == Encoding::Jpeg) {
            s.pixels = loadJpegData(s.encoded).picture;
            if (s.size.isValid() && s.pixels.size() != s.size) s.pixels = QImage();
        } else if (s.encoding == Encoding::Png) {
            s.pixels = decodePng(s.encoded, s.size, s.alpha);
        }
        s.failed = s.pixels.isNull();
    });
    return s.pixels;
}

bool CoverSetPicture::isDecoded() const { return state_ && !state_->pixels.isNull(); }
bool CoverSetPicture::decodeFailed() const { return state_ && state_->failed; }

} // namespace kavi
