// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A PDF document of pages that carry pictures, written in one pass to a byte sink. Positions and
// sizes are in points (1/72 inch) from the page's top-left corner, kept as exact as a PDF number
// with four decimals allows. Each picture goes in at its own pixel size, losslessly (Flate), or,
// for a JPEG file drawn as it is, as the file's own bytes (DCTDecode).
#include "covers/text_outlines.h"
#include "formats/pdf/flate_picture.h"
#include "formats/raster/jpeg_frame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pdf {

// Receives the document's bytes in order; returns false to stop writing.
using Sink = std::function<bool(const void* data, std::size_t size)>;

class Document {
public:
    void beginPage(double widthPoints, double heightPoints);
    // Draws the picture stretched into the rectangle on the current page (a first page of
    // Letter size is begun when there is none). The pixels must stay valid until write() returns.
    void drawPicture(const BgrxPixels& picture, double x, double y, double width, double height);
    // The same, showing only the part of the picture inside the clip rectangle (a clip path).
    struct ClipRect {
        double x, y, width, height;
    };
    // How a design lays a picture on the page besides its rectangle: only the part inside the clip
    // shows, the picture is turned by quarter turns clockwise before it is stretched to the
    // rectangle, and it is drawn with that opacity over what lies under it.
    struct Look {
        std::optional<ClipRect> clip;
        int quarterTurns = 0;
        double opacity = 1;
    };
    // translucent: the fourth byte of each pixel is its coverage (alpha, not premultiplied), written
    // as the picture's soft mask.
    void drawPicture(const BgrxPixels& picture, double x, double y, double width, double height, const Look& look,
                     bool translucent);
    // A JPEG file's bytes laid the same way (see drawJpeg).
    bool drawJpeg(const std::uint8_t* data, std::size_t size, double x, double y, double width, double height,
                  const Look& look);
    // Fills the rectangle with one colour (0xRRGGBB).
    void fillRectangle(const ClipRect& rect, std::uint32_t rgb);
    // Fills the rectangle with a linear gradient (an axial shading): startRgb at (x0, y0), endRgb at
    // (x1, y1), changing along the line between them and flat beyond its ends.
    struct Gradient {
        double x0, y0, x1, y1;
        std::uint32_t startRgb, endRgb;
    };
    void fillGradient(const ClipRect& rect, const Gradient& gradient);
    void drawPicture(const BgrxPixels& picture, double x, double y, double width, double height, const ClipRect& clip);
    // The same, showing only inside a ring (a disc label): nothing outside its outer circle, in its hole
    // (radius 0: none), or outside the cut box when there is one. The ring is clipped by the even-odd rule.
    struct ClipRing {
        double centreX, centreY, outerRadius, holeRadius;
        std::optional<ClipRect> cut;
    };
    void drawPictureInRing(const BgrxPixels& picture, double x, double y, double width, double height,
                           const ClipRing& ring);
    // The same for a picture whose fourth byte is its coverage (alpha, not premultiplied): what is
    // drawn before shows through where the picture is transparent. Cover text comes this way.
    void drawTranslucentPicture(const BgrxPixels& picture, double x, double y, double width, double height);
    // Draws a JPEG file's bytes as the picture, upright by its EXIF orientation (the placement turns
    // it; the bytes stay as they are), stretched into the rectangle. Only JPEGs a PDF reader takes
    // as they are (raster::isPortableJpeg); false, with nothing drawn, for any other data. The
    // bytes must stay valid until write() returns.
    bool drawJpeg(const std::uint8_t* data, std::size_t size, double x, double y, double width, double height);
    bool drawJpegInRing(const std::uint8_t* data, std::size_t size, double x, double y, double width, double height,
                        const ClipRing& ring);
    // Where a cover's outlines go on the page: the cover's point (x, y), in points from its corner,
    // lies at (left + x * scaleX, top + y * scaleY).
    struct CoverFrame {
        double left, top, scaleX, scaleY;
    };
    // Fills the text's outlines over what is drawn before, cut off at the clip rectangle, and puts
    // its words on the page as invisible text, so that a reader finds and copies them.
    void drawTextOutlines(const kavi::CoverTextOutlines& text, const CoverFrame& frame, const ClipRect& clip);
    // A black straight line of the given width on the current page, drawn over the pictures.
    void drawLine(double x1, double y1, double x2, double y2, double lineWidth);
    int pageCount() const { return int(pages_.size()); }

    // Writes the whole document; false when the sink refused a part. Compresses each picture just
    // before its bytes are written, so only one compressed picture is held at a time.
    bool write(const Sink& sink) const;

private:
    // A picture of the document: pixels, or a JPEG file's bytes with their frame.
    struct Picture {
        BgrxPixels pixels;
        const std::uint8_t* jpeg = nullptr;
        std::size_t jpegSize = 0;
        raster::JpegFrame frame;
    };
    struct Placement {
        int picture;
        double x, y, width, height;
        std::optional<ClipRect> clip;
        std::optional<ClipRing> ring;
        int quarterTurns = 0;
        double opacity = 1;
    };
    struct Fill {
        ClipRect rect;
        std::uint32_t rgb;
        std::optional<Gradient> gradient;
    };
    struct Line {
        double x1, y1, x2, y2, width;
    };
    struct Outlines {
        kavi::CoverTextOutlines text;
        CoverFrame frame;
        ClipRect clip;
    };
    // One thing drawn on a page, in the order drawn: an index into the page's list of that type.
    struct Drawn {
        enum class Type { Placement, Outlines, Fill } type;
        std::size_t index;
    };
    struct Page {
        double width, height;
        std::vector<Placement> placements;
        std::vector<Line> lines; // marks, over everything else
        std::vector<Outlines> outlines;
        std::vector<Fill> fills;
        std::vector<Drawn> order;
    };
    void place(const Placement& placement);
    std::string pageContent(const Page& page, std::string& resources) const;
    std::vector<Page> pages_;
    std::vector<Picture> pictures_;
    std::vector<bool> translucent_; // by picture: it carries its coverage as a soft mask
};

} // namespace pdf
