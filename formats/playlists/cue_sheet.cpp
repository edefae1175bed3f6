// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/playlists/cue_sheet.h"

#include "formats/playlists/text_encoding.h"

#include <cstddef>

namespace kavi {

namespace {

// The words of a line: bare words split at spaces and tabs, or texts in double quotes (which may
// hold spaces). An unclosed quote runs to the end of the line.
std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string::npos ? line.size() : close;
            word = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

// The text of a TITLE or PERFORMER line: between the first and the last quote (so that quotes
// inside the text stay), or the rest of the line when it is not quoted.
std::string textAfterKeyword(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t gap = line.find_first_of(" \t", start);
    const std::size_t from = line.find_first_not_of(" \t", gap);
    if (from == std::string::npos) return {};
    const std::size_t last = line.find_last_of('"');
    if (line[from] == '"' && last > from) return line.substr(from + 1, last - from - 1);
    if (line[from] == '"') return line.substr(from + 1); // an unclosed quote runs to the end
    return line.substr(from);
}

std::string upper(std::string word) {
    for (char& c : word)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return word;
}

std::optional<int> wholeNumber(const std::string& text, int most) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > most) return std::nullopt;
    return value;
}

// "mm:ss:ff" in frames.
std::optional<long long> cueTime(const std::string& text) {
    const std::size_t a = text.find(':'), b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos) return std::nullopt;
    const auto m = wholeNumber(text.substr(0, a), 9999);
    const auto s = wholeNumber(text.substr(a + 1, b - a - 1), 59);
    const auto f = wholeNumber(text.substr(b + 1), kCueFramesPerSecond - 1);
    if (!m || !s || !f) return std::nullopt;
    return (static_cast<long long>(*m) * 60 + *s) * kCueFramesPerSecond + *f;
}

class CueReader {
public:
    CueSheet read(std::string_view bytes) {
        if (bytes.size() > kLargestCueSheet) {
            sheet_.problems.push_back("the cue sheet is larger than a cue sheet can be; it is not read");
            return sheet_;
        }
        const std::vector<std::string> lines = linesOf(textAsUtf8(bytes));
        for (std::size_t n = 0; n < lines.size(); ++n) {
            where_ = "line " + std::to_string(n + 1) + ": ";
            readLine(lines[n], wordsOf(lines[n]));
        }
        for (CueTrack& track : sheet_.tracks)
            if (track.performer.empty()) track.performer = sheet_.performer;
        return sheet_;
    }

private:
    void problem(const std::string& what) { sheet_.problems.push_back(where_ + what); }

    void readLine(const std::string& line, const std::vector<std::string>& words) {
        if (words.empty()) return;
        const std::string keyword = upper(words[0]);
        const std::size_t args = words.size() - 1;
        if (keyword == "REM" || keyword == "CATALOG" || keyword == "CDTEXTFILE" || keyword == "SONGWRITER" ||
            keyword == "ISRC" || keyword == "FLAGS" || keyword == "PREGAP" || keyword == "POSTGAP")
            return; // nothing a track list shows
        if (keyword == "FILE") return readFile(words);
        if (keyword == "TRACK") return readTrack(words);
        if (keyword == "TITLE" || keyword == "PERFORMER") {
            if (args < 1) return problem(keyword + " without a text; passed over");
            if (skippingTrack_) return;
            const std::string text = cleanTrackText(textAfterKeyword(line));
            CueTrack* track = current();
            std::string& target = keyword == "TITLE" ? (track ? track->title : sheet_.title)
                                                     : (track ? track->performer : sheet_.performer);
            target = text;
            return;
        }
        if (keyword == "INDEX") return readIndex(words);
        problem("\"" + cleanTrackText(words[0]).substr(0, 40) + "\" is not a cue sheet line; passed over");
    }

    CueTrack* current() { return inTrack_ && !sheet_.tracks.empty() ? &sheet_.tracks.back() : nullptr; }

    void readFile(const std::vector<std::string>& words) {
        if (words.size() < 2 || words[1].empty()) return problem("FILE without a file name; passed over");
        // A track may go on in the new file: rippers that append the gaps write its INDEX 00 in
        // the old file and its INDEX 01 after the FILE line.
        sheet_.files.push_back(words[1]);
    }

    void readTrack(const std::vector<std::string>& words) {
        const std::optional<int> number = words.size() >= 2 ? wholeNumber(words[1], 99) : std::nullopt;
        if (!number || words.size() < 3) {
            skippingTrack_ = true; // its TITLE and INDEX lines go with it
            return problem("TRACK without a number from 0 to 99 and a type; the track is passed over");
        }
        skippingTrack_ = false;
        if (sheet_.tracks.size() == kMostTracks) {
            skippingTrack_ = true;
            return problem("more than " + std::to_string(kMostTracks) + " tracks; the track is passed over");
        }
        CueTrack track;
        track.number = *number;
        track.file = int(sheet_.files.size()) - 1;
        track.audio = upper(words[2]) == "AUDIO";
        sheet_.tracks.push_back(track);
        inTrack_ = true;
    }

    void readIndex(const std::vector<std::string>& words) {
        if (skippingTrack_) return;
        CueTrack* track = current();
        if (!track) return problem("INDEX before any TRACK; passed over");
        const std::optional<int> number = words.size() >= 2 ? wholeNumber(words[1], 99) : std::nullopt;
        const std::optional<long long> time = words.size() >= 3 ? cueTime(words[2]) : std::nullopt;
        if (!number || !time) return problem("INDEX without a number and a time mm:ss:ff; passed over");
        if (*number != 1) return;
        if (track->start) return problem("a second INDEX 01 for the same track; passed over");
        track->start = time;
        track->file = int(sheet_.files.size()) - 1; // where the track starts
    }

    CueSheet sheet_;
    std::string where_;
    bool inTrack_ = false;
    bool skippingTrack_ = false;
};

} // namespace

CueSheet parseCueSheet(std::string_view bytes) { return CueReader().read(bytes); }

TrackListReading tracksOfCueSheet(const CueSheet& sheet, const std::vector<std::optional<double>>& fileSeconds) {
    TrackListReading reading;
    reading.problems = sheet.problems;
    const std::vector<CueTrack>& tracks = sheet.tracks;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const CueTrack& t = tracks[i];
        const std::string name = "track " + std::to_string(t.number);
        if (!t.audio) {
            reading.problems.push_back(name + " holds data, not sound; it is left out");
            continue;
        }
        Track track;
        track.title = t.title.empty() ? "Track " + std::to_string(t.number) : t.title;
        track.artist = t.performer;
        if (t.start) {
            // The track runs to the next one of its file, or to the file's end when it is the last.
            const std::size_t next = i + 1;
            std::optional<double> end;
            if (next < tracks.size() && tracks[next].file == t.file) {
                if (tracks[next].start) end = double(*tracks[next].start) / kCueFramesPerSecond;
            } else if (t.file >= 0 && std::size_t(t.file) < fileSeconds.size()) {
                end = fileSeconds[std::size_t(t.file)];
            }
            const double begin = double(*t.start) / kCueFramesPerSecond;
            if (end && *end > begin) track.seconds = *end - begin;
            else if (end)
                reading.problems.push_back(name +
                                           " starts after the next one or the file's end; its length is unknown");
        }
        reading.tracks.push_back(std::move(track));
    }
    numberInOrder(reading.tracks);
    return reading;
}

} // namespace kavi
