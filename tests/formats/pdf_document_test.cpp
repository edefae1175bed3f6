// SPDX-License-Identifier: GPL-3.0-or-later
// The PDF writer: pictures come back out of the file pixel for pixel (read by libdeflate and by
// poppler), pages keep their sizes and placements, the cross-reference table points at its objects,
// and a sink that refuses stops the writing.
#include "formats/pdf/pdf_document.h"
#include "formats/pdf/transparent_pixels.h"
#include "tests/output/print/pdf_probe.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libdeflate.h>

#include <random>
#include <string>

using namespace kavi::testing;

namespace {

// A picture of random pixels in a buffer whose rows are padded, so the stride matters.
struct NoisyPicture {
    NoisyPicture(int width, int height, int padding, unsigned seed) : width(width), height(height) {
        stride = width * 4 + padding;
        bytes.resize(std::size_t(stride) * std::size_t(height));
        std::mt19937 rng(seed);
        for (auto& b : bytes) b = std::uint8_t(rng());
    }
    pdf::BgrxPixels pixels() const { return {bytes.data(), width, height, stride}; }
    QRgb at(int x, int y) const {
        const std::uint8_t* p = bytes.data() + std::size_t(y) * std::size_t(stride) + std::size_t(x) * 4;
        return qRgb(p[2], p[1], p[0]);
    }
    int width, height;
    std::ptrdiff_t stride;
    std::vector<std::uint8_t> bytes;
};

// Undoes the zlib stream and the PNG Sub filter, as a PDF reader does.
std::vector<std::uint8_t> unfilteredRgb(const pdf::FlateData& data, int width, int height) {
    const std::size_t rowBytes = std::size_t(width) * 3 + 1;
    std::vector<std::uint8_t> rows(rowBytes * std::size_t(height));
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    std::size_t got = 0;
    const auto result = libdeflate_zlib_decompress(d, data.bytes.data(), data.size, rows.data(), rows.size(), &got);
    libdeflate_free_decompressor(d);
    if (result != LIBDEFLATE_SUCCESS || got != rows.size()) return {};
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rows.data() + rowBytes * std::size_t(y);
        if (row[0] != 1) return {}; // every row says "Sub"
        for (std::size_t i = 1; i < rowBytes; ++i)
            rgb.push_back(std::uint8_t(row[i] + (i > 3 ? rgb[rgb.size() - 3] : 0)));
    }
    return rgb;
}

std::string writeToString(const pdf::Document& document) {
    std::string bytes;
    EXPECT_TRUE(document.write([&bytes](const void* data, std::size_t size) {
        bytes.append(static_cast<const char*>(data), size);
        return true;
    }));
    return bytes;
}

QString saved(const QTemporaryDir& dir, const std::string& bytes) {
    const QString path = dir.filePath("doc.pdf");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), qint64(bytes.size()));
    return path;
}

} // namespace

TEST(PdfPicture, FilteredAndCompressedRowsGiveBackEveryPixel) {
    for (const auto& [width, height, padding] : {std::tuple{1, 1, 0}, {1, 7, 4}, {5, 3, 12}, {333, 41, 8}}) {
        const NoisyPicture picture(width, height, padding, unsigned(width * 31 + height));
        const pdf::FlateData data = pdf::compressRows(picture.pixels());
        const std::vector<std::uint8_t> rgb = unfilteredRgb(data, width, height);
        ASSERT_EQ(rgb.size(), std::size_t(width) * std::size_t(height) * 3) << width << "x" << height;
        bool same = true;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
                same = same && qRgb(p[0], p[1], p[2]) == picture.at(x, y);
            }
        EXPECT_TRUE(same) << width << "x" << height;
    }
}

TEST(PdfDocument, APdfReaderGetsThePicturesBackLosslesslyAndThePagesAtTheirSizes) {
    const NoisyPicture first(37, 23, 4, 1), second(16, 40, 0, 2);
    pdf::Document document;
    document.beginPage(1008, 612);
    document.drawPicture(first.pixels(), 20, 10, 769.5, 513);
    document.beginPage(612, 792);
    document.drawPicture(second.pixels(), 10, 40, 342, 342);
    document.drawPicture(first.pixels(), 10.25, 418.15, 342, 342);
    EXPECT_EQ(document.pageCount(), 2);
    QTemporaryDir dir;
    const QString pdf = saved(dir, writeToString(document));

    const auto sizes = pdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], QSizeF(1008, 612));
    EXPECT_EQ(sizes[1], QSizeF(612, 792));

    // poppler lists three lossless RGB pictures at their own sizes and writes them out unchanged.
    const QString list = runTool("pdfimages", {"-list", pdf});
    EXPECT_EQ(list.count(QRegularExpression(R"(\srgb\s+3\s+8\s+image\s)")), 3) << list.toStdString();
    runTool("pdfimages", {"-png", "-f", "1", "-l", "1", pdf, dir.filePath("img")});
    const QImage back(dir.filePath("img-000.png"));
    ASSERT_EQ(back.size(), QSize(37, 23));
    int differing = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) differing += (back.pixel(x, y) & 0xffffff) != (first.at(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);
}

