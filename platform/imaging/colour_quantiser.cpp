// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/colour_quantiser.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace kavi {

namespace {

constexpr int kMaxColours = 256;
constexpr int kBits = 5; // histogram precision per channel
constexpr int kLevels = 1 << kBits;
constexpr int kShift = 8 - kBits;

inline std::uint32_t rgbKey(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16); }
inline int cell(int r, int g, int b) { return (r << (2 * kBits)) | (g << kBits) | b; }

// The exact palette when the picture has few enough colours; empty otherwise.
bool exactPalette(const std::uint8_t* pixels, int width, int height, std::size_t stride, PalettePicture& out) {
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    index.reserve(kMaxColours * 2);
    out.indices.resize(std::size_t(width) * std::size_t(height));
    std::uint8_t* dst = out.indices.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* p = pixels + stride * std::size_t(y);
        for (int x = 0; x < width; ++x, p += 4) {
            const std::uint32_t key = rgbKey(p);
            auto it = index.find(key);
            if (it == index.end()) {
                if (index.size() == kMaxColours) return false;
                it = index.emplace(key, std::uint8_t(index.size())).first;
                out.palette.push_back({p[2], p[1], p[0]});
            }
            *dst++ = it->second;
        }
    }
    return true;
}

struct Cell {
    std::uint64_t count = 0, r = 0, g = 0, b = 0; // count and full-precision sums
};

struct Box {
    int lo[3], hi[3]; // inclusive cell bounds, channels red, green, blue
    std::uint64_t count = 0;
    double error = 0; // weighted squared spread, the measure of which box to cut next
};

class Histogram {
public:
    explicit Histogram(const std::uint8_t* pixels, int width, int height, std::size_t stride)
        : cells_(kLevels * kLevels * kLevels) {
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* p = pixels + stride * std::size_t(y);
            for (int x = 0; x < width; ++x, p += 4) {
                Cell& c = cells_[cell(p[2] >> kShift, p[1] >> kShift, p[0] >> kShift)];
                ++c.count;
                c.r += p[2];
                c.g += p[1];
                c.b += p[0];
            }
        }
    }

    template <class F>
    void forEach(const Box& box, F f) const {
        for (int r = box.lo[0]; r <= box.hi[0]; ++r)
            for (int g = box.lo[1]; g <= box.hi[1]; ++g)
                for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                    const Cell& c = cells_[cell(r, g, b)];
                    if (c.count) f(r, g, b, c);
                }
    }

    // Shrinks the box to the cells in use and measures its spread.
    void measure(Box& box) const {
        int lo[3] = {kLevels, kLevels, kLevels}, hi[3] = {-1, -1, -1};
        std::uint64_t n = 0;
        double s[3] = {0, 0, 0}, q = 0;
        forEach(box, [&](int r, int g, int b, const Cell& c) {
            const int v[3] = {r, g, b};
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], v[k]);
                hi[k] = std::max(hi[k], v[k]);
            }
            n += c.count;
            s[0] += double(c.r);
            s[1] += double(c.g);
            s[2] += double(c.b);
            const double cr = double(c.r) / c.count, cg = double(c.g) / c.count, cb = double(c.b) / c.count;
            q += c.count * (cr * cr + cg * cg + cb * cb);
        });
        box.count = n;
        if (!n) return;
        std::copy(lo, lo + 3, box.lo);
        std::copy(hi, hi + 3, box.hi);
        box.error = q - (s[0] * s[0] + s[1] * s[1] + s[2] * s[2]) / double(n);
    }

    // Cuts along the widest weighted channel at the weighted median; false when it cannot be cut.
    bool split(Box& box, Box& other) const {
        std::array<std::vector<std::uint64_t>, 3> along;
        for (auto& a : along) a.assign(kLevels, 0);
        forEach(box, [&](int r, int g, int b, const Cell& c) {
            along[0][r] += c.count;
            along[1][g] += c.count;
            along[2][b] += c.count;
        });
        int axis = -1;
        double widest = -1;
        for (int k = 0; k < 3; ++k) {
            if (box.lo[k] == box.hi[k]) continue;
            double mean = 0, var = 0;
            for (int v = box.lo[k]; v <= box.hi[k]; ++v) mean += double(v) * along[k][v];
            mean /= double(box.count);
            for (int v = box.lo[k]; v <= box.hi[k]; ++v) var += (v - mean) * (v - mean) * along[k][v];
            if (var > widest) {
                widest = var;
                axis = k;
            }
        }
        if (axis < 0) return false;
        std::uint64_t seen = 0;
        int cut = box.lo[axis];
        for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
            seen += along[axis][v];
            cut = v;
            if (seen * 2 >= box.count) break;
        }
        other = box;
        box.hi[axis] = cut;
        other.lo[axis] = cut + 1;
        measure(box);
        measure(other);
        return true;
    }

    PaletteColour average(const Box& box) const {
        std::uint64_t n = 0, r = 0, g = 0, b = 0;
        forEach(box, [&](int, int, int, const Cell& c) {
            n += c.count;
            r += c.r;
            g += c.g;
            b += c.b;
        });
        return {std::uint8_t((r + n / 2) / n), std::uint8_t((g + n / 2) / n), std::uint8_t((b + n / 2) / n)};
    }

