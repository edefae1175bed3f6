// SPDX-License-Identifier: GPL-3.0-or-later
// Curved disc text, rendered at 600 dpi: every letter of the title and of the subtitle lies with its middle
// on the circle asked (within 0.3 mm), the letters come left to right in reading order, and they stand
// upright to a reader (the title's tops outwards, the subtitle's towards the centre).
#include "render/cover_text_layout.h"
#include "render/disc_text_outlines.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace kavi;

namespace {

constexpr double kDpi = 600;
constexpr double kPixelsPerPoint = kDpi / 72;
constexpr double kMmPerPixel = 25.4 / kDpi;

struct Letter {
    double boxX, boxY; // the middle of its ink's box, pixels
    double inkX, inkY; // the mean of its ink
    int pixels = 0;
};

// The connected pieces of ink on the picture (8-neighbours), each a letter when no letter has two pieces.
std::vector<Letter> piecesOf(const QImage& page) {
    const int w = page.width(), h = page.height();
    std::vector<int> seen(std::size_t(w * h), 0);
    std::vector<Letter> letters;
    for (int start = 0; start < w * h; ++start) {
        if (seen[std::size_t(start)] || qGray(page.pixel(start % w, start / w)) > 128) continue;
        int left = w, right = -1, top = h, bottom = -1;
        double sx = 0, sy = 0;
        int count = 0;
        std::vector<int> todo{start};
        seen[std::size_t(start)] = 1;
        while (!todo.empty()) {
            const int p = todo.back();
            todo.pop_back();
            const int x = p % w, y = p / w;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            sx += x, sy += y, ++count;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const int q = ny * w + nx;
                    if (seen[std::size_t(q)] || qGray(page.pixel(nx, ny)) > 128) continue;
                    seen[std::size_t(q)] = 1;
                    todo.push_back(q);
                }
        }
        if (count < 20) continue; // a speck of antialiasing
        letters.push_back(
            {(left + right + 1) / 2.0, (top + bottom + 1) / 2.0, sx / count + 0.5, sy / count + 0.5, count});
    }
    return letters;
}

// The pieces of ink of the laid-out text on a picture of the ring's square at 600 dpi, split into those
// above and below the centre, each side sorted left to right.
struct Rendered {
    double centre; // pixels
    std::vector<Letter> top, bottom;
};
Rendered render(const DiscTextOutlines& laid, Length outer) {
    const int side = int(std::ceil(outer.points() * 2 * kPixelsPerPoint));
    QImage page(side, side, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kPixelsPerPoint, kPixelsPerPoint);
        paintTextOutlines(painter, laid.outlines);
    }
    Rendered r{outer.points() * kPixelsPerPoint, {}, {}};
    for (const Letter& l : piecesOf(page)) (l.boxY < r.centre ? r.top : r.bottom).push_back(l);
    const auto byX = [](const Letter& a, const Letter& b) { return a.boxX < b.boxX; };
    std::sort(r.top.begin(), r.top.end(), byX);
    std::sort(r.bottom.begin(), r.bottom.end(), byX);
    return r;
}

// The mean x of an outline's points, in points on the square.
double meanX(const FilledOutline& fill) {
    double sum = 0;
    for (const OutlineStep& s : fill.steps) sum += s.to.x;
    return fill.steps.empty() ? 0 : sum / double(fill.steps.size());
}

const Length kOuter = Length::fromMillimetres(58.5), kHole = Length::fromMillimetres(20.5);

TEST(DiscText, LetterMiddlesLieOnTheCircleAskedAndReadLeftToRight) {
    DiscText text;
    // Capital I is a bar, whose box's middle is its middle however it is turned; spaced so no two touch.
    text.title = "I I I I I I I";
    text.subtitle = "I I I I I";
    text.titlePoints = 16;
    const DiscTextOutlines laid = discTextOutlines(text, kOuter, kHole);
    ASSERT_EQ(laid.titleLetters, 7);
    ASSERT_EQ(laid.outlines.fills.size(), 12u);
    EXPECT_LT(laid.titleRadius + Length::fromPoints(8), kOuter); // inside the ring
    EXPECT_GT(laid.subtitleRadius - Length::fromPoints(5), kHole);

    const Rendered r = render(laid, kOuter);
    ASSERT_EQ(r.top.size(), 7u);
    ASSERT_EQ(r.bottom.size(), 5u);
    for (const auto& [letters, radius] :
         {std::pair{&r.top, laid.titleRadius}, std::pair{&r.bottom, laid.subtitleRadius}})
        for (const Letter& l : *letters)
            EXPECT_NEAR(std::hypot(l.boxX - r.centre, l.boxY - r.centre) * kMmPerPixel, radius.millimetres(), 0.3)
                << "letter at " << l.boxX << "," << l.boxY;
    // The outlines come in the text's order: left to right on the page, along both arcs.
    for (std::size_t i = 1; i < laid.outlines.fills.size(); ++i)
        if (int(i) != laid.titleLetters) {
            EXPECT_GT(meanX(laid.outlines.fills[i]), meanX(laid.outlines.fills[i - 1])) << "letter " << i;
        }
}

TEST(DiscText, LettersStandUprightToTheReaderOnBothArcs) {
    DiscText text;
    text.title = "T T T T T";
    text.subtitle = "T T T T T";
    const DiscTextOutlines laid = discTextOutlines(text, kOuter, kHole);
    const Rendered r = render(laid, kOuter);
    ASSERT_EQ(r.top.size(), 5u);
    ASSERT_EQ(r.bottom.size(), 5u);
    // A T's ink gathers at its bar: farther from the centre than its box's middle when its top points
    // outwards (the title), nearer when it points to the centre (the subtitle, read from below).
    const auto distance = [&](double x, double y) { return std::hypot(x - r.centre, y - r.centre); };
    for (const Letter& l : r.top) EXPECT_GT(distance(l.inkX, l.inkY), distance(l.boxX, l.boxY) + 3);
    for (const Letter& l : r.bottom) EXPECT_LT(distance(l.inkX, l.inkY), distance(l.boxX, l.boxY) - 3);
}

TEST(DiscText, NoTextGivesNoOutlinesAndASmallRingKeepsTextOffTheHole) {
    EXPECT_TRUE(discTextOutlines({}, Length::fromMillimetres(58.5), Length::fromMillimetres(20.5)).outlines.empty());
    DiscText text;
    text.title = "Mini";
    const Length outer = Length::fromMillimetres(12), hole = Length::fromMillimetres(9);
    const DiscTextOutlines laid = discTextOutlines(text, outer, hole);
    EXPECT_GE(laid.titleRadius, (outer + hole) / 2);
}

} // namespace
