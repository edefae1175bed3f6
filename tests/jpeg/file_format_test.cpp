// SPDX-License-Identifier: GPL-3.0-or-later
// The files cJpeg writes, read back segment by segment and decoded to coefficients: marker order
// and lengths, component layouts and scans, edge replication, stuffing and padding, the stored
// coefficients against the defining transform, the errors, and SaveFile's results.
#include "jpeg/byte_output.h"
#include "jpeg/cjpeg.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/new_file.h"
#include "jpeg/segments.h"
#include "tests/jpeg/jpeg_reader.h"
#include "tests/jpeg/photo_picture.h"
#include "tests/jpeg/thrown_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

using namespace jpeg;
using jpegtest::JpegFile;

namespace {

std::vector<std::uint8_t> encode(const raster::Bitmap& pic, int quality, std::vector<int> s,
                                 const std::string& comment = {}) {
    cJpeg enc;
    enc.quality(quality);
    enc.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    enc.Comment(comment);
    EXPECT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), pic.width(), pic.height(), 0, 0), 0);
    return enc.EncodeToMemory();
}

std::vector<std::uint8_t> markers(const JpegFile& f) {
    std::vector<std::uint8_t> m;
    for (const auto& s : f.segments) m.push_back(s.marker);
    return m;
}

// The decoded blocks must be exactly the encoder's stored coefficients.
void expectSameCoefficients(const cJpeg& enc, const JpegFile& f) {
    const auto& ours = enc.SampledComponents();
    ASSERT_EQ(ours.size(), f.components.size());
    for (std::size_t c = 0; c < ours.size(); ++c) {
        ASSERT_EQ(ours[c].blocksWide, f.components[c].blocksWide);
        ASSERT_EQ(ours[c].blocksHigh, f.components[c].blocksHigh);
        for (int by = 0; by < ours[c].blocksHigh; ++by)
            for (int bx = 0; bx < ours[c].blocksWide; ++bx)
                for (int k = 0; k < 64; ++k)
                    ASSERT_EQ(ours[c].block(bx, by)[k],
                              f.components[c].blocks[std::size_t(by) * ours[c].blocksWide + bx][std::size_t(k)])
                        << "component " << c << " block " << bx << "," << by << " coefficient " << k;
    }
}

// Every symbol a DHT segment lists was decoded at least once.
void expectEverySymbolUsed(JpegFile& f) {
    for (auto& [key, table] : f.huff)
        for (std::uint8_t sym : table.values)
            EXPECT_GT(table.used[sym], 0) << "table " << key << " symbol " << int(sym);
}

// Samples pic with the layout, reads the file back and checks it against the stored blocks.
JpegFile sampleAndReadBack(const raster::Bitmap& pic, const std::vector<int>& s) {
    cJpeg enc;
    enc.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    EXPECT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), pic.width(), pic.height(), 0, 0), 0);
    JpegFile f = jpegtest::readJpeg(enc.EncodeToMemory());
    EXPECT_TRUE(f.ok);
    if (!f.ok) return f;
    EXPECT_EQ(f.width, pic.width());
    EXPECT_EQ(f.height, pic.height());
    expectSameCoefficients(enc, f);
    expectEverySymbolUsed(f);
    return f;
}

} // namespace