TEST(PdfDocument, PlacementsLandWhereTheyAreAskedFromTheTopLeftCorner) {
    std::vector<std::uint8_t> dark(4 * 4 * 4, 30);
    const pdf::BgrxPixels picture{dark.data(), 4, 4, 16};
    pdf::Document document;
    document.beginPage(612, 1008);
    document.drawPicture(picture, 72, 144.5, 216, 36.25); // 1 in, ~2 in, 3 in x ~0.5 in
    QTemporaryDir dir;
    const QString pdf = saved(dir, writeToString(document));
    const int dpi = 200;
    const QRect box = inkBox(renderPdfPage(pdf, 1, dpi));
    EXPECT_NEAR(box.left() / double(dpi), 1.0, 0.01);
    EXPECT_NEAR(box.top() / double(dpi), 144.5 / 72, 0.01);
    EXPECT_NEAR(box.width() / double(dpi), 3.0, 0.01);
    EXPECT_NEAR(box.height() / double(dpi), 36.25 / 72, 0.01);
}

TEST(PdfDocument, LinesAreDrawnOverPicturesFromTheTopLeftCorner) {
    std::vector<std::uint8_t> white(4 * 4 * 4, 255);
    pdf::Document document;
    document.beginPage(612, 792);
    document.drawPicture({white.data(), 4, 4, 16}, 0, 0, 612, 792);
    document.drawLine(72, 216, 72, 288, 1); // 1 in across, from 3 in down to 4 in down
    QTemporaryDir dir;
    const int dpi = 144;
    const QRect box = inkBox(renderPdfPage(saved(dir, writeToString(document)), 1, dpi));
    EXPECT_NEAR(box.center().x() / double(dpi), 1.0, 0.01) << "the line shows over the white picture";
    EXPECT_NEAR(box.top() / double(dpi), 3.0, 0.01);
    EXPECT_NEAR(box.bottom() / double(dpi), 4.0, 0.02);
    EXPECT_LE(box.width(), 4);
}

