// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/sound.h"

#include <QFile>

#include <alsa/asoundlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

namespace kavi {

namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

// ALSA reports every failed card lookup on stderr; a missing device is normal here.
void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaOnce() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsaError); });
}

// The file's bytes; nothing for a missing file, a folder or a device.
std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::optional<WavSound> parseWav(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::optional<WavSound> format;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::size_t size = le32(chunk + 4);
        const std::size_t available = bytes.size() - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || available < 16) return std::nullopt;
            const std::uint8_t* f = chunk + 8;
            WavSound w;
            const int tag = le16(f);
            w.channels = le16(f + 2);
            w.sampleRate = int(le32(f + 4));
            w.bitsPerSample = le16(f + 14);
            if (tag != 1 || (w.channels != 1 && w.channels != 2) || (w.bitsPerSample != 8 && w.bitsPerSample != 16) ||
                w.sampleRate < 1000 || w.sampleRate > 192000)
                return std::nullopt;
            format = w;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) return std::nullopt;
            const std::size_t frameBytes = std::size_t(format->channels * format->bitsPerSample / 8);
            std::size_t take = size < available ? size : available;
            take -= take % frameBytes;
            format->samples.assign(chunk + 8, chunk + 8 + take);
            return format;
        }
        // Chunks are padded to an even size; stop rather than overflow on an absurd size.
        const std::size_t step = 8 + size + (size & 1);
        if (step > bytes.size() - pos) break;
        pos += step;
    }
    return std::nullopt;
}

AlsaDevice::AlsaDevice(std::string name) : name_(std::move(name)) {}

bool AlsaDevice::playToEnd(const WavSound& sound) {
    silenceAlsaOnce();
    snd_pcm_t* pcm = nullptr;
    // Opened without blocking, so a device held by another program fails at once instead of waiting.
    if (snd_pcm_open(&pcm, name_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    bool ok = snd_pcm_nonblock(pcm, 0) == 0;
    const snd_pcm_format_t format = sound.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    ok = ok &&
        snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(sound.channels),
                           unsigned(sound.sampleRate), 1, 200000) == 0;
    const std::size_t frameBytes = std::size_t(sound.channels * sound.bitsPerSample / 8);
    const std::uint8_t* data = sound.samples.data();
    snd_pcm_uframes_t left = sound.frameCount();
    while (ok && left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, data, left);
        if (written < 0) written = snd_pcm_recover(pcm, int(written), 1);
        if (written < 0) {
            ok = false;
            break;
        }
        data += std::size_t(written) * frameBytes;
        left -= snd_pcm_uframes_t(written);
    }
    if (ok) snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return ok;
}

AsyncWavPlayer::AsyncWavPlayer(std::shared_ptr<SoundDevice> device) : device_(std::move(device)) {}

AsyncWavPlayer::~AsyncWavPlayer() {
    std::unique_lock lock(state_->mutex);
    state_->idle.wait_for(lock, std::chrono::seconds(2), [&] { return state_->active == 0; });
}

void AsyncWavPlayer::play(const QString& wavFile) {
    const std::string path = QFile::encodeName(wavFile).toStdString();
    {
        std::lock_guard lock(state_->mutex);
        ++state_->active;
    }
    // The thread owns shared references, so it may safely outlive this player.
    try {
        startPlayback(path);
    } catch (const std::system_error&) {
        // No thread to play on: stay silent.
        std::lock_guard lock(state_->mutex);
        --state_->active;
        state_->idle.notify_all();
    }
}

void AsyncWavPlayer::startPlayback(const std::string& path) {
    std::thread([path, device = device_, state = state_] {
        bool played = false;
        try {
            if (auto sound = parseWav(readWholeFile(path)); sound && sound->frameCount() > 0)
                played = device->playToEnd(*sound);
        } catch (const std::exception&) {
            // An unreadable file or a failing device: the alert stays silent.
        }
        std::lock_guard lock(state->mutex);
        if (played) ++state->played;
        --state->active;
        state->idle.notify_all();
    }).detach();
}

void AsyncWavPlayer::waitUntilIdle() {
    std::unique_lock lock(state_->mutex);
    state_->idle.wait(lock, [&] { return state_->active == 0; });
}

int AsyncWavPlayer::playedCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->played;
}

} // namespace kavi
