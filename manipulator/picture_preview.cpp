// SPDX-License-Identifier: GPL-3.0-or-later
#include "manipulator/picture_preview.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kavi {

QRect letterboxRect(QSize box, QSize picture) {
    if (box.isEmpty() || picture.isEmpty()) return {};
    const double scale = std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    const int width = std::clamp(int(std::lround(picture.width() * scale)), 1, box.width());
    const int height = std::clamp(int(std::lround(picture.height() * scale)), 1, box.height());
    return QRect((box.width() - width) / 2, (box.height() - height) / 2, width, height);
}

QImage previewImage(const raster::Bitmap& picture, bool transparent, QSize box) {
    if (picture.isNull() || picture.bitsPerPixel() != 32 || picture.rowOrder() != raster::RowOrder::TopDown) return {};
    const QRect place = letterboxRect(box, QSize(picture.width(), picture.height()));
    if (place.isEmpty()) return {};
    const QImage view(picture.bits(), picture.width(), picture.height(), qsizetype(picture.stride()),
                      transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QImage scaled = view.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!transparent) {
        // The commands leave 0 in the reserved byte, where Qt's RGB32 wants 255 ("opaque"); drawn as
        // it is, such a picture would show black. (scanLine also unties the copy from the buffer.)
        QImage opaque = scaled;
        for (int y = 0; y < opaque.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(opaque.scanLine(y));
            for (int x = 0; x < opaque.width(); ++x) row[x] |= 0xFF000000u;
        }
        return opaque;
    }
    QImage paper(place.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, scaled);
    painter.end();
    return paper;
}

} // namespace kavi
