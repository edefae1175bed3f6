// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cover_text_canvas.h"

#include "covers/cover_kinds.h"
#include "covers/safe_area.h"
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
const QColor kSelectionColour(0, 120, 215);
// A corner handle's half width, in pixels, and the smallest box a resize leaves.
constexpr double kHandle = 5;
constexpr Length kSmallestBox = Length::fromMillimetres(2);

bool contains(const LengthRect& box, LengthPoint p) {
    return p.x >= box.left && p.x <= box.right() && p.y >= box.top && p.y <= box.bottom();
}

LengthRect unite(const LengthRect& a, const LengthRect& b) {
    if (a.width <= Length() || a.height <= Length()) return b;
    const Length left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

} // namespace

CoverTextCanvas::CoverTextCanvas(LayoutCover& cover, QWidget* parent) : QWidget(parent), cover_(cover) {
    setObjectName(QStringLiteral("picCoverText"));
    setMinimumSize(520, 360);
    setMouseTracking(false);
    setToolTip(QStringLiteral("Drag a text or picture to move it, or a corner of a picture's box to resize it."));
    refreshView();
}

void CoverTextCanvas::textChanged() {
    refreshView();
    update();
}

void CoverTextCanvas::refreshView() {
    const LengthSize size = coverKind(cover_.kind).printSize;
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
    const LengthSize size = coverKind(cover_.kind).printSize;
    const QRectF room = QRectF(rect()).adjusted(kRoom, kRoom, -kRoom, -kRoom);
    const double scale = std::min(room.width() / view_.width.inches(), room.height() / view_.height.inches());
    const QPointF viewCorner =
        room.center() - QPointF(view_.width.inches() * scale / 2, view_.height.inches() * scale / 2);
    return {viewCorner.x() - view_.left.inches() * scale, viewCorner.y() - view_.top.inches() * scale,
            size.width.inches() * scale, size.height.inches() * scale};
}

LengthPoint CoverTextCanvas::coverPointAt(QPointF position) const {
    const QRectF area = coverArea();
    const LengthSize size = coverKind(cover_.kind).printSize;
    return {size.width * ((position.x() - area.left()) / area.width()),
            size.height * ((position.y() - area.top()) / area.height())};
}

QPointF CoverTextCanvas::positionOf(LengthPoint p) const {
    const QRectF area = coverArea();
    const LengthSize size = coverKind(cover_.kind).printSize;
    return {area.left() + area.width() * (p.x / size.width), area.top() + area.height() * (p.y / size.height)};
}

std::optional<PlacedText> CoverTextCanvas::placedOf(int ref) const {
    // The one text alone, placed as every output places it.
    CoverText copy = cover_.text;
    CoverText alone;
    if (ref >= kFirstBoxRef) alone.boxes = {textBoxOf(copy, ref)};
    else textBoxOf(alone, ref) = textBoxOf(copy, ref);
    const std::vector<PlacedText> placed = placeCoverText(cover_.kind, alone);
    if (placed.empty()) return std::nullopt;
    return placed.front();
}

std::optional<int> CoverTextCanvas::textAt(QPointF position) const {
    const LengthPoint p = coverPointAt(position);
    const int last = kFirstBoxRef + int(cover_.text.boxes.size()) - 1;
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
    const LengthSize size = coverKind(cover_.kind).printSize;
    const int last = kFirstBoxRef + int(cover_.text.boxes.size()) - 1;
    for (int ref = kTitleRef; ref <= last; ++ref) {
        const std::optional<PlacedText> placed = placedOf(ref);
        if (!placed) continue;
        const LengthRect ink = inkTextBox(*placed);
        const Length by = overhangPastCover(ink, size);
        if (by >= kSmallestOverhang) found.push_back({ref, by, ink});
    }
    return found;
}

