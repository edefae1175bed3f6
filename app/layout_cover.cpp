// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layout_cover.h"

#include "covers/track_list.h"
#include "output/print/cover_painter.h"
#include "render/cover_text_layout.h"
#include "render/track_list_measure.h"

#include <QPainter>

namespace kavi {

TrackListFit fitTrackListLayer(const CoverLayer& layer) {
    return fitTrackList(trackListLines(layer.tracks), layer.box, layer.style.sizePoints, trackLineMeasure(layer.style));
}

QImage paintLayoutCover(const LayoutCover& cover, QSize size) {
    if (cover.design.isPlain()) return pictureWithText(cover.picture, cover.fit, size, cover.kind, cover.text);
    QImage shown(size, QImage::Format_RGB32);
    if (shown.isNull()) return shown;
    shown.fill(Qt::white);
    CoverToPaint painted{cover.kind, cover.picture, cover.fit, cover.text, cover.design, {}};
    for (const LayoutPicture& picture : cover.pictures)
        painted.pictures.push_back({picture.pixels, picture.originalJpeg});
    QPainter painter(&shown);
    paintCover(painter, QRectF(shown.rect()), painted);
    return shown;
}

} // namespace kavi
