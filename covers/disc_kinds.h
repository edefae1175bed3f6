// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two disc-face kinds, Disc (a 12 cm CD, DVD or Blu-ray disc) and Mini Disc (an 8 cm one): round
// labels printed alone, beside the ten case kinds. One row each, fixed at build time.
#include "covers/disc_geometry.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace kavi {

enum class DiscKind { Disc, MiniDisc };

struct DiscKindRow {
    DiscKind kind;
    const char* checkName; // the tick box's objectName
    const char* checkCaption;
    const char* checkTooltip;
    int tabIndex; // after the Scan tab (10)
    const char* tabCaption;
    const char* commandName; // kavi-cover's KIND
    DiscGeometry label; // the ring a new document starts with
};

inline constexpr int kDiscKindCount = 2;

inline constexpr std::array<DiscKindRow, kDiscKindCount> kDiscKinds = {{
    {DiscKind::Disc, "CheckDisc", "Disc", "Print a round label for the face of a 12 cm disc.", 11, "Disc", "disc",
     kDiscLabel},
    {DiscKind::MiniDisc, "CheckMiniDisc", "Mini Disc", "Print a round label for the face of an 8 cm disc.", 12,
     "Mini Disc", "minidisc", kMiniDiscLabel},
}};

constexpr const DiscKindRow& discKind(DiscKind kind) { return kDiscKinds[std::size_t(kind)]; }
constexpr std::array<DiscKind, kDiscKindCount> allDiscKinds() { return {DiscKind::Disc, DiscKind::MiniDisc}; }

// The disc kind of a tab index (11 or 12); none for the others.
constexpr std::optional<DiscKind> discKindOfTab(int tabIndex) {
    for (const DiscKindRow& row : kDiscKinds)
        if (row.tabIndex == tabIndex) return row.kind;
    return std::nullopt;
}

// The disc kind of a command-line or file name ("disc", "minidisc"); none for the others.
constexpr std::optional<DiscKind> discKindOfName(std::string_view name) {
    for (const DiscKindRow& row : kDiscKinds)
        if (name == row.commandName) return row.kind;
    return std::nullopt;
}

// One value per disc kind.
template <typename T>
class PerDiscKind {
public:
    T& operator[](DiscKind kind) { return values_[std::size_t(kind)]; }
    const T& operator[](DiscKind kind) const { return values_[std::size_t(kind)]; }

private:
    std::array<T, kDiscKindCount> values_{};
};

} // namespace kavi
