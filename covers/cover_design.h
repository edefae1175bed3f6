// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a cover carries besides its own picture and its text boxes: a background under everything,
// further pictures (a logo, a second photo) and track lists placed in boxes, the order they are
// drawn in, and the CD Back's end-strip text. A cover whose design is plain prints exactly as one
// without a design. Places are in the cover's real-size coordinates (from its top-left corner, x to
// the right, y down), like its text boxes. The pixels of the further pictures belong to whoever holds
// the design (the cover document, a print selection); a picture layer names them by index.
#include "covers/cover_text.h"
#include "covers/length.h"
#include "covers/track_list.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavi {

enum class BackgroundFill { Paper, Colour, Gradient };

struct CoverBackground {
    BackgroundFill fill = BackgroundFill::Paper;
    std::uint32_t colour = 0xFFFFFF; // 0xRRGGBB: the colour, or where the gradient starts
    std::uint32_t endColour = 0x000000; // where the gradient ends
    // The gradient's direction in degrees, a multiple of 45, turning clockwise on the page: 0 runs
    // from the left edge to the right, 90 from the top down. It spans the filled area corner to corner.
    int angleDegrees = 0;
    friend bool operator==(const CoverBackground&, const CoverBackground&) = default;
};

enum class LayerType {
    Picture, // one of the further pictures, in its box
    TrackList, // a track list fitted into its box
    Texts, // the cover's title, subtitle, spine and free text boxes, as one layer
};

struct CoverLayer {
    LayerType type = LayerType::Picture;
    LengthRect box; // Picture, TrackList: where it lies on the cover (it may reach past the edges)
    // Picture: which of the holder's further pictures of this cover; quarter turns clockwise (0 to 3),
    // the picture then stretched to the box; opacity from 0 (not seen) to 1.
    std::size_t picture = 0;
    int quarterTurns = 0;
    double opacity = 1;
    // TrackList: the lines, and the font, colour and alignment they are drawn in; the style's size is
    // where fitting starts (track_list_fit.h).
    std::vector<Track> tracks;
    TextStyle style;
    friend bool operator==(const CoverLayer&, const CoverLayer&) = default;
};

struct CoverDesign {
    CoverBackground background;
    // Drawn in this order over the background and the cover's own picture. Without a Texts layer the
    // text boxes are drawn last, over every layer, as on a cover without a design.
    std::vector<CoverLayer> layers;
    // The CD Back only: one text written along both end strips, each turned a quarter clockwise so
    // that it reads from top to bottom, as on a bought case. Empty: nothing on the strips.
    TextBox endStrips;
    // Nothing beyond the cover's own picture and texts: the cover prints as it always did.
    bool isPlain() const {
        return background.fill == BackgroundFill::Paper && endStrips.text.empty() &&
            (layers.empty() || (layers.size() == 1 && layers[0].type == LayerType::Texts));
    }
    friend bool operator==(const CoverDesign&, const CoverDesign&) = default;
};

// The most further pictures and layers one cover holds: more is a mistake, not a design.
inline constexpr std::size_t kMostCoverLayers = 64;

} // namespace kavi