private:
    std::vector<Cell> cells_;
};

std::vector<PaletteColour> cutPalette(const Histogram& histogram) {
    std::vector<Box> boxes(1);
    boxes[0] = Box{{0, 0, 0}, {kLevels - 1, kLevels - 1, kLevels - 1}};
    histogram.measure(boxes[0]);
    while (boxes.size() < kMaxColours) {
        auto worst =
            std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0) break;
        Box other;
        if (!histogram.split(*worst, other)) {
            worst->error = 0;
            continue;
        }
        boxes.push_back(other);
    }
    std::vector<PaletteColour> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes) palette.push_back(histogram.average(box));
    return palette;
}

// Nearest palette entry, remembered per histogram cell (the cell's nearest is a close estimate
// for the colours in it and saves a 256-entry search per pixel).
class NearestColour {
public:
    explicit NearestColour(const std::vector<PaletteColour>& palette)
        : palette_(palette), cache_(kLevels * kLevels * kLevels, -1) {}

    int operator()(int r, int g, int b) {
        int& hit = cache_[cell(r >> kShift, g >> kShift, b >> kShift)];
        if (hit < 0) hit = search(r, g, b);
        return hit;
    }

private:
    int search(int r, int g, int b) const {
        int best = 0, bestDistance = 1 << 30;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int dr = r - palette_[i].red, dg = g - palette_[i].green, db = b - palette_[i].blue;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = int(i);
            }
        }
        return best;
    }

    const std::vector<PaletteColour>& palette_;
    std::vector<int> cache_;
};

inline int clampByte(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

void diffuse(const std::uint8_t* pixels, int width, int height, std::size_t stride, PalettePicture& out) {
    NearestColour nearest(out.palette);
    out.indices.resize(std::size_t(width) * std::size_t(height));
    // Error of this row and the next, in sixteenths, with one spare column on either side; the two
    // rows take turns in one buffer.
    const std::size_t rowLength = std::size_t(width + 2) * 3;
    std::vector<int> errors(2 * rowLength, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* p = pixels + stride * std::size_t(y);
        std::uint8_t* dst = out.indices.data() + std::size_t(width) * std::size_t(y);
        int* thisRow = errors.data() + rowLength * std::size_t(y & 1);
        int* nextRow = errors.data() + rowLength * std::size_t((y + 1) & 1);
        std::fill(nextRow, nextRow + rowLength, 0);
        for (int x = 0; x < width; ++x, p += 4) {
            int* e = thisRow + std::size_t(x + 1) * 3;
            const int want[3] = {clampByte(p[2] + e[0] / 16), clampByte(p[1] + e[1] / 16), clampByte(p[0] + e[2] / 16)};
            const int i = nearest(want[0], want[1], want[2]);
            dst[x] = std::uint8_t(i);
            const PaletteColour& got = out.palette[std::size_t(i)];
            const int err[3] = {want[0] - got.red, want[1] - got.green, want[2] - got.blue};
            int* right = e + 3;
            int* below = nextRow + std::size_t(x + 1) * 3;
            for (int k = 0; k < 3; ++k) {
                right[k] += err[k] * 7;
                below[k - 3] += err[k] * 3;
                below[k] += err[k] * 5;
                below[k + 3] += err[k];
            }
        }
    }
}

} // namespace

PalettePicture quantiseTo256(const std::uint8_t* pixels, int width, int height, std::size_t stride) {
    PalettePicture out;
    if (exactPalette(pixels, width, height, stride, out)) return out;
    out = {};
    const Histogram histogram(pixels, width, height, stride);
    out.palette = cutPalette(histogram);
    diffuse(pixels, width, height, stride, out);
    return out;
}

} // namespace kavi