TEST(JpegFile, SegmentsInOrderWithTheirLengths) {
    const raster::Bitmap pic = jpegtest::photoPicture(45, 37);
    cJpeg enc;
    enc.Comment("cover scan");
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 45, 37, 0, 0), 0);
    JpegFile f = jpegtest::readJpeg(enc.EncodeToMemory());
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(
        markers(f),
        (std::vector<std::uint8_t>{0xD8, 0xE0, 0xFE, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA, 0xD9}));
    const std::vector<std::uint8_t> jfif = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(f.segments[1].body, jfif);
    EXPECT_EQ(std::string(f.segments[2].body.begin(), f.segments[2].body.end()), "cover scan");
    EXPECT_EQ(std::string(f.segments[3].body.begin(), f.segments[3].body.end()), cJpeg::kBanner);
    EXPECT_EQ(std::count(cJpeg::kBanner, cJpeg::kBanner + std::strlen(cJpeg::kBanner), '\n'), 2);
    for (int slot = 0; slot < 2; ++slot)
        for (int k = 0; k < 64; ++k) EXPECT_EQ(f.quant[slot][k], enc.QuantizationTable(slot)[k]);
    EXPECT_EQ(f.segments[4].body[0], 0x00); // 8-bit precision, slot 0
    EXPECT_EQ(f.segments[5].body[0], 0x01);
    EXPECT_EQ(f.segments[6].body, (std::vector<std::uint8_t>{8, 0, 37, 0, 45, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
    EXPECT_EQ(f.segments[7].body[0], 0x00); // DC 0, AC 0, DC 1, AC 1
    EXPECT_EQ(f.segments[8].body[0], 0x10);
    EXPECT_EQ(f.segments[9].body[0], 0x01);
    EXPECT_EQ(f.segments[10].body[0], 0x11);
    EXPECT_EQ(f.segments[11].body, (std::vector<std::uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
    expectSameCoefficients(enc, f);
    expectEverySymbolUsed(f);

    // Without a user comment only the banner is written.
    enc.Comment("");
    const std::vector<std::uint8_t> plain = markers(jpegtest::readJpeg(enc.EncodeToMemory()));
    EXPECT_EQ(std::count(plain.begin(), plain.end(), 0xFE), 1);
}

TEST(JpegFile, ComponentLayoutsAndScans) {
    const raster::Bitmap pic = jpegtest::photoPicture(70, 50, 3);
    // Grey: one component sampled 1 x 1 whatever H1 and V1 say, one DQT, two DHT.
    const JpegFile grey = sampleAndReadBack(pic, {3, 2, 0, 0, 0, 0});
    EXPECT_EQ(markers(grey), (std::vector<std::uint8_t>{0xD8, 0xE0, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA, 0xD9}));
    ASSERT_EQ(grey.components.size(), 1u);
    EXPECT_EQ(grey.components[0].h * 16 + grey.components[0].v, 0x11);

    // 16 luminance blocks per MCU: luminance alone, then both chrominance components interleaved.
    const JpegFile large = sampleAndReadBack(pic, {4, 4, 1, 1, 1, 1});
    ASSERT_EQ(large.scans.size(), 2u);
    EXPECT_EQ(large.scans[0].components, std::vector<int>{0});
    EXPECT_EQ(large.scans[1].components, (std::vector<int>{1, 2}));

    // 3 x 3 + 1 x 1 fit into one MCU; a further 2 x 1 would make 12 and starts a new scan.
    const JpegFile mixed = sampleAndReadBack(pic, {3, 3, 1, 1, 2, 1});
    ASSERT_EQ(mixed.scans.size(), 2u);
    EXPECT_EQ(mixed.scans[0].components, (std::vector<int>{0, 1}));
}

// Sizes that leave partial blocks and partial MCUs (dummy blocks) decode to the stored blocks.
TEST(JpegFile, OddSizesAndTheSmallestPicture) {
    for (auto [w, h] : {std::pair{1, 1}, {9, 7}, {17, 33}, {31, 16}, {8, 8}, {65, 3}}) {
        const raster::Bitmap pic = jpegtest::photoPicture(w, h, 5);
        for (const auto& s : {std::vector<int>{2, 2, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1}, {2, 1, 1, 2, 1, 1}}) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " H1=" + std::to_string(s[0]));
            sampleAndReadBack(pic, s);
        }
    }
    // One pixel still makes one whole, flat block per component.
    raster::Bitmap dot(1, 1, 32);
    dot.row(0)[0] = 200, dot.row(0)[1] = 10, dot.row(0)[2] = 90;
    cJpeg enc;
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(dot), 1, 1, 0, 0), 0);
    for (const Component& c : enc.SampledComponents()) {
        ASSERT_EQ(c.blockCount(), 1u);
        for (int k = 1; k < 64; ++k) EXPECT_EQ(c.block(0, 0)[k], 0);
        EXPECT_NE(c.block(0, 0)[0], 0);
    }
}

