// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The resolution a picture was made at, such as a scan's dots per inch. It travels in the picture's
// own dots per metre, which Qt's readers fill from a file's header and its writers put into the
// file (BMP, PNG, TIFF and JPEG); every copy and format conversion of the picture keeps it.
#include <QImage>
#include <QSize>

#include <optional>

namespace kavi {

// Gives the picture a resolution of dpi dots per inch across and down; a value of 0 or less
// leaves that direction as it was.
void setPictureDpi(QImage& picture, double dpiX, double dpiY);

// The picture's dots per metre (across, down) when it carries a resolution of its own; nothing
// when it has only the one every new picture is given.
std::optional<QSize> knownDotsPerMetre(const QImage& picture);

} // namespace kavi
