// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// cJpeg: a baseline JPEG writer. SampleHDC samples a rectangle of pixels into YCbCr components,
// transforms and quantizes them at once; SaveFile later writes a JFIF file with Huffman tables
// made for this image. Failures of the setters and tables are thrown as JpegError.
#include "jpeg/component.h"
#include "jpeg/component_symbols.h"
#include "jpeg/quant_tables.h"

#include "formats/raster/device_context.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace jpeg {

class cJpeg {
public:
    cJpeg();

    // Compression quality 1...100 (default 75); other values are ignored.
    int quality() const { return quality_; }
    void quality(int vData);

    // Luminance factors H1, V1 and chrominance factors H2, V2, H3, V3, each 1...4. H2, V2, H3 and V3
    // all 0 select a grey image (one component, sampled 1 x 1). Throws "Invalid Sampling Value"
    // and keeps the previous layout when a factor is out of range.
    void SetSamplingFrequencies(int H1, int V1, int H2, int V2, int H3, int V3);

    // Samples the lWidth x lHeight rectangle at (lSrcLeft, lSrcTop) of the device context's bitmap
    // and stores the quantized coefficients of every component; subsampled components are drawn by
    // a HALFTONE stretch. Pixels outside the source read as black. Result 0, or 1 when the scratch
    // pictures cannot be made (a size outside 1...65535, no memory) or the context has no bitmap.
    int SampleHDC(const raster::DeviceContext* lHDC, int lWidth, int lHeight, int lSrcLeft, int lSrcTop);

    // The comment written into the file; empty means none. Throws "Illegal Comment Length" for
    // more than 65533 bytes, which a segment cannot hold.
    const std::string& Comment() const { return comment_; }
    void Comment(const std::string& text);

    // Writes the last sampling to a new file. Result 0 = written, 1 = empty file name, 2 = a file
    // of that name exists (it is never replaced). Throws JpegError when nothing has been sampled or
    // the file cannot be written; no partial file is left behind.
    int SaveFile(const std::string& FileName);

    // The bytes SaveFile writes.
    std::vector<std::uint8_t> EncodeToMemory() const;

    // The components of the last sampling with their coefficient stores (empty before any).
    const std::vector<Component>& SampledComponents() const { return sampled_.components; }

    // Quantization table of slot 0 (luminance) or 1 (chrominance), zig-zag order.
    const Table64& QuantizationTable(int slot) const { return tables_[std::size_t(slot)]; }

    // The fixed second comment of every file.
    static const char* const kBanner;

private:
    struct Layout {
        int id, h, v, table;
    };
    // Everything SaveFile needs from one sampling, so that later changes of quality or sampling
    // apply to the next sampling instead of mixing with the stored coefficients.
    struct Sampled {
        int width = 0, height = 0;
        std::vector<Component> components;
        std::vector<ComponentSymbols> symbols; // one for each component
        std::array<Table64, 2> tables{};
    };

    int quality_ = 0;
    std::array<Table64, 4> tables_{};
    std::array<Divisors, 4> divisors_{};
    std::vector<Layout> layout_;
    std::string comment_;
    Sampled sampled_;
};

} // namespace jpeg
