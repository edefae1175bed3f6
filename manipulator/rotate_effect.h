// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// mdlEffect: turns the picture of a canvas box by an angle, pixel by pixel, through an inverse mapping
// in polar coordinates that fills four symmetric target pixels per computed sample.
#include "manipulator/picture_box.h"

namespace kavi::mdlEffect {

constexpr int kRotation = 3;

// Prepares the scratch box and runs the effect; for number 3 the canvas's picture is turned by
// angle (360 - angle with the mirror flag) with the scratch as the source. Other numbers do nothing.
void RunEffect(int effect, PictureBox& canvas, PictureBox& scratch, float angle, bool mirror);

// Draws the turned source onto the target. For exactly 90 or 270 degrees the target exchanges its
// width and height; target pixels whose source point lies outside the source keep their colour.
void RotatePicture(const PictureBox& source, PictureBox& target, float angle, bool mirror);

} // namespace kavi::mdlEffect
