// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture_slot.h"

#include "covers/cover_kinds.h"
#include "covers/picture_fit.h"
#include "covers/safe_area.h"

#include <QPainter>

namespace kavi {

namespace {

// Room around the cover for the selection frame.
constexpr double kMargin = 4;

QRectF rectOf(const FitBox& box) { return {box.left, box.top, box.width, box.height}; }

} // namespace

PictureSlot::PictureSlot(const QString& name, const CoverKind& kind, CoverDocument& document, QWidget* parent)
    : StretchedPicture(parent), document_(&document), kind_(kind.number), coverWidth_(kind.printSize.width.twips()),
      coverHeight_(kind.printSize.height.twips()) {
    setObjectName(name);
    setToolTip(QStringLiteral("Cover image."));
    listener_ = document_->addListener([this](std::optional<Kind> changed, CoverDocument::What what) {
        if (changed == kind_) documentChanged(what);
    });
    showDocumentPicture();
    layOutText();
}

PictureSlot::PictureSlot(const QString& name, const CoverKind& kind, QWidget* parent)
    : PictureSlot(name, kind, *new CoverDocument, parent) {
    ownDocument_.reset(document_);
}

PictureSlot::~PictureSlot() { document_->removeListener(listener_); }

void PictureSlot::documentChanged(CoverDocument::What what) {
    switch (what) {
    case CoverDocument::What::Picture: showDocumentPicture(); break;
    case CoverDocument::What::PictureDecoded:
        // Decoded for someone else (a print): the slot takes the same pixels. While the slot itself
        // is decoding it is no longer waiting for them.
        if (isPictureUndecoded()) showDocumentPicture();
        break;
    case CoverDocument::What::PictureDamaged:
        if (isPictureUndecoded()) showDocumentPicture();
        emit pictureDamaged();
        break;
    case CoverDocument::What::Fit: layoutChanged(); break;
    case CoverDocument::What::Text:
        layOutText();
        update();
        break;
    case CoverDocument::What::Design: showDocumentDesign(); break;
    default: break;
    }
}

// The slot shares the document's pixels; an undecoded picture is decoded by the document when the
// slot first needs it.
void PictureSlot::showDocumentPicture() {
    const CoverPicture& picture = document_->picture(kind_);
    if (picture.isUndecoded()) {
        setUndecodedPicture(picture.size(),
                            [document = document_, kind = kind_]() -> QImage { return document->pixels(kind); });
    } else {
        StretchedPicture::setPicture(picture.pixels());
    }
}

void PictureSlot::setBottomBand(int pixels) {
    bottomBand_ = pixels;
    layoutChanged();
}

StretchedPicture::Layout PictureSlot::layoutFor(QSize area, QSize picture) const {
    const FitBox room{kMargin, kMargin, std::max(0.0, area.width() - 2 * kMargin),
                      std::max(0.0, area.height() - bottomBand_ - 2 * kMargin)};
    // The cover in its real proportions is the largest such rectangle that fits the room.
    const FitBox cover = fittedBox(room, coverWidth_, coverHeight_, FitMode::Fit);
    // The cover painter draws the picture of a cover with a design, under and over the rest of it.
    if (!designed_.design.isPlain()) return {rectOf(cover), QRectF(), QRectF()};
    const VisiblePart part = visiblePart(cover, picture.width(), picture.height(), fitMode());
    return {rectOf(cover), rectOf(part.target), rectOf(part.source)};
}

// The text is laid out once per change, in points on the cover; painting scales the same outlines
// every output fills to the cover's place on the screen.
void PictureSlot::layOutText() {
    const CoverText& text = document_->text(kind_);
    textOutlines_ = text.hasText() ? coverTextOutlines(kind_.number(), text) : CoverTextOutlines{};
}

// The cover's design as the document holds it; its further pictures are decoded only when the design
// shows something.
void PictureSlot::showDocumentDesign() {
    const CoverDesign& design = document_->design(kind_);
    std::vector<DesignPicture> pictures;
    if (!design.isPlain())
        for (std::size_t i = 0; i < document_->designPictureCount(kind_); ++i)
            pictures.push_back(
                {document_->designPixels(kind_, i), document_->designPicture(kind_, i).uneditedOriginalJpeg()});
    setDesign(design, std::move(pictures));
}

void PictureSlot::setDesign(CoverDesign design, std::vector<DesignPicture> pictures) {
    const bool wasPlain = designed_.design.isPlain();
    designed_.design = std::move(design);
    designed_.pictures = std::move(pictures);
    if (wasPlain != designed_.design.isPlain()) layoutChanged();
    update();
}

void PictureSlot::paintSafeLine(QPainter& painter, const QRectF& cover) const {
    const LengthSize size = kind_.row().printSize;
    const LengthRect inside = safeAreaOf(kind_.number(), document_->safeMargin()).inside;
    if (inside.width <= Length() || inside.height <= Length()) return;
    const double across = cover.width() / size.width.points(), down = cover.height() / size.height.points();
    const QRectF line(cover.left() + inside.left.points() * across, cover.top() + inside.top.points() * down,
                      inside.width.points() * across, inside.height.points() * down);
    painter.setPen(QPen(QColor(0, 150, 110, 200), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(line);
}

void PictureSlot::paintEvent(QPaintEvent* event) {
    StretchedPicture::paintEvent(event);
    const QRectF cover = coverRect();
    if (!designed_.design.isPlain() && !cover.isEmpty()) {
        // The document's current picture, fit and text; copied only when they changed.
        designed_.kind = kind_.number();
        designed_.picture = picture();
        designed_.fit = fitMode();
        if (designed_.text != document_->text(kind_)) designed_.text = document_->text(kind_);
        QPainter painter(this);
        paintCover(painter, cover, designed_, &designCache_);
        paintSafeLine(painter, cover);
        return;
    }
    if (textOutlines_.fills.empty() || cover.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRect(cover); // the text is cut off at the cover's edge, as it prints
    painter.translate(cover.topLeft());
    const LengthSize size = kind_.row().printSize;
    painter.scale(cover.width() / size.width.points(), cover.height() / size.height.points());
    paintTextOutlines(painter, textOutlines_);
}

} // namespace kavi
