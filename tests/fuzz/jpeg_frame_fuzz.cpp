// SPDX-License-Identifier: GPL-3.0-or-later
// The JPEG header reader over random bytes: it never reads past the data, gives an orientation of
// 1 to 8, and calls portable only 8-bit Huffman-coded frames of one or three components; the PDF
// writer takes exactly the portable ones.
#include "tests/fuzz/fuzz_support.h"

#include "formats/pdf/pdf_document.h"
#include "formats/raster/jpeg_frame.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    // A copy of exactly the input's length, so that any read past its end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(bytes.data(), bytes.size());
    pdf::Document document;
    const bool drawn = document.drawJpeg(bytes.data(), bytes.size(), 0, 0, 72, 72);
    if (!frame) {
        FUZZ_CHECK(!drawn, "data without a frame went into a PDF");
        return 0;
    }
    FUZZ_CHECK(frame->orientation >= 1 && frame->orientation <= 8, "an orientation out of range");
    const bool portable = raster::isPortableJpeg(*frame);
    if (portable) {
        FUZZ_CHECK(frame->precision == 8, "a portable frame that is not 8-bit");
        FUZZ_CHECK(frame->components == 1 || frame->components == 3, "a portable frame with other components");
        FUZZ_CHECK(frame->coding != raster::JpegCoding::Other, "a portable frame that is not Huffman-coded");
    }
    FUZZ_CHECK(drawn == portable, "the PDF writer and the header reader disagree");
    return 0;
}
