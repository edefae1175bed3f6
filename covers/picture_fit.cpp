// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/picture_fit.h"

#include "covers/page_geometry.h"

#include <algorithm>

namespace kavi {

namespace {

FitBox boxOf(const LengthRect& r) { return {r.left.twips(), r.top.twips(), r.width.twips(), r.height.twips()}; }

} // namespace

FitBox fittedBox(const FitBox& cover, double pictureWidth, double pictureHeight, FitMode mode) {
    if (mode == FitMode::Stretch || !(pictureWidth > 0) || !(pictureHeight > 0) || !(cover.width > 0) ||
        !(cover.height > 0))
        return cover;
    const double across = cover.width / pictureWidth, down = cover.height / pictureHeight;
    const double scale = mode == FitMode::Fill ? std::max(across, down) : std::min(across, down);
    // The side that matches the cover keeps the cover's own value exactly, free of rounding.
    const double width = scale == across ? cover.width : pictureWidth * scale;
    const double height = scale == down ? cover.height : pictureHeight * scale;
    return {cover.left + (cover.width - width) / 2, cover.top + (cover.height - height) / 2, width, height};
}

VisiblePart visibleThrough(const FitBox& placed, const FitBox& window, double pictureWidth, double pictureHeight) {
    if (!(placed.width > 0) || !(placed.height > 0)) return {};
    const double left = std::max(placed.left, window.left), top = std::max(placed.top, window.top);
    const double right = std::min(placed.right(), window.right()), bottom = std::min(placed.bottom(), window.bottom());
    const FitBox target{left, top, std::max(0.0, right - left), std::max(0.0, bottom - top)};
    const double perX = pictureWidth / placed.width, perY = pictureHeight / placed.height;
    const FitBox source{(target.left - placed.left) * perX, (target.top - placed.top) * perY, target.width * perX,
                        target.height * perY};
    return {target, source};
}

VisiblePart visiblePart(const FitBox& cover, double pictureWidth, double pictureHeight, FitMode mode) {
    return visibleThrough(fittedBox(cover, pictureWidth, pictureHeight, mode), cover, pictureWidth, pictureHeight);
}

PictureOnPage fitPicture(const LengthRect& cover, int pixelWidth, int pixelHeight, FitMode mode) {
    const FitBox box = fittedBox(boxOf(cover), pixelWidth, pixelHeight, mode);
    const LengthRect picture{Length::fromTwips(box.left), Length::fromTwips(box.top), Length::fromTwips(box.width),
                             Length::fromTwips(box.height)};
    // Only a picture that reaches past the cover needs cutting off.
    const bool overflows = picture.width > cover.width || picture.height > cover.height;
    return {picture, overflows ? std::optional<LengthRect>(cover) : std::nullopt};
}

PictureOnPage fitPicture(const LengthRect& cover, int pixelWidth, int pixelHeight, FitMode mode, Length bleed) {
    if (bleed <= Length()) return fitPicture(cover, pixelWidth, pixelHeight, mode);
    const LengthRect withBleed = grownBy(cover, bleed);
    FitBox box = fittedBox(boxOf(withBleed), pixelWidth, pixelHeight, mode == FitMode::Fit ? FitMode::Stretch : mode);
    if (mode == FitMode::Fit && pixelWidth > 0 && pixelHeight > 0 && cover.width > Length() &&
        cover.height > Length()) {
        // Fit touches the cover's edge on the sides of the dimension that limits it (on all four
        // when the proportions agree); it grows about the centre until those reach the bleed.
        const FitBox fitted = fittedBox(boxOf(cover), pixelWidth, pixelHeight, mode);
        const FitBox c = boxOf(cover);
        constexpr double kTouching = 1e-6; // twips
        double scale = 1;
        if (fitted.width >= c.width - kTouching) scale = std::max(scale, withBleed.width.twips() / c.width);
        if (fitted.height >= c.height - kTouching) scale = std::max(scale, withBleed.height.twips() / c.height);
        const double width = fitted.width * scale, height = fitted.height * scale;
        box = {c.left + (c.width - width) / 2, c.top + (c.height - height) / 2, width, height};
    }
    const LengthRect picture{Length::fromTwips(box.left), Length::fromTwips(box.top), Length::fromTwips(box.width),
                             Length::fromTwips(box.height)};
    const bool overflows = picture.width > withBleed.width || picture.height > withBleed.height;
    return {picture, overflows ? std::optional<LengthRect>(withBleed) : std::nullopt};
}

VisiblePart visiblePart(const PictureOnPage& placed, int pixelWidth, int pixelHeight) {
    const FitBox picture = boxOf(placed.picture);
    return visibleThrough(picture, placed.clip ? boxOf(*placed.clip) : picture, pixelWidth, pixelHeight);
}

} // namespace kavi
