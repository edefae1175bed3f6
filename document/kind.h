// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover kind as a value (1..10, as the kinds table numbers them) and an array with one entry per
// kind, indexed by the kind itself, so no code has to turn a kind number into an array index.
#include "covers/cover_kinds.h"

#include <array>
#include <cstddef>

namespace kavi {

class Kind {
public:
    // number is 1..10; the window and the files give kinds by that number.
    constexpr explicit Kind(int number) : number_(number) {}

    constexpr int number() const { return number_; }
    constexpr const CoverKind& row() const { return coverKind(number_); }
    constexpr bool isValid() const { return number_ >= 1 && number_ <= kCoverKindCount; }
    // The kind's place in an array of one entry per kind (KindFlags, PerKind): the one place a
    // kind number becomes an index.
    constexpr std::size_t index() const { return std::size_t(number_ - 1); }
    friend constexpr bool operator==(Kind, Kind) = default;

    // The ten kinds in table order.
    static constexpr std::array<Kind, kCoverKindCount> all() {
        std::array<Kind, kCoverKindCount> kinds{Kind(1), Kind(2), Kind(3), Kind(4), Kind(5),
                                                Kind(6), Kind(7), Kind(8), Kind(9), Kind(10)};
        return kinds;
    }

private:
    int number_;
};

template <typename T>
class PerKind {
public:
    T& operator[](Kind kind) { return values_[kind.index()]; }
    const T& operator[](Kind kind) const { return values_[kind.index()]; }

private:
    std::array<T, kCoverKindCount> values_{};
};

} // namespace kavi
