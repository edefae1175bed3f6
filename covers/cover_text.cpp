// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/cover_text.h"

#include "covers/cover_kinds.h"
#include "covers/cut_marks.h"

#include <algorithm>

namespace kavi {

namespace {

// The title sits this far down the cover, the subtitle below it.
constexpr double kTitleDown = 0.14;
constexpr double kSubtitleDown = 0.26;

// The front of the cover, the part a reader sees first: right of the spine, or the whole cover.
struct Front {
    Length left, width;
};

Front frontOf(int kind) {
    const LengthSize size = coverKind(kind).printSize;
    if (!hasSpine(kind)) return {Length(), size.width};
    const Length left = (size.width + spineWidthOf(kind)) / 2;
    return {left, size.width - left};
}

} // namespace

bool CoverText::hasText() const {
    return !title.text.empty() || !subtitle.text.empty() || !spine.text.empty() ||
        std::any_of(boxes.begin(), boxes.end(), [](const TextBox& b) { return !b.text.empty(); });
}

bool hasSpine(int kind) { return kind >= 1 && kind <= kCoverKindCount && spineWidthOf(kind) > Length(); }

Length spineWidthOf(int kind) {
    if (kind < 1 || kind > kCoverKindCount || kind == 3) return Length(); // the CD back folds at its ends
    const std::vector<Length> folds = foldsOf(kind, coverKind(kind).printSize.width);
    return folds.size() == 2 ? folds[1] - folds[0] : Length();
}

CoverText emptyCoverText(int kind) {
    const LengthSize size = coverKind(kind).printSize;
    const Front front = frontOf(kind);
    const Length middle = front.left + front.width / 2;
    CoverText text;
    text.title.anchor = {middle, size.height * kTitleDown};
    text.title.style.sizePoints = 28;
    text.title.style.bold = true;
    text.subtitle.anchor = {middle, size.height * kSubtitleDown};
    text.subtitle.style.sizePoints = 16;
    text.spine.anchor = {size.width / 2, size.height / 2};
    text.spine.style.sizePoints = std::min(14.0, std::max(kSmallestTextPoints, spineWidthOf(kind).points() * 0.55));
    text.spine.style.bold = true;
    return text;
}

LengthPoint newBoxAnchor(int kind) {
    const Front front = frontOf(kind);
    return {front.left + front.width / 2, coverKind(kind).printSize.height / 2};
}

std::vector<PlacedText> placeCoverText(int kind, const CoverText& text) {
    std::vector<PlacedText> placed;
    const auto add = [&placed](const TextBox& box, bool turned) {
        if (!box.text.empty()) placed.push_back({box.text, box.style, box.anchor, turned});
    };
    add(text.title, false);
    add(text.subtitle, false);
    if (hasSpine(kind)) {
        // Across the spine the text is always centred; along it, it stays where it was put.
        PlacedText spine{text.spine.text, text.spine.style, text.spine.anchor, true};
        spine.anchor.x = coverKind(kind).printSize.width / 2;
        if (!spine.text.empty()) placed.push_back(spine);
    }
    for (const TextBox& box : text.boxes) add(box, false);
    return placed;
}

LengthRect textBoxOnCover(const PlacedText& text, LengthSize measured, Length margin) {
    const Length along = measured.width + margin * 2, across = measured.height + margin * 2;
    Length before = margin; // from the box's start to the anchor, along the lines
    if (text.style.align == TextAlign::Centre) before = along / 2;
    if (text.style.align == TextAlign::Right) before = along - margin;
    if (!text.turned) return {text.anchor.x - before, text.anchor.y - across / 2, along, across};
    // A quarter turn clockwise: the lines run down the cover, and the first line is the rightmost.
    return {text.anchor.x - across / 2, text.anchor.y - before, across, along};
}

Length overhangPastCover(const LengthRect& ink, LengthSize cover) {
    if (ink.width <= Length() || ink.height <= Length()) return Length();
    return std::max({Length(), -ink.left, -ink.top, ink.right() - cover.width, ink.bottom() - cover.height});
}

LengthRect coverToSheet(const LengthRect& inCover, LengthSize coverSize, const LengthRect& cover) {
    const double sx = cover.width / coverSize.width, sy = cover.height / coverSize.height;
    return {cover.left + inCover.left * sx, cover.top + inCover.top * sy, inCover.width * sx, inCover.height * sy};
}

} // namespace kavi
