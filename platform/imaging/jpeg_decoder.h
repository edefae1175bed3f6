// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes 8-bit grey and colour JPEG data straight into 32-bit pixels with libjpeg-turbo (its
// accurate integer DCT, the same path Qt's reader takes), into memory obtained for big pictures
// (huge pages, no zero-filling), which the picture keeps until it is let go.
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace kavi {

// The picture as stored (no EXIF orientation applied) as Format_RGB32, or a null image when this
// decoder does not take the data: other than 8-bit samples with one or three components, damaged
// beyond decoding, or memory lacking. The caller then hands the file to Qt's reader, which either
// decodes it or reports why not.
QImage decodeJpeg(const std::uint8_t* data, std::size_t size);

} // namespace kavi