// A 9 x 7 picture is coded as if its last column and row were copied out to 16 x 8.
TEST(JpegFile, EdgesAreReplicatedToWholeBlocks) {
    const raster::Bitmap small = jpegtest::photoPicture(9, 7, 11);
    raster::Bitmap padded(16, 8, 32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            std::copy_n(small.row(std::min(y, 6)) + 4 * std::min(x, 8), 4, padded.row(y) + 4 * x);
    cJpeg a, b;
    a.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    b.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    ASSERT_EQ(a.SampleHDC(jpegtest::MemoryDc(small), 9, 7, 0, 0), 0);
    ASSERT_EQ(b.SampleHDC(jpegtest::MemoryDc(padded), 16, 8, 0, 0), 0);
    for (std::size_t c = 0; c < 3; ++c)
        for (int bx = 0; bx < 2; ++bx)
            for (int k = 0; k < 64; ++k)
                EXPECT_EQ(a.SampledComponents()[c].block(bx, 0)[k], b.SampledComponents()[c].block(bx, 0)[k]);

    // A rectangle of the source is sampled from its own corner; pixels outside the source are black.
    cJpeg part, whole;
    ASSERT_EQ(part.SampleHDC(jpegtest::MemoryDc(padded), 9, 7, 0, 0), 0);
    ASSERT_EQ(whole.SampleHDC(jpegtest::MemoryDc(small), 9, 7, 0, 0), 0);
    EXPECT_EQ(part.EncodeToMemory(), whole.EncodeToMemory());
    raster::Bitmap black(8, 8, 32);
    cJpeg outside, dark;
    ASSERT_EQ(outside.SampleHDC(jpegtest::MemoryDc(small), 8, 8, 100, 100), 0);
    ASSERT_EQ(dark.SampleHDC(jpegtest::MemoryDc(black), 8, 8, 0, 0), 0);
    EXPECT_EQ(outside.EncodeToMemory(), dark.EncodeToMemory());
    ASSERT_EQ(outside.SampleHDC(jpegtest::MemoryDc(small), 8, 8, 2147483640, -2147483647), 0);
    EXPECT_EQ(outside.EncodeToMemory(), dark.EncodeToMemory());
}

// The source may be any depth, row order or position; the result depends only on its pixels.
TEST(JpegFile, SourcesOfAnyLayoutSampleAlike) {
    const raster::Bitmap pic = jpegtest::photoPicture(30, 20, 13);
    const std::vector<std::uint8_t> expected = encode(pic, 75, {2, 2, 1, 1, 1, 1});
    raster::Bitmap bottomUp(30, 20, 32, raster::RowOrder::BottomUp), rgb24(30, 20, 24, raster::RowOrder::BottomUp);
    raster::Bitmap larger(50, 40, 32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            std::copy_n(pic.row(y) + 4 * x, 4, bottomUp.row(y) + 4 * x);
            std::copy_n(pic.row(y) + 4 * x, 3, rgb24.row(y) + 3 * x);
            std::copy_n(pic.row(y) + 4 * x, 4, larger.row(y + 7) + 4 * (x + 11));
        }
    EXPECT_EQ(encode(bottomUp, 75, {2, 2, 1, 1, 1, 1}), expected);
    EXPECT_EQ(encode(rgb24, 75, {2, 2, 1, 1, 1, 1}), expected);
    cJpeg enc;
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(larger), 30, 20, 11, 7), 0);
    EXPECT_EQ(enc.EncodeToMemory(), expected);

    // No context, or a context without a bitmap, cannot be sampled.
    raster::DeviceContext empty;
    EXPECT_EQ(enc.SampleHDC(nullptr, 30, 20, 0, 0), 1);
    EXPECT_EQ(enc.SampleHDC(&empty, 30, 20, 0, 0), 1);
}

