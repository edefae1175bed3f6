// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words on a cover: a title, a subtitle and a spine text for each cover, plus free text boxes,
// each with its style and its place in the cover's real-size coordinates (from the cover's top-left
// corner, x to the right, y down). This file decides what is drawn where; measuring and drawing the
// letters belongs to the outputs, which all place the measured text with textBoxOnCover.
#include "covers/length.h"
#include "covers/page_geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavi {

enum class TextAlign { Left, Centre, Right };
// What sets the letters off a busy picture: a line around each letter, or a soft copy behind it.
enum class TextEffect { None, Outline, Shadow };

struct TextStyle {
    std::string family = "DejaVu Sans";
    double sizePoints = 24;
    std::uint32_t colour = 0x000000; // 0xRRGGBB
    bool bold = false;
    bool italic = false;
    TextAlign align = TextAlign::Centre;
    TextEffect effect = TextEffect::None;
    std::uint32_t effectColour = 0xFFFFFF; // of the outline or the shadow
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

struct TextBox {
    std::string text; // UTF-8; '\n' starts a new line
    TextStyle style;
    // The point the text is held to: its left end, middle or right end by the alignment, at the
    // vertical middle of its lines. Turned text is held the same way in its own direction.
    LengthPoint anchor;
    friend bool operator==(const TextBox&, const TextBox&) = default;
};

struct CoverText {
    TextBox title, subtitle, spine;
    std::vector<TextBox> boxes; // free text boxes, drawn after the others in this order
    bool hasText() const;
    friend bool operator==(const CoverText&, const CoverText&) = default;
};

// Limits that keep a text drawable: sizes outside are brought inside when a text is read or edited.
inline constexpr double kSmallestTextPoints = 4;
inline constexpr double kLargestTextPoints = 288;
inline constexpr int kMostTextBoxes = 32;
inline constexpr std::size_t kLongestText = 4000; // bytes of one text

// Whether the kind has a spine that carries text (the wrap-around kinds), and its width.
bool hasSpine(int kind);
Length spineWidthOf(int kind);

// A cover's texts with nothing written yet, each at its usual place: title and subtitle centred at
// the top of the front (the part right of the spine on a wrap-around cover), spine text centred on
// the spine.
CoverText emptyCoverText(int kind);
// The usual place of a new free text box: the middle of the front.
LengthPoint newBoxAnchor(int kind);

// A text as an output draws it: turned text reads from top to bottom (a quarter turn clockwise).
struct PlacedText {
    std::string text;
    TextStyle style;
    LengthPoint anchor; // on the cover
    bool turned = false;
};

// What the kind's cover shows of its texts, in drawing order: empty texts are left out, and the
// spine text only shows on a kind with a spine, centred across it.
std::vector<PlacedText> placeCoverText(int kind, const CoverText& text);

// The box a measured text fills on the cover. `measured` is the text's own box as it reads
// (along its lines, then across them), with `margin` of room on every side for the ink that
// reaches past the letters' advance (italics, outline, shadow).
LengthRect textBoxOnCover(const PlacedText& text, LengthSize measured, Length margin);

// How far a text's ink reaches past the cover's edges: the largest of its overhangs on the four
// sides, zero when the ink lies wholly on the cover. `ink` is the box of the letters as drawn
// (effects included) in the cover's coordinates; every output cuts the text off at the cover's
// edge, so this is the part the user loses.
Length overhangPastCover(const LengthRect& ink, LengthSize cover);

// A rectangle in a cover's coordinates moved onto the sheet, where the cover lies at `cover` (a
// calibrated cover may be a little larger or smaller than its real size).
LengthRect coverToSheet(const LengthRect& inCover, LengthSize coverSize, const LengthRect& cover);

} // namespace kavi
