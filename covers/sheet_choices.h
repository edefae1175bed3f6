// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheet of the kinds that may print on another paper than their own.

namespace kavi {

// HD-DVD and Blu-Ray on the US sizes: Letter sideways as always, or Legal sideways.
enum class LongCaseSheet { Letter, Legal };
// DS when the paper is A4: on A4 as the other kinds, or on Legal.
enum class DsSheetOnA4 { A4, Legal };

struct SheetChoices {
    LongCaseSheet hdAndBluRay = LongCaseSheet::Letter;
    DsSheetOnA4 dsOnA4 = DsSheetOnA4::A4;
    friend bool operator==(const SheetChoices&, const SheetChoices&) = default;
};

} // namespace kavi
