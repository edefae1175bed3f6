// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/track_list.h"

#include <cmath>
#include <cstdio>

namespace kavi {

namespace {

// The longest length written: a year of sound is not a track.
constexpr double kLongestLength = 366.0 * 24 * 3600;

// Digits only, one to `most` of them.
std::optional<int> digits(const std::string& text, std::size_t most) {
    if (text.empty() || text.size() > most) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::string cleanTrackText(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() > kLongestTrackText) {
        std::size_t end = kLongestTrackText;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text.resize(end);
    }
    return text;
}

void numberInOrder(std::vector<Track>& tracks) {
    int number = 1;
    for (Track& track : tracks) track.number = number++;
}

std::optional<double> totalSeconds(const std::vector<Track>& tracks) {
    std::optional<double> total;
    for (const Track& track : tracks)
        if (track.seconds) total = total.value_or(0) + *track.seconds;
    return total;
}

bool someLengthsUnknown(const std::vector<Track>& tracks) {
    for (const Track& track : tracks)
        if (!track.seconds) return true;
    return false;
}

std::string formatLength(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0 || seconds > kLongestLength) return {};
    const long long whole = std::llround(seconds);
    const long long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
    char text[32];
    if (h > 0) std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
    else std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
    return text;
}

std::string formatTrackLine(const Track& track) {
    std::string line = std::to_string(track.number) + ". " + track.title;
    if (!track.artist.empty()) line += " - " + track.artist;
    if (track.seconds) {
        const std::string length = formatLength(*track.seconds);
        if (!length.empty()) line += "  " + length;
    }
    return line;
}

std::string formatTotalLine(const std::vector<Track>& tracks) {
    const std::optional<double> total = totalSeconds(tracks);
    if (!total) return {};
    const std::string length = formatLength(*total);
    if (length.empty()) return {};
    return "Total " + length + (someLengthsUnknown(tracks) ? "+" : "");
}

std::vector<std::string> trackListLines(const std::vector<Track>& tracks) {
    std::vector<std::string> lines;
    lines.reserve(tracks.size() + 1);
    for (const Track& track : tracks) lines.push_back(formatTrackLine(track));
    std::string total = formatTotalLine(tracks);
    if (!total.empty()) lines.push_back(std::move(total));
    return lines;
}

std::optional<double> parseLength(const std::string& text) {
    const std::size_t first = text.find(':');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t second = text.find(':', first + 1);
    if (second == std::string::npos) {
        const auto m = digits(text.substr(0, first), 4);
        const auto s = digits(text.substr(first + 1), 2);
        if (!m || !s || *s >= 60 || text.size() - first - 1 != 2) return std::nullopt;
        return *m * 60.0 + *s;
    }
    const auto h = digits(text.substr(0, first), 3);
    const std::string mm = text.substr(first + 1, second - first - 1), ss = text.substr(second + 1);
    const auto m = digits(mm, 2);
    const auto s = digits(ss, 2);
    if (!h || !m || !s || mm.size() != 2 || ss.size() != 2 || *m >= 60 || *s >= 60) return std::nullopt;
    return *h * 3600.0 + *m * 60.0 + *s;
}

} // namespace kavi