// Full-size components: each stored coefficient is the defining DCT of the converted pixels
// divided by the table entry, rounded (allowing only the float transform's error at halves).
TEST(JpegFile, FullSizeCoefficientsFollowTheRules) {
    const raster::Bitmap pic = jpegtest::photoPicture(24, 16, 9);
    cJpeg enc;
    enc.quality(90);
    enc.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 24, 16, 0, 0), 0);
    const double rows[3][4] = {{0.299, 0.587, 0.114, -128}, {-0.16874, -0.33126, 0.5, 0}, {0.5, -0.41869, -0.08131, 0}};
    const double pi = std::acos(-1.0);
    for (int c = 0; c < 3; ++c) {
        const Table64& q = enc.QuantizationTable(c ? 1 : 0);
        for (int by = 0; by < 2; ++by)
            for (int bx = 0; bx < 3; ++bx)
                for (int u = 0; u < 8; ++u)
                    for (int v = 0; v < 8; ++v) {
                        double sum = 0;
                        for (int y = 0; y < 8; ++y)
                            for (int x = 0; x < 8; ++x) {
                                const std::uint8_t* p = pic.row(by * 8 + y) + 4 * (bx * 8 + x);
                                const double s = rows[c][0] * p[2] + rows[c][1] * p[1] + rows[c][2] * p[0] + rows[c][3];
                                sum += s * std::cos((2 * y + 1) * u * pi / 16) * std::cos((2 * x + 1) * v * pi / 16);
                            }
                        const double scale = (u ? 1 : std::sqrt(0.5)) * (v ? 1 : std::sqrt(0.5)) / 4;
                        const int k = kNaturalToZigzag[u * 8 + v];
                        const double exact = sum * scale / q[k];
                        EXPECT_LE(std::abs(enc.SampledComponents()[c].block(bx, by)[k] - exact), 0.5 + 1e-4)
                            << "component " << c << " block " << bx << "," << by << " (" << u << "," << v << ")";
                    }
    }
}

TEST(JpegFile, StuffingAfterEveryFFAndOnePadding) {
    // Noise at quality 100 fills the data with 0xFF bytes; the reader checks each is stuffed.
    raster::Bitmap noise(64, 48, 32);
    std::mt19937 rng(3);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 256; ++x) noise.row(y)[x] = std::uint8_t(rng());
    JpegFile f = jpegtest::readJpeg(encode(noise, 100, {1, 1, 1, 1, 1, 1}));
    ASSERT_TRUE(f.ok);
    EXPECT_GT(std::count(f.scans[0].data.begin(), f.scans[0].data.end(), 0xFF), 20);

    // The bit writer itself: 0xFF is stuffed, the last byte padded with ones, and a buffer
    // estimated far too small grows instead of failing.
    ByteOutput out(0);
    for (int i = 0; i < 5000; ++i) {
        out.reserve(16);
        out.bits(0x7FF, 11);
        out.bits(0x2A, 7);
    }
    out.reserve(16);
    out.bits(0x3, 3);
    out.padBits();
    const std::vector<std::uint8_t> bytes = out.take();
    EXPECT_GT(bytes.size(), 5000u * 18 / 8);
    jpegtest::BitReader in(bytes);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(in.bits(11), 0x7FF);
        ASSERT_EQ(in.bits(7), 0x2A);
    }
    EXPECT_EQ(in.bits(3), 0x3);
    EXPECT_TRUE(in.paddedToEnd());
    EXPECT_FALSE(in.badStuffing);
}

TEST(JpegErrors, SettersRefuseBadValuesAndKeepTheirSettings) {
    cJpeg enc;
    const std::string bad = "1 Invalid Sampling Value";
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(0, 1, 1, 1, 1, 1); }), bad);
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(1, 5, 1, 1, 1, 1); }), bad);
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(5, 1, 0, 0, 0, 0); }), bad); // grey still checks H1
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(1, 1, 1, 1, 1, 0); }), bad);
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(1, 1, 0, 0, 1, 1); }), bad);
    EXPECT_EQ(thrownText([&] { enc.SetSamplingFrequencies(1, 1, 1, -1, 1, 1); }), bad);
    const raster::Bitmap pic = jpegtest::photoPicture(16, 16);
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 16, 16, 0, 0), 0);
    const auto& comps = enc.SampledComponents();
    ASSERT_EQ(comps.size(), 3u);
    EXPECT_EQ(comps[0].h * 16 + comps[0].v, 0x22); // the default layout survived

    enc.Comment("kept");
    EXPECT_EQ(thrownText([&] { enc.Comment(std::string(65534, 'x')); }), "1 Illegal Comment Length");
    EXPECT_EQ(enc.Comment(), "kept");
    enc.Comment(std::string(65533, 'y')); // the longest a segment holds: length 65535
    JpegFile f = jpegtest::readJpeg(enc.EncodeToMemory());
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(f.segments[2].body.size(), 65533u);

    ByteOutput out(0);
    Table64 t;
    t.fill(256);
    EXPECT_EQ(thrownText([&] { writeQuantizationTable(out, 0, t); }), "1 Illegal precission in Quantization Table");
    EXPECT_EQ(out.size(), 0u);
}

