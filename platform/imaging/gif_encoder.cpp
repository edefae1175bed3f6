// SPDX-License-Identifier: GPL-3.0-or-later
// GIF writing through giflib: the picture is reduced to at most 256 colours by our quantiser and
// written as one 8-bit image in memory.
#include "platform/imaging/colour_quantiser.h"
#include "platform/imaging/image_encoders.h"
#include "platform/imaging/white_paper.h"

#include <gif_lib.h>

namespace kavi {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

int colourBits(std::size_t colours) {
    int bits = 1;
    while ((std::size_t(1) << bits) < colours) ++bits;
    return bits;
}

} // namespace

EncodedImage encodeGif(const QImage& picture) {
    EncodedImage out;
    if (picture.isNull()) return {StatusInvalidParameter, {}};
    if (picture.width() > 65535 || picture.height() > 65535) return {StatusValueOverflow, {}};
    const QImage rgb = onWhitePaper(picture); // transparent parts as they print
    if (rgb.isNull()) return {StatusOutOfMemory, {}};
    const PalettePicture reduced =
        quantiseTo256(rgb.constBits(), rgb.width(), rgb.height(), std::size_t(rgb.bytesPerLine()));

    const int bits = colourBits(reduced.palette.size());
    std::vector<GifColorType> colours(std::size_t(1) << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < reduced.palette.size(); ++i)
        colours[i] = {reduced.palette[i].red, reduced.palette[i].green, reduced.palette[i].blue};

    int error = 0;
    GifFileType* gif = EGifOpen(&out.bytes, appendBytes, &error);
    if (!gif) return {StatusOutOfMemory, {}};
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    bool ok = map && EGifPutScreenDesc(gif, rgb.width(), rgb.height(), bits, 0, map) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, rgb.width(), rgb.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < rgb.height(); ++y) {
        auto* row = const_cast<GifPixelType*>(reduced.indices.data() + std::size_t(rgb.width()) * std::size_t(y));
        ok = EGifPutLine(gif, row, rgb.width()) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    if (!ok) return {StatusGenericError, {}};
    return out;
}

} // namespace kavi
