// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cover_text_canvas.h"

#include "covers/cover_kinds.h"
#include "render/cover_text_layout.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kavi {

TextBox& textBoxOf(CoverText& text, int ref) {
    if (ref == kSubtitleRef) return text.subtitle;
    if (ref == kSpineRef) return text.spine;
    if (ref >= kFirstBoxRef && std::size_t(ref - kFirstBoxRef) < text.boxes.size())
        return text.boxes[std::size_t(ref - kFirstBoxRef)];
    return text.title;
}

namespace {

// Room around the cover, so the outline of a text that runs past its edge shows.
constexpr double kRoom = 20;
// Overhangs smaller than this are lost in the cutting anyway.
constexpr Length kSmallestOverhang = Length::fromMillimetres(0.05);
const QColor kOverhangColour(220, 30, 30);

} // namespace

CoverTextCanvas::CoverTextCanvas(int kind, QImage picture, FitMode fit, CoverText& text, QWidget* parent)
    : QWidget(parent), kind_(kind), picture_(std::move(picture)), fit_(fit), text_(text) {
    setObjectName(QStringLiteral("picCoverText"));
    setMinimumSize(520, 360);
    setMouseTracking(false);
    setToolTip(QStringLiteral("Drag a text to move it."));
    refreshView();
}

void CoverTextCanvas::textChanged() {
    refreshView();
    update();
}

void CoverTextCanvas::refreshView() {
    const LengthSize size = coverKind(kind_).printSize;
    Length left, top, right = size.width, bottom = size.height;
    for (const TextOverhang& o : overhangs()) {
        left = std::min(left, o.ink.left);
        top = std::min(top, o.ink.top);
        right = std::max(right, o.ink.right());
        bottom = std::max(bottom, o.ink.bottom());
    }
    view_ = {left, top, right - left, bottom - top};
}

QRectF CoverTextCanvas::coverArea() const {
    const LengthSize size = coverKind(kind_).printSize;
    const QRectF room = QRectF(rect()).adjusted(kRoom, kRoom, -kRoom, -kRoom);
    const double scale = std::min(room.width() / view_.width.inches(), room.height() / view_.height.inches());
    const QPointF viewCorner =
        room.center() - QPointF(view_.width.inches() * scale / 2, view_.height.inches() * scale / 2);
    return {viewCorner.x() - view_.left.inches() * scale, viewCorner.y() - view_.top.inches() * scale,
            size.width.inches() * scale, size.height.inches() * scale};
}

LengthPoint CoverTextCanvas::coverPointAt(QPointF position) const {
    const QRectF area = coverArea();
    const LengthSize size = coverKind(kind_).printSize;
    return {size.width * ((position.x() - area.left()) / area.width()),
            size.height * ((position.y() - area.top()) / area.height())};
}

QPointF CoverTextCanvas::positionOf(LengthPoint p) const {
    const QRectF area = coverArea();
    const LengthSize size = coverKind(kind_).printSize;
    return {area.left() + area.width() * (p.x / size.width), area.top() + area.height() * (p.y / size.height)};
}

std::optional<PlacedText> CoverTextCanvas::placedOf(int ref) const {
    // The one text alone, placed as every output places it.
    CoverText copy = text_;
    CoverText alone;
    if (ref >= kFirstBoxRef) alone.boxes = {textBoxOf(copy, ref)};
    else textBoxOf(alone, ref) = textBoxOf(copy, ref);
    const std::vector<PlacedText> placed = placeCoverText(kind_, alone);
    if (placed.empty()) return std::nullopt;
    return placed.front();
}

std::optional<int> CoverTextCanvas::textAt(QPointF position) const {
    const LengthPoint p = coverPointAt(position);
    const int last = kFirstBoxRef + int(text_.boxes.size()) - 1;
    for (int ref = last; ref >= kTitleRef; --ref) { // the last drawn lies on top
        const std::optional<PlacedText> placed = placedOf(ref);
        if (!placed) continue;
        const LengthRect box = measuredTextBox(*placed);
        if (p.x >= box.left && p.x <= box.right() && p.y >= box.top && p.y <= box.bottom()) return ref;
    }
    return std::nullopt;
}

std::vector<TextOverhang> CoverTextCanvas::overhangs() const {
    std::vector<TextOverhang> found;
    const LengthSize size = coverKind(kind_).printSize;
    const int last = kFirstBoxRef + int(text_.boxes.size()) - 1;
    for (int ref = kTitleRef; ref <= last; ++ref) {
        const std::optional<PlacedText> placed = placedOf(ref);
        if (!placed) continue;
        const LengthRect ink = inkTextBox(*placed);
        const Length by = overhangPastCover(ink, size);
        if (by >= kSmallestOverhang) found.push_back({ref, by, ink});
    }
    return found;
}

void CoverTextCanvas::setSelected(int ref) {
    selected_ = ref;
    update();
}

void CoverTextCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRectF area = coverArea();
    const QRect pixels = area.toAlignedRect();
    painter.drawImage(pixels.topLeft(), pictureWithText(picture_, fit_, pixels.size(), kind_, text_));
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));
    if (hasSpine(kind_)) {
        // The spine's edges, so the user sees where the case folds.
        const LengthSize size = coverKind(kind_).printSize;
        const Length half = spineWidthOf(kind_) / 2;
        painter.setPen(QPen(QColor(128, 128, 128, 160), 1, Qt::DashLine));
        for (Length x : {size.width / 2 - half, size.width / 2 + half})
            painter.drawLine(positionOf({x, Length()}), positionOf({x, size.height}));
    }
    if (const std::optional<PlacedText> placed = placedOf(selected_)) {
        const LengthRect box = measuredTextBox(*placed);
        painter.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(positionOf({box.left, box.top}), positionOf({box.right(), box.bottom()})));
    }
    // What the cutting takes off: the whole ink of each text that runs past the edge, in red.
    painter.setPen(QPen(kOverhangColour, 2));
    painter.setBrush(Qt::NoBrush);
    for (const TextOverhang& o : overhangs())
        painter.drawRect(QRectF(positionOf({o.ink.left, o.ink.top}), positionOf({o.ink.right(), o.ink.bottom()}))
                             .adjusted(-2, -2, 2, 2));
}

void CoverTextCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const std::optional<int> ref = textAt(event->position());
    if (!ref) return;
    setSelected(*ref);
    emit picked(*ref);
    dragFrom_ = event->position();
    anchorAtPress_ = textBoxOf(text_, *ref).anchor;
}

void CoverTextCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) return;
    const LengthPoint from = coverPointAt(*dragFrom_), to = coverPointAt(event->position());
    const LengthSize size = coverKind(kind_).printSize;
    TextBox& box = textBoxOf(text_, selected_);
    LengthPoint anchor{anchorAtPress_.x + (to.x - from.x), anchorAtPress_.y + (to.y - from.y)};
    // A text stays on its cover; the spine text keeps to the spine's middle.
    anchor.x = std::clamp(anchor.x, Length(), size.width);
    anchor.y = std::clamp(anchor.y, Length(), size.height);
    if (selected_ == kSpineRef) anchor.x = anchorAtPress_.x;
    box.anchor = anchor;
    update();
    emit moved();
}

void CoverTextCanvas::mouseReleaseEvent(QMouseEvent*) {
    if (!dragFrom_) return;
    dragFrom_.reset();
    refreshView();
    update();
}

} // namespace kavi
