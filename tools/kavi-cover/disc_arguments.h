// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// kavi-cover's disc-label arguments:
//
//   disc=PICTURE | minidisc=PICTURE      a disc label (printed alone)
//   --disc OUTER,HOLE                    the ring in millimetres (20 <= OUTER <= 130, 0 <= HOLE < OUTER)
//   --stock "BRAND PART"                 print on that label stock instead of plain paper
//   --start N                            the stock's label the first copy goes on (1 = the first)
//   --copies N                           how many labels
//   --templates DIR                      a folder of label-template files, searched first (repeatable)
#include "covers/disc_geometry.h"
#include "covers/disc_kinds.h"

#include <optional>
#include <string>
#include <vector>

namespace kavi {

struct DiscRequest {
    std::optional<DiscKind> kind;
    std::string picture;
    std::optional<DiscGeometry> geometry;
    std::string stock; // empty: plain paper
    int startLabel = 1;
    int copies = 1;
    std::vector<std::string> templateFolders;
};

struct DiscOption {
    bool taken = false; // the argument was a disc argument
    std::string error; // why it is refused
};

// Reads the disc argument at arguments[i] (and its value, moving i on), when it is one.
DiscOption parseDiscOption(const std::vector<std::string>& arguments, std::size_t& i, DiscRequest& disc);

// Whether the disc arguments go together with the case kinds given; an error line or empty.
std::string discRequestError(const DiscRequest& disc, bool caseKindsGiven);

// The usage lines of the disc arguments.
const char* discUsage();

} // namespace kavi