TEST(PdfDocument, CrossReferenceTablePointsAtEachObject) {
    const NoisyPicture picture(9, 9, 0, 3);
    pdf::Document document;
    document.drawPicture(picture.pixels(), 0, 0, 10, 10); // a first page of Letter size appears
    document.beginPage(612, 792);
    const std::string bytes = writeToString(document);
    ASSERT_EQ(document.pageCount(), 2);

    const std::size_t startxref = bytes.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    const std::size_t xref = std::stoul(bytes.substr(startxref + 10));
    ASSERT_EQ(bytes.compare(xref, 5, "xref\n"), 0);
    std::size_t pos = bytes.find('\n', xref + 5) + 1; // after "0 N"
    const int objects = std::stoi(bytes.substr(bytes.find(' ', xref + 5) + 1));
    EXPECT_EQ(objects, 1 + 2 + 2 * 2 + 1); // free entry, catalogue, page tree, two pages, one picture
    pos += 20; // the free entry
    for (int n = 1; n < objects; ++n, pos += 20) {
        ASSERT_EQ(bytes[pos + 19], '\n');
        const std::size_t offset = std::stoul(bytes.substr(pos, 10));
        EXPECT_EQ(bytes.compare(offset, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0) << n;
    }
    EXPECT_NE(bytes.find("/Size " + std::to_string(objects)), std::string::npos);
}

TEST(PdfDocument, ASinkThatRefusesStopsTheWriting) {
    const NoisyPicture picture(50, 50, 0, 4);
    pdf::Document document;
    document.drawPicture(picture.pixels(), 0, 0, 100, 100);
    const std::size_t whole = writeToString(document).size();
    for (const std::size_t allowed : {std::size_t(0), std::size_t(1), whole / 2, whole - 1}) {
        std::size_t taken = 0;
        int callsAfterRefusal = 0;
        bool refused = false;
        const bool ok = document.write([&](const void*, std::size_t size) {
            if (refused) ++callsAfterRefusal;
            if (taken + size > allowed) return !(refused = true);
            taken += size;
            return true;
        });
        EXPECT_FALSE(ok) << allowed;
        EXPECT_EQ(callsAfterRefusal, 0) << allowed;
    }
}

// A picture whose left half is red and right half blue, turned by quarter turns: clockwise, the
// left half goes to the top. A fill drawn after a picture lies over it, one drawn before under it,
// and a half-opaque picture mixes with the fill under it.
TEST(PdfDocument, LaidPicturesTurnClockwiseAndEverythingKeepsTheOrderItWasDrawnIn) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.insert(pixels.end(), {std::uint8_t(x < 4 ? 0 : 255), 0, std::uint8_t(x < 4 ? 255 : 0), 255}); // BGRA
    const pdf::BgrxPixels picture{pixels.data(), 8, 4, 32};
    pdf::Document document;
    document.beginPage(200, 100);
    document.fillRectangle({0, 0, 200, 100}, 0x00FF00); // under everything
    document.drawPicture(picture, 10, 10, 20, 40, {std::nullopt, 1, 1}, false);
    document.drawPicture(picture, 50, 10, 20, 40, {std::nullopt, 3, 1}, false);
    document.drawPicture(picture, 90, 10, 40, 20, {pdf::Document::ClipRect{90, 10, 20, 20}, 2, 0.5}, false);
    document.fillRectangle({10, 45, 20, 5}, 0xFFFFFF); // over the first picture's lower end
    QTemporaryDir dir;
    const QImage page = renderPdfPage(saved(dir, writeToString(document)), 1, 72);
    ASSERT_EQ(page.size(), QSize(200, 100));
    EXPECT_EQ(page.pixelColor(20, 15), QColor(255, 0, 0)) << "a quarter turn clockwise: left half on top";
    EXPECT_EQ(page.pixelColor(20, 40), QColor(0, 0, 255));
    EXPECT_EQ(page.pixelColor(20, 47), QColor(255, 255, 255)) << "the later fill covers the picture";
    EXPECT_EQ(page.pixelColor(60, 15), QColor(0, 0, 255)) << "three quarter turns: right half on top";
    // Half a turn puts blue on the left; at half opacity it mixes with the green under it, and the
    // clip keeps the picture's right half off the page.
    const QColor mixed = page.pixelColor(100, 20);
    EXPECT_NEAR(mixed.blue(), 128, 8);
    EXPECT_NEAR(mixed.green(), 128, 8);
    EXPECT_EQ(page.pixelColor(120, 20), QColor(0, 255, 0));
}

// A transparent pixel takes the colour of its most opaque direct neighbour, never a colour that
// another transparent pixel has just been given, and white where no neighbour shows; visible pixels
// and every pixel's coverage stay as they are.
TEST(PdfPicture, TransparentPixelsTakeTheirVisibleNeighboursColourOnly) {
    constexpr int w = 4, h = 3, stride = w * 4 + 4;
    std::vector<std::uint8_t> bytes(std::size_t(stride * h), 0);
    const auto at = [&](int x, int y) { return bytes.data() + y * stride + x * 4; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = at(x, y);
            p[0] = 255, p[1] = 0, p[2] = 255, p[3] = 0; // hidden magenta
        }
    std::uint8_t* red = at(1, 1);
    red[0] = 0, red[1] = 0, red[2] = 255, red[3] = 255;
    std::uint8_t* green = at(2, 1);
    green[0] = 0, green[1] = 200, green[2] = 0, green[3] = 128;
    pdf::spreadColourUnderTransparency(bytes.data(), w, h, stride);
    const auto colour = [&](int x, int y) { return qRgba(at(x, y)[2], at(x, y)[1], at(x, y)[0], at(x, y)[3]); };
    EXPECT_EQ(colour(1, 1), qRgba(255, 0, 0, 255));
    EXPECT_EQ(colour(2, 1), qRgba(0, 200, 0, 128));
    EXPECT_EQ(colour(0, 1), qRgba(255, 0, 0, 0));
    EXPECT_EQ(colour(1, 0), qRgba(255, 0, 0, 0));
    EXPECT_EQ(colour(2, 2), qRgba(0, 200, 0, 0));
    EXPECT_EQ(colour(3, 1), qRgba(0, 200, 0, 0));
    EXPECT_EQ(colour(0, 0), qRgba(255, 255, 255, 0)) << "its neighbours were transparent too";
    EXPECT_EQ(colour(3, 2), qRgba(255, 255, 255, 0));
}
