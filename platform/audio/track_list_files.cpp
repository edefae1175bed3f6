// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/audio/track_list_files.h"

#include "covers/typed_track_list.h"
#include "formats/playlists/cue_sheet.h"
#include "formats/playlists/m3u_playlist.h"
#include "formats/playlists/text_encoding.h"
#include "platform/audio/audio_tags.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

namespace kavi {

namespace fs = std::filesystem;

namespace {

// A file's or folder's name as the user reads it, in UTF-8 whatever the file system holds.
std::string shownName(const fs::path& path) { return textAsUtf8(path.filename().native()); }

std::string stemOf(const fs::path& path) { return cleanTrackText(textAsUtf8(path.stem().native())); }

// The file's bytes, at most `largest` of them; false with the reason when it cannot be read.
bool readBytes(const fs::path& path, std::size_t largest, std::string& bytes, std::string& problem) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) {
        problem = shownName(path) + ": " +
            (error == std::errc::no_such_file_or_directory ? "the file is missing"
                                                           : "it cannot be read (" + error.message() + ")");
        return false;
    }
    if (size > largest) {
        problem = shownName(path) + ": the file is too large to be a track list";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        problem = shownName(path) + ": it cannot be read (permission denied or not a file)";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        problem = shownName(path) + ": it cannot be read to its end";
        return false;
    }
    return true;
}

fs::path absoluteOf(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? fs::path(path) : absolute;
}

// The length of a cue sheet's audio file: where the sheet says, or beside the sheet under the same
// name (a sheet written elsewhere, with a Windows path), each also with another audio extension
// (a WAV converted to FLAC after the sheet was written).
std::optional<double> cueFileSeconds(const std::string& named, const fs::path& folder, std::string& problem) {
    std::string path = named;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::vector<std::string> places;
    if (std::string resolved = resolvePlaylistPath(path, folder.native()); !resolved.empty())
        places.push_back(resolved);
    places.push_back((folder / fs::path(path).filename()).native());
    std::string why;
    if (const auto tags = readAudioTags(places.front(), why)) return tags->seconds;
    for (const std::string& place : places) {
        for (const char* extension : {"", ".flac", ".wav", ".ape", ".mp3", ".ogg", ".opus", ".m4a", ".wv"}) {
            const std::string other = *extension ? fs::path(place).replace_extension(extension).native() : place;
            std::string ignored;
            std::error_code error;
            if (!fs::exists(other, error)) continue;
            if (const auto tags = readAudioTags(other, ignored)) return tags->seconds;
        }
    }
    problem = textAsUtf8(named) + ": " + why + "; the length of its last track is unknown";
    return std::nullopt;
}

} // namespace

TrackListReading readAudioFolder(const std::string& folder) {
    TrackListReading reading;
    struct Found {
        int disc, track;
        std::string name;
        Track line;
    };
    std::vector<Found> found;
    std::vector<fs::path> files;
    std::error_code error;
    fs::directory_iterator it(folder, error), end;
    if (error) {
        reading.problems.push_back(textAsUtf8(folder) + ": the folder cannot be read (" + error.message() + ")");
        return reading;
    }
    for (; it != end; it.increment(error)) {
        if (error) {
            reading.problems.push_back(textAsUtf8(folder) + ": the folder cannot be read to its end (" +
                                       error.message() + ")");
            break;
        }
        const std::string name = it->path().filename().native();
        if (!name.empty() && name[0] != '.' && hasAudioExtension(name)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        if (found.size() == kMostTracks) {
            reading.problems.push_back(shownName(file) + ": more than " + std::to_string(kMostTracks) +
                                       " audio files; this one and those after it are left out");
            break;
        }
        std::string problem;
        const std::optional<AudioTags> tags = readAudioTags(file.native(), problem);
        if (!tags) {
            reading.problems.push_back(shownName(file) + ": " + problem + "; it is left out");
            continue;
        }
        Track line;
        line.title = cleanTrackText(textAsUtf8(tags->title));
        if (line.title.empty()) line.title = stemOf(file);
        line.artist = cleanTrackText(textAsUtf8(tags->artist));
        line.seconds = tags->seconds;
        found.push_back({tags->disc, tags->track > 0 ? tags->track : INT_MAX, file.filename().native(), line});
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.disc, a.track, a.name) < std::tie(b.disc, b.track, b.name);
    });
    for (Found& f : found) reading.tracks.push_back(std::move(f.line));
    numberInOrder(reading.tracks);
    return reading;
}

