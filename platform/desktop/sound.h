// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Event sound: a .wav file played asynchronously. The call returns at once; a missing file, a
// file that is no PCM wave or a missing sound device leave the program silent and nothing else.
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kavi {

class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(const QString& wavFile) = 0;
};

// The samples of a PCM wave file: interleaved frames, 8-bit unsigned or 16-bit little-endian.
struct WavSound {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::uint8_t> samples;
    std::size_t frameCount() const { return samples.size() / std::size_t(channels * bitsPerSample / 8); }
};

// Reads a RIFF wave holding PCM with 1 or 2 channels of 8 or 16 bits at 1000 ... 192000 Hz.
// A data chunk that runs past the end of the file keeps its whole frames. Anything else: nothing.
std::optional<WavSound> parseWav(const std::vector<std::uint8_t>& bytes);

// A place that plays samples to the end before returning.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    // False when the device cannot be opened or refuses the format.
    virtual bool playToEnd(const WavSound& sound) = 0;
};

// An ALSA playback device by name ("default" is the user's chosen output).
class AlsaDevice final : public SoundDevice {
public:
    explicit AlsaDevice(std::string name = "default");
    bool playToEnd(const WavSound& sound) override;

private:
    std::string name_;
};

// Reads and plays each file on a detached thread of its own, so the caller never waits.
class AsyncWavPlayer final : public Sound {
public:
    explicit AsyncWavPlayer(std::shared_ptr<SoundDevice> device = std::make_shared<AlsaDevice>());
    // Waits briefly for sounds still playing, so none outlives the libraries at exit.
    ~AsyncWavPlayer() override;
    void play(const QString& wavFile) override;
    // Blocks until no sound of this player is being read or played.
    void waitUntilIdle();
    // How many sounds reached the device and played to the end.
    int playedCount() const;

private:
    void startPlayback(const std::string& path);

    struct State {
        mutable std::mutex mutex;
        std::condition_variable idle;
        int active = 0;
        int played = 0;
    };
    std::shared_ptr<SoundDevice> device_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace kavi
