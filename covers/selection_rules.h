// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The selection rules of the ten "Print Options" boxes: only jewel-case kinds in any combination,
// or exactly one single kind, or nothing; Print is enabled exactly when something is ticked.
#include "covers/cover_kinds.h"

namespace kavi {

struct SelectionState {
    KindFlags ticked{};
    KindFlags enabled{true, true, true, true, true, true, true, true, true, true};
    bool printEnabled = false;

    bool isTicked(int kind) const { return ticked[std::size_t(kind - 1)]; }
    bool isEnabled(int kind) const { return enabled[std::size_t(kind - 1)]; }
    friend bool operator==(const SelectionState&, const SelectionState&) = default;
};

// The state after box `kind` (1..10) is set to `ticked`, whether by the user or by code: the box
// takes the tick even when it is disabled (a restored setting), then its rule sets the ticks and
// enabled flags of all ten boxes and Print. The boxes the rule unticks do not run their own rules.
// Setting a box to the tick it already has changes nothing.
SelectionState applyKindRule(const SelectionState& before, int kind, bool ticked);

} // namespace kavi
