// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/playlists/m3u_playlist.h"

#include "formats/playlists/text_encoding.h"

#include <cmath>
#include <cstdlib>

namespace kavi {

namespace {

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// "scheme:" in front, as an address has it ("http://", "rtsp://"); a Windows drive ("C:") is not.
bool isAddress(const std::string& location) {
    const std::size_t colon = location.find("://");
    if (colon == std::string::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = location[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return false;
    }
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The path with "." and ".." steps and doubled slashes taken out; ".." at the top stays at the top.
std::string normalPath(const std::string& path) {
    std::vector<std::string> steps;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t slash = path.find('/', from);
        if (slash == std::string::npos) slash = path.size();
        const std::string step = path.substr(from, slash - from);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        from = slash + 1;
    }
    std::string out;
    for (const std::string& step : steps) out += "/" + step;
    return out.empty() ? "/" : out;
}

std::string fileNameOf(const std::string& location) {
    const std::size_t slash = location.find_last_of('/');
    std::string name = slash == std::string::npos ? location : location.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

// "#EXTINF:length[ attributes],Artist - Title"
bool readInfo(const std::string& line, PlaylistEntry& entry) {
    const std::string rest = line.substr(8);
    const std::size_t comma = rest.find(',');
    if (comma == std::string::npos) return false;
    const std::string number = rest.substr(0, rest.find_first_of(" \t,"));
    char* end = nullptr;
    const double seconds = std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(seconds)) return false;
    if (seconds >= 0 && seconds < 1e7) entry.seconds = seconds;
    const std::string text = rest.substr(comma + 1);
    const std::size_t dash = text.find(" - ");
    if (dash == std::string::npos) {
        entry.title = cleanTrackText(text);
    } else {
        entry.artist = cleanTrackText(text.substr(0, dash));
        entry.title = cleanTrackText(text.substr(dash + 3));
    }
    entry.hasInfo = true;
    return true;
}

} // namespace

std::string resolvePlaylistPath(const std::string& location, const std::string& folder) {
    if (startsWith(location, "file://")) {
        std::string rest = location.substr(7);
        if (startsWith(rest, "localhost/")) rest = rest.substr(9);
        if (!startsWith(rest, "/")) return {};
        return normalPath(percentDecoded(rest));
    }
    if (isAddress(location)) return {};
    if (startsWith(location, "/")) return normalPath(location);
    return normalPath(folder + "/" + location);
}

Playlist parsePlaylist(std::string_view bytes, const std::string& folder) {
    Playlist playlist;
    if (bytes.size() > kLargestPlaylist) {
        playlist.problems.push_back("the playlist is larger than a playlist can be; it is not read");
        return playlist;
    }
    const std::vector<std::string> lines = linesOf(textAsUtf8(bytes));
    PlaylistEntry pending;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        std::string line = cleanTrackText(lines[n]);
        if (line.empty()) continue;
        if (startsWith(line, "#EXTINF:")) {
            if (pending.hasInfo)
                playlist.problems.push_back(where + "two #EXTINF lines in a row; the first is passed over");
            pending = {};
            if (!readInfo(line, pending))
                playlist.problems.push_back(where + "#EXTINF without a length and a comma; passed over");
            continue;
        }
        if (line[0] == '#') continue; // #EXTM3U and other remarks
        if (playlist.entries.size() == kMostTracks) {
            playlist.problems.push_back(where + "more than " + std::to_string(kMostTracks) +
                                        " entries; this one and those after it are left out");
            break;
        }
        PlaylistEntry entry = std::move(pending);
        pending = {};
        if (!isAddress(line))
            for (char& c : line)
                if (c == '\\') c = '/'; // a playlist written on Windows
        entry.location = line;
        entry.path = resolvePlaylistPath(entry.location, folder);
        entry.line = int(n + 1);
        if (!entry.hasInfo)
            entry.title = cleanTrackText(isAddress(entry.location) ? entry.location : fileNameOf(entry.location));
        if (entry.title.empty()) entry.title = cleanTrackText(entry.location);
        playlist.entries.push_back(std::move(entry));
    }
    return playlist;
}

TrackListReading tracksOfPlaylist(const Playlist& playlist) {
    TrackListReading reading;
    reading.problems = playlist.problems;
    for (const PlaylistEntry& entry : playlist.entries) {
        Track track;
        track.title = entry.title;
        track.artist = entry.artist;
        track.seconds = entry.seconds;
        reading.tracks.push_back(std::move(track));
    }
    numberInOrder(reading.tracks);
    return reading;
}

} // namespace kavi