TrackListReading readCueSheetFile(const std::string& path) {
    const fs::path cue = absoluteOf(path);
    std::string bytes, problem;
    if (!readBytes(cue, kLargestCueSheet, bytes, problem)) return {{}, {problem}};
    const CueSheet sheet = parseCueSheet(bytes);
    std::vector<std::string> fileProblems;
    std::vector<std::optional<double>> seconds;
    for (std::size_t i = 0; i < sheet.files.size(); ++i) {
        // Only a file whose last track says where it starts needs its length.
        const auto last = std::find_if(sheet.tracks.rbegin(), sheet.tracks.rend(),
                                       [&](const CueTrack& t) { return t.file == int(i); });
        std::string why;
        seconds.push_back(last != sheet.tracks.rend() && last->start && last->audio
                              ? cueFileSeconds(sheet.files[i], cue.parent_path(), why)
                              : std::nullopt);
        if (!why.empty()) fileProblems.push_back(why);
    }
    TrackListReading reading = tracksOfCueSheet(sheet, seconds);
    const std::string name = shownName(cue);
    for (std::string& p : reading.problems) p = name + ", " + p;
    reading.problems.insert(reading.problems.end(), fileProblems.begin(), fileProblems.end());
    return reading;
}

TrackListReading readPlaylistFile(const std::string& path) {
    const fs::path list = absoluteOf(path);
    std::string bytes, problem;
    if (!readBytes(list, kLargestPlaylist, bytes, problem)) return {{}, {problem}};
    const Playlist playlist = parsePlaylist(bytes, list.parent_path().native());
    const std::string name = shownName(list);
    TrackListReading reading;
    for (const std::string& p : playlist.problems) reading.problems.push_back(name + ", " + p);
    for (const PlaylistEntry& entry : playlist.entries) {
        Track line;
        line.title = entry.title;
        line.artist = entry.artist;
        line.seconds = entry.seconds;
        if (!entry.hasInfo && !entry.path.empty()) {
            std::string why;
            const std::optional<AudioTags> tags = readAudioTags(entry.path, why);
            if (!tags) {
                reading.problems.push_back(name + ", line " + std::to_string(entry.line) + ": " +
                                           textAsUtf8(entry.location) + ": " + why + "; it is left out");
                continue;
            }
            if (const std::string title = cleanTrackText(textAsUtf8(tags->title)); !title.empty()) line.title = title;
            line.artist = cleanTrackText(textAsUtf8(tags->artist));
            line.seconds = tags->seconds;
        }
        reading.tracks.push_back(std::move(line));
    }
    numberInOrder(reading.tracks);
    return reading;
}

TrackListReading readTrackListSource(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) return readAudioFolder(path);
    std::string extension = fs::path(path).extension().native();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (extension == ".cue") return readCueSheetFile(path);
    if (extension == ".m3u" || extension == ".m3u8") return readPlaylistFile(path);
    if (extension == ".txt") {
        std::string bytes, problem;
        if (!readBytes(absoluteOf(path), kLargestPlaylist, bytes, problem)) return {{}, {problem}};
        TrackListReading reading = readTypedTrackList(textAsUtf8(bytes));
        for (std::string& p : reading.problems) p = shownName(path) + ", " + p;
        return reading;
    }
    std::error_code ignored;
    return {{},
            {shownName(path) +
             (fs::exists(path, ignored) ? ": not a cue sheet, a playlist, a text file or a folder"
                                        : ": there is no such file or folder")}};
}

} // namespace kavi