// Changing quality or sampling after SampleHDC does not mix new tables with old coefficients.
TEST(JpegErrors, SavedFileMatchesTheSamplingNotLaterSettings) {
    const raster::Bitmap pic = jpegtest::photoPicture(40, 24);
    cJpeg enc;
    ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 40, 24, 0, 0), 0);
    const std::vector<std::uint8_t> before = enc.EncodeToMemory();
    enc.quality(20);
    enc.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    EXPECT_EQ(enc.EncodeToMemory(), before);
    EXPECT_EQ(thrownText([] { cJpeg().EncodeToMemory(); }).substr(0, 2), "5 ");
    EXPECT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 0, 24, 0, 0), 1);
    EXPECT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), 40, 70000, 0, 0), 1);
}

class JpegSaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/kavi-jpeg-test-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        ASSERT_EQ(enc.SampleHDC(jpegtest::MemoryDc(pic), pic.width(), pic.height(), 0, 0), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::vector<std::uint8_t> read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t filesInDir() { return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {})); }
    std::string dir;
    raster::Bitmap pic = jpegtest::photoPicture(33, 21);
    cJpeg enc;
};

TEST_F(JpegSaveFile, ResultsAndNeverReplacing) {
    EXPECT_EQ(enc.SaveFile(""), 1);
    const std::string path = dir + "/cover.jpg";
    EXPECT_EQ(enc.SaveFile(path), 0);
    EXPECT_EQ(read(path), enc.EncodeToMemory());
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask); // not the temporary file's private mode
    umask(027); // a stricter umask is followed too
    EXPECT_EQ(enc.SaveFile(dir + "/strict.jpg"), 0);
    umask(mask);
    ASSERT_EQ(stat((dir + "/strict.jpg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Saved again from the same sampling to a second name: the same bytes.
    EXPECT_EQ(enc.SaveFile(dir + "/again.jpg"), 0);
    EXPECT_EQ(read(dir + "/again.jpg"), read(path));

    // An existing file, even one that only holds a link to nowhere, is left alone.
    std::ofstream(dir + "/taken.jpg") << "keep me";
    EXPECT_EQ(enc.SaveFile(dir + "/taken.jpg"), 2);
    EXPECT_EQ(read(dir + "/taken.jpg"), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    std::filesystem::create_symlink(dir + "/nowhere", dir + "/dangling.jpg");
    EXPECT_EQ(enc.SaveFile(dir + "/dangling.jpg"), 2);
    EXPECT_FALSE(std::filesystem::exists(dir + "/nowhere"));
    EXPECT_EQ(writeNewFile(path, {1, 2, 3}), NewFileResult::AlreadyExists);
    EXPECT_EQ(read(path), enc.EncodeToMemory());
    EXPECT_EQ(filesInDir(), 5u); // no temporary file is left behind
}

TEST_F(JpegSaveFile, UnwritableTargetsThrowAndLeaveNothing) {
    EXPECT_EQ(thrownText([&] { enc.SaveFile(dir + "/missing/cover.jpg"); }).substr(0, 3), "75 ");
    // A folder on a file system that is full: /dev/full takes no bytes, but is no folder, so use
    // a name inside a regular file instead, which no file system accepts.
    std::ofstream(dir + "/plain") << "x";
    EXPECT_EQ(thrownText([&] { enc.SaveFile(dir + "/plain/cover.jpg"); }).substr(0, 3), "75 ");
    EXPECT_EQ(filesInDir(), 1u);
}
