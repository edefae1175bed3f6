// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/segments.h"

#include "jpeg/jpeg_error.h"

namespace jpeg {

namespace {
constexpr std::uint8_t SOI = 0xD8, EOI = 0xD9, APP0 = 0xE0, COM = 0xFE, DQT = 0xDB, SOF0 = 0xC0, DHT = 0xC4, SOS = 0xDA;
}

void writeStartOfImage(ByteOutput& out) { out.marker(SOI); }
void writeEndOfImage(ByteOutput& out) { out.marker(EOI); }

void writeJfifHeader(ByteOutput& out) {
    out.marker(APP0);
    out.word(16);
    for (char c : {'J', 'F', 'I', 'F', '\0'}) out.byte(std::uint8_t(c));
    out.byte(1); // version 1.01
    out.byte(1);
    out.byte(0); // no density units: the density is an aspect ratio
    out.word(1);
    out.word(1);
    out.byte(0); // no thumbnail
    out.byte(0);
}

void writeComment(ByteOutput& out, const std::string& text) {
    out.marker(COM);
    out.word(unsigned(text.size() + 2));
    for (char c : text) out.byte(std::uint8_t(c));
}

void writeQuantizationTable(ByteOutput& out, int slot, const Table64& zigzagTable) {
    for (std::uint16_t entry : zigzagTable)
        if (entry > 255) raise(kIllegalQuantPrecision);
    out.marker(DQT);
    out.word(2 + 1 + 64);
    out.byte(std::uint8_t(slot)); // precision 0 (8-bit entries) in the high nibble
    for (std::uint16_t entry : zigzagTable) out.byte(std::uint8_t(entry));
}

void writeFrameHeader(ByteOutput& out, int width, int height, const std::vector<Component>& components) {
    out.marker(SOF0);
    out.word(unsigned(8 + 3 * components.size()));
    out.byte(8);
    out.word(unsigned(height));
    out.word(unsigned(width));
    out.byte(std::uint8_t(components.size()));
    for (const Component& c : components) {
        out.byte(std::uint8_t(c.id));
        out.byte(std::uint8_t(c.h * 16 + c.v));
        out.byte(std::uint8_t(c.table));
    }
}

void writeHuffmanTable(ByteOutput& out, int tableClass, int slot, const HuffmanSpec& huffman) {
    out.marker(DHT);
    out.word(unsigned(2 + 1 + 16 + huffman.values.size()));
    out.byte(std::uint8_t(tableClass * 16 + slot));
    for (int len = 1; len <= 16; ++len) out.byte(huffman.bits[std::size_t(len)]);
    for (std::uint8_t v : huffman.values) out.byte(v);
}

void writeScanHeader(ByteOutput& out, const std::vector<Component>& components, const std::vector<int>& scan) {
    out.marker(SOS);
    out.word(unsigned(6 + 2 * scan.size()));
    out.byte(std::uint8_t(scan.size()));
    for (int index : scan) {
        const Component& c = components[std::size_t(index)];
        out.byte(std::uint8_t(c.id));
        out.byte(std::uint8_t(c.table * 16 + c.table));
    }
    out.byte(0); // spectral selection start
    out.byte(63); // spectral selection end
    out.byte(0); // successive approximation
}

} // namespace jpeg
