// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures for the saving tests and ways to compare them.
#include <QImage>

namespace kavi::testing {

// Smooth colour gradients with a little noise: far more than 256 colours.
QImage richPicture(int width, int height);
// Exactly `colours` distinct colours (at most 256) scattered over the picture.
QImage palettePicture(int width, int height, int colours);
// Peak signal-to-noise ratio over red, green and blue, in dB (infinite for equal pictures).
double psnr(const QImage& a, const QImage& b);
// The same after a 3 x 3 box blur of both: how well local averages agree, which is what error
// diffusion keeps and plain nearest-colour mapping (banding) loses.
double blurredPsnr(const QImage& a, const QImage& b);
// Number of pixels whose red, green or blue differ.
int differingPixels(const QImage& a, const QImage& b);
int distinctColours(const QImage& picture);

} // namespace kavi::testing
