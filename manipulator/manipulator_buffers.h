// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture buffers of the Cover Manipulator and the commands that move pictures between them:
// opening, activation, the five toolbar commands and the frame around a filter. The window and the
// command-line tool share this code; it knows nothing of Qt.
#include "manipulator/crop_rect.h"
#include "manipulator/picture_box.h"

namespace kavi {

enum class ToolbarCommand { Rotate = 1, Mirror = 2, Flip = 3, Brightness = 4, Undo = 5 };

// Repaints a box's own picture onto its image with one extent negated: mode 0 mirrors left to
// right, mode 1 flips top to bottom; any other mode does nothing.
void PaintFlipped(PictureBox& box, int mode);

// The part of a 32-bit picture inside the rectangle (clipped to the picture), as a picture of its own.
raster::Bitmap croppedPicture(const raster::Bitmap& picture, const CropRect& rect);

// Adds value to every colour channel of every pixel, each clamped to 0...255.
void ShiftBrightness(raster::Bitmap& picture, int value);

class ManipulatorBuffers {
    std::shared_ptr<BitmapPool> pool_ = std::make_shared<BitmapPool>();

public:
    PictureBox Original{pool_}; // the slot's picture as opened; never changed
    PictureBox NewImage{pool_}; // the current result, shown and written back on Accept
    PictureBox picorig{pool_}; // a copy of the opened picture
    PictureBox picDest{pool_}; // the current working picture
    PictureBox picundo{pool_}; // the picture before the last command
    PictureBox Picture1{pool_}; // work area of the filters and the brightness command
    PictureBox picpaint{pool_}; // canvas of the rotate command
    PictureBox picimageeffect{pool_}; // scratch copy that the rotate command samples

    // Opening: every buffer receives the slot's picture (an empty picture leaves them all empty).
    void load(raster::Bitmap slotPicture);
    // Activation: back to the opened picture; the undo picture and the work area stay.
    void activate();

    // One toolbar command by its button index (1...5); other indices do nothing.
    // sliderValue is the brightness amount (-99...99).
    void runToolbarCommand(int index, int sliderValue);
    void rotate();
    void mirror();
    void flip();
    void brightness(int value);
    void undo();
    // Keeps only the rectangle (in the working picture's pixels, clipped to it) of the working
    // picture; Undo brings back the picture as it was before. A rectangle with nothing of the
    // picture in it changes nothing.
    void crop(const CropRect& rect);

    // The filter frame: before the engine runs on Picture1, and after it has returned.
    void beginFilter();
    void endFilter();

private:
    // After a command other than Rotate, the rotate canvas shares the result instead of holding
    // the last turn's picture resident; the next turn fills it afresh.
    void releaseCanvas();
};

} // namespace kavi
