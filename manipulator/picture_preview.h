// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Cover Manipulator's two previews: a picture shown whole in its true proportions, centred in
// its box with the box's background beside it, and its transparent parts laid over white paper.
#include "formats/raster/bitmap.h"

#include <QImage>
#include <QRect>
#include <QSize>

namespace kavi {

// Where, inside a box of the given size, a picture of the given size shows whole in its own
// proportions and as large as the box allows, centred. Empty when either size is empty.
QRect letterboxRect(QSize box, QSize picture);

// The picture scaled smoothly to letterboxRect's size for a box. With `transparent`, the reserved
// byte of each pixel is its opacity and the picture is laid over white; the picture is not changed.
// A null image when there is nothing to show.
QImage previewImage(const raster::Bitmap& picture, bool transparent, QSize box);

} // namespace kavi
