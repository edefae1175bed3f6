// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/typed_track_list.h"

#include <cstddef>
#include <vector>

namespace kavi {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

// A length at the end of the line, bare or in brackets, after a space; taken off the line.
std::optional<double> takeTrailingLength(std::string& line) {
    const std::size_t space = line.find_last_of(' ');
    std::string last = line.substr(space == std::string::npos ? 0 : space + 1);
    if (last.size() >= 2 &&
        ((last.front() == '(' && last.back() == ')') || (last.front() == '[' && last.back() == ']')))
        last = last.substr(1, last.size() - 2);
    const std::optional<double> seconds = parseLength(last);
    if (!seconds) return std::nullopt;
    line.resize(space == std::string::npos ? 0 : space);
    line = cleanTrackText(line);
    // "Title - Artist - 3:45" leaves a dash behind.
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, " -") == 0)
        line = cleanTrackText(line.substr(0, line.size() - 1));
    if (line == "-") line.clear();
    return seconds;
}

// "3. ", "03) " or "03 - " in front of the title: a number the list does not need. Three digits
// and a dash are a number only when another dash follows ("100 - Artist" is a title).
void dropLeadingNumber(std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && i < 3 && isDigit(line[i])) ++i;
    if (i == 0 || i >= line.size()) return;
    if ((line[i] == '.' || line[i] == ')') && i + 1 < line.size() && line[i + 1] == ' ')
        line = cleanTrackText(line.substr(i + 1));
    else if (line.compare(i, 3, " - ") == 0 && (i <= 2 || line.find(" - ", i + 3) != std::string::npos))
        line = cleanTrackText(line.substr(i + 3));
}

bool isNumberField(const std::string& field) {
    std::size_t i = 0;
    while (i < field.size() && isDigit(field[i])) ++i;
    if (i == 0 || i > 3) return false;
    return i == field.size() || (i + 1 == field.size() && (field[i] == '.' || field[i] == ')'));
}

// A line of tab-separated fields: [number,] title [, artist] [, length].
bool readFields(const std::string& line, Track& track, std::string& problem) {
    std::vector<std::string> fields;
    for (const std::string& field : split(line, "\t"))
        if (std::string clean = cleanTrackText(field); !clean.empty()) fields.push_back(clean);
    if (fields.size() > 1 && isNumberField(fields.front())) fields.erase(fields.begin());
    // The length is the last field that reads as one, after the title.
    for (std::size_t i = fields.size(); i-- > 1;) {
        if (const std::optional<double> seconds = parseLength(fields[i])) {
            track.seconds = seconds;
            fields.erase(fields.begin() + std::ptrdiff_t(i));
            break;
        }
    }
    if (fields.size() == 1 && !track.seconds && parseLength(fields[0])) return false; // a length alone
    if (fields.empty()) return false;
    track.title = fields[0];
    if (fields.size() > 1) track.artist = fields[1];
    if (fields.size() > 2) problem = "more columns than title, artist and length; the rest is left out";
    return true;
}

// A line of text: [number] title [ - artist] [length]. The artist follows the last " - ", since
// titles say " - Live" more often than artists have a dash.
bool readText(std::string line, Track& track) {
    track.seconds = takeTrailingLength(line);
    dropLeadingNumber(line);
    const std::size_t dash = line.rfind(" - ");
    if (dash != std::string::npos) {
        track.title = cleanTrackText(line.substr(0, dash));
        track.artist = cleanTrackText(line.substr(dash + 3));
    } else {
        track.title = line;
    }
    if (track.title.empty()) {
        // "- Artist" or a dash alone: keep what there is as the title rather than lose it.
        track.title = track.artist;
        track.artist.clear();
    }
    return !track.title.empty();
}

} // namespace

TrackListReading readTypedTrackList(const std::string& text) {
    TrackListReading reading;
    std::vector<std::string> lines = split(text, "\n");
    if (!lines.empty() && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0) lines[0].erase(0, 3);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string& raw = lines[n];
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string where = "line " + std::to_string(n + 1) + ": ";
        if (cleanTrackText(raw).empty()) continue;
        if (reading.tracks.size() == kMostTracks) {
            reading.problems.push_back(where + "only the first " + std::to_string(kMostTracks) +
                                       " tracks are kept; this line and those after it are left out");
            break;
        }
        Track track;
        std::string problem;
        const bool read = raw.find('\t') != std::string::npos ? readFields(raw, track, problem)
                                                              : readText(cleanTrackText(raw), track);
        if (!read) {
            reading.problems.push_back(where + "no title; the line is left out");
            continue;
        }
        if (!problem.empty()) reading.problems.push_back(where + problem);
        reading.tracks.push_back(std::move(track));
    }
    numberInOrder(reading.tracks);
    return reading;
}

} // namespace kavi
