// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ten cover kinds: one row each, fixed at build time. Every part of the program that deals
// with a kind (the main window, the settings file, printing) reads it from this table.
#include "covers/length.h"
#include "covers/paper.h"

#include <array>
#include <cstddef>

namespace kavi {

enum class CoverGroup { JewelCase, Single };

struct CoverKind {
    int number; // 1..10
    const char* checkName; // "Check1" ...
    const char* checkCaption;
    const char* checkTooltip;
    int tabIndex; // 0..9
    const char* tabCaption;
    const char* slotName; // "Image1" ...
    const char* settingsKey;
    CoverGroup group;
    // Position of the check box inside the "Print Options" frame, in twips.
    int checkLeft, checkTop, checkWidth, checkHeight;
    // Print geometry: the paper and orientation of the kind's page, the cover's real size (DS is
    // the one fractional size, 10.87 x 4.57 in), whether the orientation is set before the paper,
    // and the weight a ticked jewel-case kind adds to the layout sum (0 for single kinds).
    Paper paper;
    Orientation orientation;
    LengthSize printSize;
    bool orientationBeforePaper;
    int jewelWeight;
};

inline constexpr int kCoverKindCount = 10;
inline constexpr int kScanTabIndex = 10;
inline constexpr const char* kScanTabCaption = "Scan";

inline constexpr std::array<CoverKind, kCoverKindCount> kCoverKinds = {{
    {1, "Check1", "Front", "Print front cd cover.", 0, "Front", "Image1", "Front", CoverGroup::JewelCase, 240, 240, 735,
     295, Paper::Letter, Orientation::Portrait, LengthSize::fromTwips(6840, 6840), false, 5},
    {2, "Check2", "Inside", "Print inside cd cover.", 1, "Inside", "Image2", "Inside", CoverGroup::JewelCase, 1320, 240,
     735, 295, Paper::Letter, Orientation::Portrait, LengthSize::fromTwips(6840, 6840), false, 10},
    {3, "Check3", "Back", "Print back cd cover (not needed for slim jewel cases).", 2, "Back", "Image3", "Back",
     CoverGroup::JewelCase, 2400, 240, 735, 295, Paper::Letter, Orientation::Portrait,
     LengthSize::fromTwips(8496, 6696), false, 20},
    {4, "Check4", "DVD", "Print full size DVD cover.", 3, "DVD", "Image4", "DVD", CoverGroup::Single, 3360, 240, 735,
     295, Paper::Legal, Orientation::Landscape, LengthSize::fromTwips(15390, 10260), false, 0},
    {5, "Check5", "Mini CD", "Print mini cd front cover.", 4, "Mini", "Image5", "Mini", CoverGroup::Single, 240, 600,
     855, 255, Paper::Letter, Orientation::Landscape, LengthSize::fromTwips(4680, 4968), false, 0},
    {6, "Check6", "PSP", "Print PSP cover.", 5, "PSP", "Image6", "PSP", CoverGroup::Single, 1320, 600, 735, 255,
     Paper::Letter, Orientation::Landscape, LengthSize::fromTwips(11880, 9540), false, 0},
    {7, "Check7", "DS", "Print DS cover.", 6, "DS", "Image7", "DS", CoverGroup::Single, 2400, 600, 735, 195,
     Paper::Legal, Orientation::Landscape, LengthSize::fromTwips(15652.8, 6580.8), true, 0},
    {8, "Check8", "SLIM", "Print DVD SLIM cover.", 7, "SLIM", "Image8", "SLIM", CoverGroup::Single, 3360, 600, 735, 195,
     Paper::Legal, Orientation::Landscape, LengthSize::fromTwips(15030, 10260), false, 0},
    {9, "Check9", "HD-DVD", "Print full size HD-DVD cover.", 8, "HD", "Image9", "HD", CoverGroup::Single, 4200, 240,
     975, 295, Paper::Letter, Orientation::Landscape, LengthSize::fromTwips(15120, 8460), false, 0},
    {10, "Check10", "Blu-Ray", "Print full size Blu-Ray cover.", 9, "Blu", "Image10", "BLU", CoverGroup::Single, 4200,
     550, 855, 295, Paper::Letter, Orientation::Landscape, LengthSize::fromTwips(15120, 8460), false, 0},
}};

// When two jewel-case covers share a page, the second is drawn this far down (5.2521 in).
inline constexpr Length kSecondCoverTop = Length::fromTwips(7563);

// One flag per kind, index 0 for kind 1: which "Print Options" boxes are ticked, or enabled.
using KindFlags = std::array<bool, kCoverKindCount>;

// The kind of a number 1..10.
constexpr const CoverKind& coverKind(int number) { return kCoverKinds[std::size_t(number - 1)]; }

} // namespace kavi