std::vector<SafeAreaMark> CoverTextCanvas::safeAreaMarks() const {
    std::vector<SafeAreaMark> found;
    const LengthSize size = coverKind(cover_.kind).printSize;
    const SafeArea area = safeAreaOf(cover_.kind, cover_.safeMargin);
    const int last = kFirstBoxRef + int(cover_.text.boxes.size()) - 1;
    for (int ref = kTitleRef; ref <= last; ++ref) {
        const std::optional<PlacedText> placed = placedOf(ref);
        if (!placed) continue;
        const LengthRect ink = inkTextBox(*placed);
        if (overhangPastCover(ink, size) >= kSmallestOverhang) continue; // marked as an overhang
        // The spine text lies between the folds by its nature; only its ends can reach the margin.
        SafeAreaCrossing crossing = safeAreaCrossing(area, ink);
        if (ref == kSpineRef) crossing.acrossFold = Length();
        if (crossing.crosses()) found.push_back({ref, std::nullopt, crossing, ink});
    }
    for (std::size_t i = 0; i < cover_.design.layers.size(); ++i) {
        const CoverLayer& layer = cover_.design.layers[i];
        if (layer.type != LayerType::TrackList || layer.tracks.empty()) continue;
        LengthRect ink;
        for (const PlacedTrackLine& line : fitTrackListLayer(layer).placed) ink = unite(ink, line.rect);
        const SafeAreaCrossing crossing = safeAreaCrossing(area, ink);
        if (crossing.crosses()) found.push_back({std::nullopt, i, crossing, ink});
    }
    return found;
}

std::optional<LayoutHit> CoverTextCanvas::hitAt(QPointF position) const {
    const LengthPoint p = coverPointAt(position);
    const std::vector<CoverLayer>& layers = cover_.design.layers;
    const bool textsLayer = std::any_of(layers.begin(), layers.end(),
                                        [](const CoverLayer& layer) { return layer.type == LayerType::Texts; });
    if (!textsLayer) // the texts lie over every layer
        if (const std::optional<int> ref = textAt(position)) return LayoutHit{std::nullopt, ref};
    for (std::size_t i = layers.size(); i-- > 0;) {
        if (layers[i].type == LayerType::Texts) {
            if (const std::optional<int> ref = textAt(position)) return LayoutHit{i, ref};
        } else if (contains(layers[i].box, p)) {
            return LayoutHit{i, std::nullopt};
        }
    }
    return std::nullopt;
}

void CoverTextCanvas::setSelected(int ref) {
    selected_ = ref;
    selectedLayer_.reset();
    update();
}

void CoverTextCanvas::setSelectedLayer(std::optional<std::size_t> layer) {
    const std::vector<CoverLayer>& layers = cover_.design.layers;
    if (layer && (*layer >= layers.size() || layers[*layer].type == LayerType::Texts)) layer.reset();
    selectedLayer_ = layer;
    update();
}

QRectF CoverTextCanvas::areaOf(const LengthRect& r) const {
    return QRectF(positionOf({r.left, r.top}), positionOf({r.right(), r.bottom()}));
}

std::optional<int> CoverTextCanvas::cornerAt(QPointF position) const {
    if (!selectedLayer_) return std::nullopt;
    const QRectF box = areaOf(cover_.design.layers[*selectedLayer_].box);
    const QPointF corners[] = {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()};
    for (int c = 0; c < 4; ++c)
        if (std::abs(position.x() - corners[c].x()) <= kHandle + 1 &&
            std::abs(position.y() - corners[c].y()) <= kHandle + 1)
            return c;
    return std::nullopt;
}

void CoverTextCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRectF area = coverArea();
    const QRect pixels = area.toAlignedRect();
    painter.drawImage(pixels.topLeft(), paintLayoutCover(cover_, pixels.size()));
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));
    const LengthSize size = coverKind(cover_.kind).printSize;
    // The spine's edges, so the user sees where the case folds.
    painter.setPen(QPen(QColor(128, 128, 128, 160), 1, Qt::DashLine));
    const SafeArea safe = safeAreaOf(cover_.kind, cover_.safeMargin);
    for (Length x : safe.folds) painter.drawLine(positionOf({x, Length()}), positionOf({x, size.height}));
    // The safe margin: text inside it is neither cut nor folded. Shown here only, never printed.
    painter.setPen(QPen(QColor(0, 150, 110, 200), 1, Qt::DashDotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(areaOf(safe.inside));
    painter.setPen(QPen(kSelectionColour, 1, Qt::DashLine));
    if (selectedLayer_) {
        const QRectF box = areaOf(cover_.design.layers[*selectedLayer_].box);
        painter.drawRect(box);
        painter.setPen(QPen(kSelectionColour, 1));
        painter.setBrush(Qt::white);
        for (const QPointF corner : {box.topLeft(), box.topRight(), box.bottomRight(), box.bottomLeft()})
            painter.drawRect(QRectF(corner - QPointF(kHandle, kHandle), QSizeF(2 * kHandle, 2 * kHandle)));
        painter.setBrush(Qt::NoBrush);
    } else if (const std::optional<PlacedText> placed = placedOf(selected_)) {
        const LengthRect box = measuredTextBox(*placed);
        painter.drawRect(areaOf(box));
    }
    // What the cutting takes off: the whole ink of each text that runs past the edge, in red; and
    // what crosses the safe line or a fold.
    painter.setPen(QPen(kOverhangColour, 2));
    painter.setBrush(Qt::NoBrush);
    for (const TextOverhang& o : overhangs()) painter.drawRect(areaOf(o.ink).adjusted(-2, -2, 2, 2));
    for (const SafeAreaMark& m : safeAreaMarks()) painter.drawRect(areaOf(m.ink).adjusted(-2, -2, 2, 2));
}

void CoverTextCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<int> corner = cornerAt(event->position())) {
        cornerAtPress_ = corner;
        dragFrom_ = event->position();
        boxAtPress_ = cover_.design.layers[*selectedLayer_].box;
        return;
    }
    const std::optional<LayoutHit> hit = hitAt(event->position());
    if (!hit) return;
    cornerAtPress_.reset();
    dragFrom_ = event->position();
    if (hit->text) {
        setSelected(*hit->text);
        emit picked(*hit->text);
        anchorAtPress_ = textBoxOf(cover_.text, *hit->text).anchor;
        return;
    }
    setSelectedLayer(hit->layer);
    emit layerPicked(*hit->layer);
    boxAtPress_ = cover_.design.layers[*hit->layer].box;
}

void CoverTextCanvas::dragLayer(QPointF position, bool freeProportions) {
    CoverLayer& layer = cover_.design.layers[*selectedLayer_];
    const LengthPoint from = coverPointAt(*dragFrom_), to = coverPointAt(position);
    const LengthRect& was = boxAtPress_;
    if (!cornerAtPress_) {
        // Moved whole; its middle stays on the cover, so it can always be taken hold of again.
        const LengthSize size = coverKind(cover_.kind).printSize;
        const Length middleX = std::clamp(was.left + was.width / 2 + (to.x - from.x), Length(), size.width);
        const Length middleY = std::clamp(was.top + was.height / 2 + (to.y - from.y), Length(), size.height);
        layer.box.left = middleX - was.width / 2;
        layer.box.top = middleY - was.height / 2;
        return;
    }
    // The opposite corner stays where it is.
    const int corner = *cornerAtPress_;
    const bool right = corner == 1 || corner == 2, bottom = corner == 2 || corner == 3;
    const Length fixedX = right ? was.left : was.right(), fixedY = bottom ? was.top : was.bottom();
    Length width = std::max(right ? to.x - fixedX : fixedX - to.x, kSmallestBox);
    Length height = std::max(bottom ? to.y - fixedY : fixedY - to.y, kSmallestBox);
    if (!freeProportions && was.width > Length() && was.height > Length()) {
        // The side the pointer moved more sets the size.
        const double across = width / was.width, down = height / was.height;
        const double scale = std::abs(across - 1) >= std::abs(down - 1) ? across : down;
        width = std::max(was.width * scale, kSmallestBox);
        height = std::max(was.height * scale, kSmallestBox);
    }
    layer.box = {right ? fixedX : fixedX - width, bottom ? fixedY : fixedY - height, width, height};
}

void CoverTextCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_ || !(event->buttons() & Qt::LeftButton)) return;
    if (selectedLayer_) {
        dragLayer(event->position(), event->modifiers() & Qt::ShiftModifier);
        update();
        emit layerChanged(*selectedLayer_);
        return;
    }
    const LengthPoint from = coverPointAt(*dragFrom_), to = coverPointAt(event->position());
    const LengthSize size = coverKind(cover_.kind).printSize;
    TextBox& box = textBoxOf(cover_.text, selected_);
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
    cornerAtPress_.reset();
    refreshView();
    update();
}

} // namespace kavi
