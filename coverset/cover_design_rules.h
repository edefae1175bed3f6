// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a cover's design may hold, in one place: the cover-set reader refuses a design that breaks
// a rule (naming the rule), the cover document repairs one (an edit never leaves a design that a
// saved set could not hold). The further pictures are counted by whoever holds them.
#include "covers/cover_design.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kavi {

// Whether the kind's cover has end strips: the CD Back's card, folded 6.5 mm in from each end.
constexpr bool hasEndStrips(int kind) { return kind == 3; }

// How far a layer's box may lie from the cover's corner, and how large it may be: past this it is
// a mistake, not a place on a cover.
inline constexpr double kFarthestLayerMillimetres = 1000;

// The highest track number and the longest track a list keeps, and the longest font name of a
// style: past these it is a mistake, not a disc.
inline constexpr int kHighestTrackNumber = 9999;
inline constexpr double kLongestTrackSeconds = 100 * 3600;
inline constexpr std::size_t kLongestFontName = 200;

// Why the design cannot be, for a cover holding `pictureCount` further pictures; empty when it is
// fine. The reason names the layer by its number from 1, e.g. "layer 3 names picture 5, which the
// cover does not hold".
std::string designProblem(const CoverDesign& design, std::size_t pictureCount);

// The design brought within the rules: layers past kMostCoverLayers, a second Texts layer, a
// picture layer naming a picture past `pictureCount` and a layer whose box is not finite, not
// positive or too far are dropped; quarter turns are taken modulo 4, an opacity is brought into
// 0..1 (1 when not a number), a gradient's angle goes to the nearest multiple of 45 in 0..315,
// colours to 24 bits, text sizes into the text limits, tracks past kMostTracks and texts past
// their lengths are cut (invalid UTF-8 replaced first), track numbers brought into 0 to
// kHighestTrackNumber and lengths that cannot be forgotten. `repaired` tells whether anything
// changed that a layer shows; what its type does not use (a texts layer's box, a picture layer's
// tracks) goes back to its usual value without counting. Whatever it gives, a cover set writes and reads back the same.
CoverDesign repairedDesign(CoverDesign design, std::size_t pictureCount, bool& repaired);

// Renumbers the picture layers so that they name only the pictures some layer uses, numbered in
// the order the layers first name them (the order a cover set stores them in); gives the old
// index of each picture kept, in the new order.
std::vector<std::size_t> keepUsedPictures(CoverDesign& design, std::size_t pictureCount);

} // namespace kavi
