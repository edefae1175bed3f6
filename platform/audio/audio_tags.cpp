// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/audio/audio_tags.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kavi {

namespace {

std::string utf8(const TagLib::String& text) { return text.to8Bit(true); }

// The leading number of "2" or "2/3"; 0 for anything else.
int leadingNumber(const std::string& text) {
    int value = 0;
    std::size_t i = 0;
    for (; i < text.size() && i < 4 && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return i == 0 ? 0 : value;
}

} // namespace

bool hasAudioExtension(const std::string& name) {
    static constexpr std::array kExtensions = {".flac", ".mp3", ".ogg", ".oga", ".opus", ".m4a", ".wav"};
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    for (const char* known : kExtensions)
        if (extension == known) return true;
    return false;
}

std::optional<AudioTags> readAudioTags(const std::string& path, std::string& problem) {
    // TagLib says only that it could not read a file; the system says why.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        problem =
            errno == ENOENT ? "the file is missing" : std::string("it cannot be read (") + std::strerror(errno) + ")";
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        problem = "it is not a file";
        return std::nullopt;
    }
    if (access(path.c_str(), R_OK) != 0) {
        problem = std::string("it cannot be read (") + std::strerror(errno) + ")";
        return std::nullopt;
    }
    const TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Average);
    // TagLib takes a file by its extension and finds an MP3 in any bytes; sound it has not found
    // has no sample rate.
    if (file.isNull() || !file.audioProperties() || file.audioProperties()->sampleRate() <= 0 ||
        file.audioProperties()->channels() <= 0) {
        problem = "it is not an audio file that can be read, or it is damaged";
        return std::nullopt;
    }
    AudioTags tags;
    if (const TagLib::Tag* tag = file.tag()) {
        tags.title = utf8(tag->title());
        tags.artist = utf8(tag->artist());
        tags.track = int(std::min(tag->track(), 9999u));
    }
    const TagLib::PropertyMap properties = file.file()->properties();
    if (const auto disc = properties.find("DISCNUMBER"); disc != properties.end() && !disc->second.isEmpty())
        tags.disc = leadingNumber(utf8(disc->second.front()));
    const int milliseconds = file.audioProperties()->lengthInMilliseconds();
    if (milliseconds > 0) tags.seconds = milliseconds / 1000.0;
    return tags;
}

} // namespace kavi
