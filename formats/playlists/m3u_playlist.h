// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playlists (.m3u, .m3u8): one file or address a line, with "#EXTINF:length,Artist - Title"
// before an entry in the extended form (#EXTM3U). Paths are resolved against the playlist's own
// folder; addresses (http://...) are kept as they are.
#include "covers/track_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavi {

// The largest playlist read, in bytes.
inline constexpr std::size_t kLargestPlaylist = 4 << 20;

struct PlaylistEntry {
    std::string location; // as written (backslashes turned to slashes)
    std::string path; // the local file it names, absolute; empty for an address
    bool hasInfo = false; // an #EXTINF line came before it
    std::string title, artist; // from #EXTINF; without one, the title is the file's name
    std::optional<double> seconds; // from #EXTINF; empty for -1 or without one
    int line = 0; // where the entry stands, from 1
};

struct Playlist {
    std::vector<PlaylistEntry> entries;
    std::vector<std::string> problems;
};

// Reads a playlist's bytes (UTF-8 with or without a byte-order mark, else the Western code page)
// that lies in `folder` (an absolute path).
Playlist parsePlaylist(std::string_view bytes, const std::string& folder);

// `location` as an absolute path from `folder`: "." and ".." taken out, "file://" addresses
// decoded; empty for any other address.
std::string resolvePlaylistPath(const std::string& location, const std::string& folder);

// The entries as a track list, each with what its #EXTINF line says, or its file's name as title.
TrackListReading tracksOfPlaylist(const Playlist& playlist);

} // namespace kavi
