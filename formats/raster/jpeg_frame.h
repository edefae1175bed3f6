// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a JPEG file's header says about its picture, read from the markers before the first scan:
// the frame (size, sample precision, components, coding process), an Adobe colour transform and
// the EXIF orientation. No pixel is decoded. The picture decoder and the PDF writer both use it.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace raster {

enum class JpegCoding {
    BaselineHuffman, // SOF0
    ExtendedHuffman, // SOF1: sequential, Huffman codes
    ProgressiveHuffman, // SOF2
    Other, // lossless, hierarchical or arithmetic-coded
};

struct JpegFrame {
    int width = 0;
    int height = 0;
    int precision = 0; // bits per sample
    int components = 0;
    JpegCoding coding = JpegCoding::Other;
    int adobeTransform = -1; // the Adobe marker's colour transform; -1 without that marker
    bool rgbComponentIds = false; // three components named 'R', 'G', 'B': stored without the colour transform
    int orientation = 1; // EXIF orientation 1...8 (1 when absent or out of range)
};

// The frame of the JPEG data, or none when the data does not begin like a JPEG or its header
// ends or breaks before the frame header.
std::optional<JpegFrame> readJpegFrame(const std::uint8_t* data, std::size_t size);

// True for the pictures a PDF can carry as the file's own bytes: 8-bit samples, Huffman-coded
// (baseline, extended sequential or progressive), one (grey) or three (colour) components.
bool isPortableJpeg(const JpegFrame& frame);

} // namespace raster
