// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/jpeg_frame.h"

#include <algorithm>

namespace raster {

namespace {

// Reads big- or little-endian numbers inside a bounded block; out-of-range reads give 0.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    bool bigEndian = true;
    unsigned u8(std::size_t at) const { return at < size ? data[at] : 0; }
    unsigned u16(std::size_t at) const {
        if (at + 2 > size) return 0;
        return bigEndian ? unsigned(data[at]) << 8 | data[at + 1] : unsigned(data[at + 1]) << 8 | data[at];
    }
    std::uint32_t u32(std::size_t at) const {
        if (at + 4 > size) return 0;
        return bigEndian ? std::uint32_t(u16(at)) << 16 | u16(at + 2) : std::uint32_t(u16(at + 2)) << 16 | u16(at);
    }
};

// The orientation tag (0x0112) of the first image directory of an EXIF block (after "Exif\0\0").
int exifOrientation(const std::uint8_t* tiff, std::size_t size) {
    Bytes b{tiff, size};
    if (size < 8) return 1;
    if (tiff[0] == 'I' && tiff[1] == 'I') b.bigEndian = false;
    else if (!(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
    if (b.u16(2) != 42) return 1;
    const std::uint32_t directory = b.u32(4);
    if (directory > size || size - directory < 2) return 1;
    const unsigned entries = b.u16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + std::size_t(i) * 12;
        if (entry + 12 > size) break;
        if (b.u16(entry) != 0x0112) continue;
        if (b.u16(entry + 2) != 3 || b.u32(entry + 4) < 1) return 1; // one SHORT
        const unsigned value = b.u16(entry + 8);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

JpegCoding codingOf(unsigned marker) {
    switch (marker) {
    case 0xC0: return JpegCoding::BaselineHuffman;
    case 0xC1: return JpegCoding::ExtendedHuffman;
    case 0xC2: return JpegCoding::ProgressiveHuffman;
    default: return JpegCoding::Other;
    }
}

bool isFrameMarker(unsigned m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

} // namespace

std::optional<JpegFrame> readJpegFrame(const std::uint8_t* data, std::size_t size) {
    const Bytes b{data, size};
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    JpegFrame frame;
    bool haveFrame = false, haveOrientation = false;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return std::nullopt;
        const unsigned marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9) break;
        const std::size_t length = b.u16(at + 2);
        if (length < 2 || at + 2 + length > size) break;
        const std::size_t body = at + 4, bodySize = length - 2;
        if (marker == 0xDA) break; // the first scan: the header is over
        if (isFrameMarker(marker) && !haveFrame && bodySize >= 6) {
            frame.precision = int(b.u8(body));
            frame.height = int(b.u16(body + 1));
            frame.width = int(b.u16(body + 3));
            frame.components = int(b.u8(body + 5));
            frame.coding = codingOf(marker);
            if (frame.components == 3 && bodySize >= 6 + 9)
                frame.rgbComponentIds = b.u8(body + 6) == 'R' && b.u8(body + 9) == 'G' && b.u8(body + 12) == 'B';
            haveFrame = true;
        } else if (marker == 0xE1 && !haveOrientation && bodySize >= 6 &&
                   std::equal(data + body, data + body + 6, "Exif\0\0")) {
            frame.orientation = exifOrientation(data + body + 6, bodySize - 6);
            haveOrientation = true;
        } else if (marker == 0xEE && bodySize >= 12 && std::equal(data + body, data + body + 5, "Adobe")) {
            frame.adobeTransform = int(b.u8(body + 11));
        }
        at += 2 + length;
    }
    if (!haveFrame || frame.width <= 0 || frame.height <= 0) return std::nullopt;
    return frame;
}

bool isPortableJpeg(const JpegFrame& frame) {
    if (frame.precision != 8 || frame.coding == JpegCoding::Other) return false;
    if (frame.components == 1) return true;
    // Three components go through a reader's colour transform unless an Adobe marker says otherwise;
    // components named R, G, B without that marker would come out in the wrong colours.
    return frame.components == 3 && !(frame.rgbComponentIds && frame.adobeTransform < 0);
}

} // namespace raster
