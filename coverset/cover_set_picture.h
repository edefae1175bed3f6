// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's picture in a cover set. Either pixels (a picture made or edited in Kavi, written as a
// PNG when saved) or the bytes of an encoded picture: a JPEG file as it was picked, or a picture
// entry as it was read from a set. Encoded bytes are saved again as they are, and decoded only when
// the pixels are first asked for; copies share the bytes and the decoded pixels.
#include <QByteArray>
#include <QImage>

#include <memory>

namespace kavi {

class CoverSetPicture {
public:
    enum class Encoding { None, Jpeg, Png };

    CoverSetPicture() = default; // no picture
    CoverSetPicture(QImage pixels); // NOLINT: a picture of pixels converts silently
    // A picked JPEG file's bytes, and the picture decoded from them when it is at hand.
    static CoverSetPicture ofJpegFile(QByteArray jpeg, QImage decoded = {});
    // An entry read from a set whose header was checked: width x height pixels, with alpha or not.
    static CoverSetPicture ofEntry(QByteArray bytes, Encoding encoding, QSize size, bool alpha);

    bool isNull() const { return !state_; }
    QSize size() const;
    // The bytes that are saved as the picture's entry; empty for pixels, which are encoded then.
    const QByteArray& encoded() const;
    Encoding encoding() const;
    // Whether the picture has transparent or half-transparent pixels (a PNG with alpha).
    bool hasAlpha() const;

    // The pixels, decoded at the first call (Format_RGB32, or Format_ARGB32 with alpha); a null
    // image when there is no picture or its bytes do not decode (decodeFailed() then tells).
    QImage image() const;
    bool isDecoded() const;
    bool decodeFailed() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace kavi
