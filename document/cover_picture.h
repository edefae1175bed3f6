// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cover's picture in the open covers. It is one of: none; an entry of an opened cover set, kept
// as stored and decoded when its pixels are first asked for; a picked file's picture, with the
// file's bytes when it is a JPEG file; or pixels made in Kavi (an edit, a scan). The pixels are kept
// as 32 bits a pixel (with transparency where the picture has any), the form printing, saving and
// the filters work on. While the picture is unchanged, a saved set keeps the entry or the JPEG file
// as it is and a print job may carry the JPEG file instead of the pixels.
#include "coverset/cover_set_picture.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <vector>

namespace kavi {

class CoverPicture {
public:
    // A picture decoded from a file, with the file's JPEG bytes when a PDF can carry them as they
    // are (empty otherwise).
    void setPicked(QImage picture, QByteArray originalJpeg);
    // Any other picture (an edit, a scan): the file's bytes are let go. Pixels equal to the opened
    // entry's decoded pixels keep the entry, which a saved set then writes as it was stored.
    void setPixels(QImage picture);
    // A picture from an opened cover set, decoded when first needed. A JPEG entry counts as a picked
    // picture with its file's bytes.
    void setOpened(const CoverSetPicture& picture);

    // The pixels: null while the picture is undecoded (the document decodes it, CoverDocument::pixels)
    // and when its bytes did not decode.
    const QImage& pixels() const { return pixels_; }
    bool hasPicture() const { return undecoded_ || !pixels_.isNull(); }
    bool isUndecoded() const { return undecoded_; }
    // The picture's size in pixels, without decoding it.
    QSize size() const { return undecoded_ ? opened_.size() : pixels_.size(); }

    // The picture as a cover set saves it: the opened entry or kept JPEG file while the picture is
    // unchanged, else its pixels. Decodes nothing.
    CoverSetPicture coverSetPicture() const;
    // True while the picture is exactly the one decoded from a JPEG file whose bytes are kept: the
    // one place that decides whether a print job may carry the file instead of the pixels.
    bool isUneditedOriginal() const;
    // The kept file bytes while the picture is the unedited original; empty otherwise.
    QByteArray uneditedOriginalJpeg() const { return isUneditedOriginal() ? originalJpeg_ : QByteArray(); }

    // The picture as an undo history keeps it: one that encoded bytes give back exactly (an unedited
    // picked JPEG, an unchanged entry of an opened set) as those bytes alone, in an entry of its own
    // that is decoded only where it is restored; any other picture as it is, its pixels shared.
    CoverPicture forUndo() const;
    // Whether both show the same picture: the same encoded bytes, or the same pixels (not copies).
    bool showsSameAs(const CoverPicture& other) const;

private:
    friend class CoverDocument;
    // Decodes an undecoded picture now, once; true when its bytes did not decode.
    bool decode() const;

    // Decoding fills in what the picture already stood for, so it happens behind const.
    mutable QImage pixels_;
    mutable bool undecoded_ = false;
    mutable QByteArray originalJpeg_;
    mutable qint64 pickedKey_ = 0;
    CoverSetPicture opened_; // the entry the picture was opened from
    mutable qint64 openedKey_ = 0; // the opened picture's pixels, once decoded
};

// Whether two lists show the same pictures in the same order.
bool showSamePictures(const std::vector<CoverPicture>& a, const std::vector<CoverPicture>& b);

} // namespace kavi
