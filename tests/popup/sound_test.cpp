// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/sound.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>

using kavi::AlsaDevice;
using kavi::AsyncWavPlayer;
using kavi::parseWav;
using kavi::WavSound;

namespace {

void put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(x & 255);
    v.push_back((x >> 8) & 255);
}
void put32(std::vector<std::uint8_t>& v, unsigned x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}
void tag(std::vector<std::uint8_t>& v, const char* t) { v.insert(v.end(), t, t + 4); }

// A PCM wave; dataSize may claim more than the samples written.
std::vector<std::uint8_t> wav(int channels, int rate, int bits, std::size_t frames, long dataSize = -1,
                              int formatTag = 1) {
    const std::size_t bytes = frames * std::size_t(channels * bits / 8);
    std::vector<std::uint8_t> v;
    tag(v, "RIFF");
    put32(v, unsigned(36 + bytes));
    tag(v, "WAVE");
    tag(v, "LIST"); // an unrelated chunk of odd size, padded
    put32(v, 3);
    v.insert(v.end(), {1, 2, 3, 0});
    tag(v, "fmt ");
    put32(v, 16);
    put16(v, unsigned(formatTag));
    put16(v, unsigned(channels));
    put32(v, unsigned(rate));
    put32(v, unsigned(rate * channels * bits / 8));
    put16(v, unsigned(channels * bits / 8));
    put16(v, unsigned(bits));
    tag(v, "data");
    put32(v, dataSize < 0 ? unsigned(bytes) : unsigned(dataSize));
    for (std::size_t i = 0; i < bytes; ++i) v.push_back(std::uint8_t(i * 7));
    return v;
}

bool writeFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) &&
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

// A device that holds on to each sound until the test lets it go.
class HoldingDevice final : public kavi::SoundDevice {
public:
    bool playToEnd(const WavSound& sound) override {
        std::unique_lock lock(mutex);
        holding = true;
        frames = sound.frameCount();
        changed.notify_all();
        changed.wait(lock, [&] { return released; });
        holding = false;
        return true;
    }
    void waitUntilHolding() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return holding; });
    }
    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false, released = false;
    std::size_t frames = 0;
};

// ALSA reads ~/.asoundrc once, on first use: point HOME at a private folder whose default output
// is a file, before any test touches ALSA, so a played sound can be checked.
class PrivateAlsaHome : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        played = home.filePath("played.wav");
        QFile rc(home.filePath(".asoundrc"));
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        rc.write(
            QString("pcm.!default { type file slave.pcm \"null\" file \"%1\" format \"wav\" }\n").arg(played).toUtf8());
        rc.close();
        setenv("HOME", QFile::encodeName(home.path()).constData(), 1);
    }
    QTemporaryDir home;
    QString played;
};

PrivateAlsaHome* alsaHome = static_cast<PrivateAlsaHome*>(::testing::AddGlobalTestEnvironment(new PrivateAlsaHome));

} // namespace

TEST(WavFiles, PcmWavesAreReadAndEverythingElseIsRefused) {
    auto mono = parseWav(wav(1, 22050, 16, 100));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->channels, 1);
    EXPECT_EQ(mono->sampleRate, 22050);
    EXPECT_EQ(mono->bitsPerSample, 16);
    EXPECT_EQ(mono->frameCount(), 100u) << "the padded chunk before the format is skipped";

    auto stereo8 = parseWav(wav(2, 8000, 8, 10));
    ASSERT_TRUE(stereo8);
    EXPECT_EQ(stereo8->frameCount(), 10u);

    auto cut = parseWav(wav(2, 44100, 16, 5, 1000000));
    ASSERT_TRUE(cut) << "a data chunk claiming more than the file holds keeps what is there";
    EXPECT_EQ(cut->frameCount(), 5u);
    std::vector<std::uint8_t> torn = wav(2, 44100, 16, 5);
    torn.resize(torn.size() - 3);
    ASSERT_TRUE(parseWav(torn));
    EXPECT_EQ(parseWav(torn)->frameCount(), 4u) << "only whole frames";

    EXPECT_FALSE(parseWav({}));
    EXPECT_FALSE(parseWav(std::vector<std::uint8_t>(100, 0)));
    EXPECT_FALSE(parseWav(wav(1, 22050, 16, 10, -1, 3))) << "floating-point samples";
    EXPECT_FALSE(parseWav(wav(3, 22050, 16, 10))) << "three channels";
    EXPECT_FALSE(parseWav(wav(1, 22050, 24, 10)));
    EXPECT_FALSE(parseWav(wav(1, 0, 16, 10)));
    std::vector<std::uint8_t> huge = wav(1, 22050, 16, 10);
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF; // the first chunk claims 4 GB
    EXPECT_FALSE(parseWav(huge));
}

TEST(AsyncSound, PlayReturnsWhileTheDeviceStillHoldsTheSound) {
    QTemporaryDir dir;
    const QString file = dir.filePath("beep.wav");
    ASSERT_TRUE(writeFile(file, wav(1, 22050, 16, 300)));
    auto device = std::make_shared<HoldingDevice>();
    AsyncWavPlayer player(device);
    player.play(file); // would never return if it waited for the device
    device->waitUntilHolding();
    EXPECT_EQ(device->frames, 300u);
    EXPECT_EQ(player.playedCount(), 0);
    device->release();
    player.waitUntilIdle();
    EXPECT_EQ(player.playedCount(), 1);
}

TEST(AsyncSound, MissingOrDamagedFilesAndMissingDevicesStaySilent) {
    QTemporaryDir dir;
    auto device = std::make_shared<HoldingDevice>();
    device->release();
    AsyncWavPlayer player(device);
    player.play(dir.filePath("no-such.wav"));
    player.play(dir.path()); // a folder
    const QString damaged = dir.filePath("damaged.wav");
    ASSERT_TRUE(writeFile(damaged, {'R', 'I', 'F', 'F', 0, 0}));
    player.play(damaged);
    player.waitUntilIdle();
    EXPECT_EQ(player.playedCount(), 0);
    EXPECT_EQ(device->frames, 0u) << "nothing reached the device";

    const QString good = dir.filePath("good.wav");
    ASSERT_TRUE(writeFile(good, wav(1, 22050, 16, 50)));
    EXPECT_FALSE(AlsaDevice("hw:99,0").playToEnd(*parseWav(wav(1, 22050, 16, 50)))) << "no such card";
    AsyncWavPlayer noCard(std::make_shared<AlsaDevice>("hw:99,0"));
    noCard.play(good);
    noCard.waitUntilIdle();
    EXPECT_EQ(noCard.playedCount(), 0);
}

TEST(AsyncSound, TheAlertIsReallyPlayedWhenFileAndDeviceAreThere) {
    const QString alert = QDir(qEnvironmentVariable("KAVI_BUILD_DIR")).filePath("alert.wav");
    QFile in(alert);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "the build puts alert.wav beside the programs";
    const QByteArray bytes = in.readAll();
    const auto sound = parseWav(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(sound);
    EXPECT_GT(sound->frameCount(), std::size_t(sound->sampleRate / 4)) << "long enough to be heard";

    AsyncWavPlayer player; // the ALSA default output, here the file under the private HOME
    player.play(alert);
    player.waitUntilIdle();
    EXPECT_EQ(player.playedCount(), 1);
    QFile played(alsaHome->played);
    ASSERT_TRUE(played.exists());
    EXPECT_EQ(played.size(), qint64(44 + sound->samples.size())) << "every sample reached the device";
}
