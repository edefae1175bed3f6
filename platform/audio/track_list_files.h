// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Track lists read from the user's files: a cue sheet, a playlist, or a folder of audio files
// whose tags are read. Whatever cannot be read is named in the problems (with its file, and its
// line where there is one) and left out; what can be read is kept.
#include "covers/track_list.h"

#include <string>

namespace kavi {

// The audio files of the folder (not its sub-folders) ordered by disc and track number from
// their tags, then by file name (files without a number after those with one). Each track has
// the file's title tag, or the file's name without its extension.
TrackListReading readAudioFolder(const std::string& folder);

// A cue sheet's tracks; the last track of each audio file gets its length from the file, when
// the file lies where the sheet says (or beside it with another audio extension).
TrackListReading readCueSheetFile(const std::string& path);

// A playlist's entries; an entry without an #EXTINF line gets its title, artist and length from
// its file's tags, and is left out when its file is missing or cannot be read.
TrackListReading readPlaylistFile(const std::string& path);

// Any of these by what the path is: a folder, a ".cue" file, a playlist (".m3u", ".m3u8") or a
// text file of typed lines (".txt"); anything else gives only a problem.
TrackListReading readTrackListSource(const std::string& path);

} // namespace kavi
