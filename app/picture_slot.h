// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's picture slot: the slot's name, and its cover drawn in the kind's real proportions,
// centred in the slot's frame above the band of the fit control, with the picture placed on it by
// the cover's fit mode and the cover's text over it, as it prints. A click anywhere in the frame
// selects the slot. A picture picked from a JPEG file keeps the file's bytes beside it, read once
// at the pick, so that a print job can carry the file itself while the slot shows exactly that picture.
#include "cover_set_picture.h"
#include "cover_text.h"
#include "desktop/stretched_picture.h"
#include "fit_mode.h"
#include "imaging/text_overlay.h"

#include <QByteArray>

#include <vector>

namespace kavi {

struct CoverKind;

class PictureSlot final : public StretchedPicture {
    Q_OBJECT
public:
    PictureSlot(const QString& name, const CoverKind& kind, QWidget* parent = nullptr);

    FitMode fitMode() const { return fit_; }
    void setFitMode(FitMode mode);
    // The height kept free at the bottom of the frame for the fit control, in pixels.
    void setBottomBand(int pixels);
    // Where the cover lies in the slot, in the slot's pixels.
    QRectF coverRect() const { return currentLayout().paper; }
    // The text drawn over the picture, as the print draws it.
    void setCoverText(const CoverText& text);

    // A picture as decoded from a file, with the file's JPEG bytes when a PDF can carry them as
    // they are (empty otherwise).
    void setPickedPicture(QImage picture, QByteArray originalJpeg) {
        opened_ = {};
        StretchedPicture::setPicture(std::move(picture));
        originalJpeg_ = std::move(originalJpeg);
        pickedKey_ = this->picture().cacheKey();
    }
    // Any other picture (the Cover Manipulator's result, a scan): the file's bytes are let go.
    void setPicture(QImage picture) {
        originalJpeg_.clear();
        if (picture.isNull() || picture.cacheKey() != openedKey_) opened_ = {};
        StretchedPicture::setPicture(std::move(picture));
    }
    // A picture from an opened cover set, kept as its entry was stored and decoded when first
    // needed (shown, printed, edited, saved as a picture). A JPEG entry counts as a picked picture
    // with its file's bytes. While the picture is unchanged the entry is saved again as it is.
    // An entry that does not decode leaves the slot empty and announces pictureDamaged().
    void setCoverSetPicture(const CoverSetPicture& picture);
    // The picture as a cover set saves it: the opened entry or kept JPEG file while the picture
    // is unchanged, else its pixels. Decodes nothing.
    CoverSetPicture coverSetPicture() const;

    // True while the slot holds exactly the picture decoded from a JPEG file whose bytes it kept.
    // The one place that decides whether a print job may carry the file instead of the pixels.
    bool isUneditedOriginal() const;
    // The kept file bytes while the picture is the unedited original; empty otherwise.
    QByteArray uneditedOriginalJpeg() const { return isUneditedOriginal() ? originalJpeg_ : QByteArray(); }

signals:
    // The opened picture's stored bytes did not decode when it was first needed.
    void pictureDamaged();

protected:
    Layout layoutFor(QSize area, QSize picture) const override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void undecodedPictureDecoded() override;

private:
    void renderText();
    int kind_; // 1..10
    double coverWidth_, coverHeight_; // the cover's real size, in any one unit
    FitMode fit_ = FitMode::Stretch;
    int bottomBand_ = 0;
    CoverText text_;
    std::vector<TextOverlay> overlays_; // at the cover's size on the screen
    QByteArray originalJpeg_;
    qint64 pickedKey_ = 0;
    CoverSetPicture opened_; // the entry the picture was opened from
    qint64 openedKey_ = 0; // the opened picture's pixels, once decoded
};

} // namespace kavi
