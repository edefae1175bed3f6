// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's picture slot: a view of one kind's cover in the cover document. It shows the slot's
// name, and the cover drawn in the kind's real proportions, centred in the slot's frame above the
// band of the fit control, with the document's picture placed on it by the cover's fit mode and the
// cover's text over it, as it prints; a cover with a design shows it too, with the safe margin's
// dashed line (never printed). A click anywhere in the frame selects the
// slot. The picture, fit and text are the document's: the slot keeps no copy of them, and its setters are edits sent to
// the document. A picture the document holds undecoded is decoded when the slot is first painted.
#include "document/cover_document.h"
#include "output/print/cover_painter.h"
#include "platform/desktop/stretched_picture.h"
#include "render/cover_text_layout.h"

#include <QByteArray>

#include <memory>
#include <vector>

namespace kavi {

struct CoverKind;

class PictureSlot final : public StretchedPicture {
    Q_OBJECT
public:
    // A slot showing `kind` of `document`, which outlives it.
    PictureSlot(const QString& name, const CoverKind& kind, CoverDocument& document, QWidget* parent = nullptr);
    // A slot with a document of its own (for a slot outside the main window).
    PictureSlot(const QString& name, const CoverKind& kind, QWidget* parent = nullptr);
    ~PictureSlot() override;

    FitMode fitMode() const { return document_->fitMode(kind_); }
    // The height kept free at the bottom of the frame for the fit control, in pixels.
    void setBottomBand(int pixels);
    // Where the cover lies in the slot, in the slot's pixels.
    QRectF coverRect() const { return currentLayout().paper; }

    // A picture as decoded from a file, with the file's JPEG bytes when a PDF can carry them as
    // they are (empty otherwise).
    void setPickedPicture(QImage picture, QByteArray originalJpeg) {
        document_->setPickedPicture(kind_, std::move(picture), std::move(originalJpeg));
    }
    // Any other picture (the Cover Manipulator's result, a scan): the file's bytes are let go. Shown
    // as it is, without counting as unsaved work (the Manipulator's Accept marks that).
    void setPicture(QImage picture) { document_->setPicture(kind_, std::move(picture), CoverDocument::Unsaved::Keep); }
    // The picture as a cover set saves it (see CoverPicture). Decodes nothing.
    CoverSetPicture coverSetPicture() const { return document_->picture(kind_).coverSetPicture(); }
    bool isUneditedOriginal() const { return document_->picture(kind_).isUneditedOriginal(); }
    QByteArray uneditedOriginalJpeg() const { return document_->picture(kind_).uneditedOriginalJpeg(); }

    // The cover's design (background, further pictures, track lists, end strips) and its further
    // pictures, as the slot shows them: it follows the document's design of its cover. A cover with
    // a design is painted whole by the cover painter, as it prints.
    void setDesign(CoverDesign design, std::vector<DesignPicture> pictures);
    const CoverDesign& design() const { return designed_.design; }

signals:
    // The opened picture's stored bytes did not decode when it was first needed.
    void pictureDamaged();

protected:
    Layout layoutFor(QSize area, QSize picture) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void documentChanged(CoverDocument::What what);
    void showDocumentDesign();
    void showDocumentPicture();
    void layOutText();
    // The safe margin's dashed line, inset by the document's margin: on screen only, never printed.
    void paintSafeLine(QPainter& painter, const QRectF& cover) const;
    std::unique_ptr<CoverDocument> ownDocument_; // only for a slot with a document of its own
    CoverDocument* document_;
    Kind kind_;
    int listener_ = 0;
    double coverWidth_, coverHeight_; // the cover's real size, in any one unit
    int bottomBand_ = 0;
    CoverTextOutlines textOutlines_; // in points on the cover
    CoverToPaint designed_; // the cover as the cover painter shows it, when its design is not plain
    CoverPaintCache designCache_; // the cover with its design, composed at the size it shows
};

} // namespace kavi
