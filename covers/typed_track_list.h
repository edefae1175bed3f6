// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A track list typed or pasted as text, one track a line: "Title - Artist 3:45", or its fields
// separated by tabs (title, artist, length) as a spreadsheet copies them. A number in front
// ("3. ", "03) " or a first field of digits) is dropped, since the list numbers itself, and a
// length at the end ("m:ss" or "h:mm:ss", bare or in brackets) is recognised.
#include "covers/track_list.h"

#include <string>

namespace kavi {

// The tracks of the text's lines in their order; empty lines are passed over, and a line with no
// title left is named in the problems.
TrackListReading readTypedTrackList(const std::string& text);

} // namespace kavi
