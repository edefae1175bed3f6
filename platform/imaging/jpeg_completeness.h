// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells a JPEG whose compressed data stops before its last row from a complete one. A decoder
// fills the rows a cut-off file lacks with grey and reports no more than a warning, so such a
// picture would look loaded with part of it missing.
class QIODevice;

namespace kavi {

// True when the JPEG data in file ends inside a scan, before every row of the picture was coded.
// A file that ends with its end-of-image marker is complete at once; any other (a cut-off file,
// one missing only its end marker, one with bytes after the marker) has its compressed data run
// through the decoder at the smallest scale, so only a scan that really ran out counts. False for
// data that is no JPEG at all: telling that is the picture decoder's task. Reads file from its start.
bool jpegEndsEarly(QIODevice& file);

} // namespace kavi
