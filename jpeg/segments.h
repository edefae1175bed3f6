// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The marker segments of a baseline JFIF file.
#include "jpeg/byte_output.h"
#include "jpeg/component.h"
#include "jpeg/huffman_table.h"
#include "jpeg/quant_tables.h"

#include <string>
#include <vector>

namespace jpeg {

void writeStartOfImage(ByteOutput& out);
void writeEndOfImage(ByteOutput& out);
// APP0 "JFIF", version 1.01, no density units, density 1 x 1, no thumbnail.
void writeJfifHeader(ByteOutput& out);
// COM with the text's bytes. The caller keeps the text at most kMaxCommentLength bytes.
void writeComment(ByteOutput& out, const std::string& text);
constexpr std::size_t kMaxCommentLength = 65533; // the segment length counts itself too
// DQT of one table with 8-bit entries in zig-zag order; an entry above 255 raises
// "Illegal precission in Quantization Table".
void writeQuantizationTable(ByteOutput& out, int slot, const Table64& zigzagTable);
// SOF0: precision 8, the size and every component's identifier, H * 16 + V and table selector.
void writeFrameHeader(ByteOutput& out, int width, int height, const std::vector<Component>& components);
// DHT of one table; tableClass 0 is DC, 1 is AC.
void writeHuffmanTable(ByteOutput& out, int tableClass, int slot, const HuffmanSpec& huffman);
// SOS for the listed components, spectral selection 0...63, no successive approximation.
void writeScanHeader(ByteOutput& out, const std::vector<Component>& components, const std::vector<int>& scan);

} // namespace jpeg
