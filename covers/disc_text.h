// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The curved text of a disc label: a title running along the top of the ring and a subtitle along its
// bottom, both reading left to right with their letters upright.
#include <cstdint>
#include <string>

namespace kavi {

struct DiscText {
    std::string title; // UTF-8; empty for none
    std::string subtitle;
    std::string fontFamily = "DejaVu Sans";
    double titlePoints = 14;
    double subtitlePoints = 10;
    std::uint32_t rgb = 0x000000;

    bool hasText() const { return !title.empty() || !subtitle.empty(); }
    friend bool operator==(const DiscText&, const DiscText&) = default;
};

} // namespace kavi
