// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print layout a cover set keeps: the paper, cut marks and the print choices it was saved
// with, so that opening it, or printing it with kavi-cover, prints the same pages.
#include "covers/paper.h"
#include "covers/print_choices.h"

namespace kavi {

struct CoverSetPrintLayout {
    PaperChoice paper = PaperChoice::LetterAndLegal;
    bool cutMarks = false;
    PrintChoices choices;
    friend bool operator==(const CoverSetPrintLayout&, const CoverSetPrintLayout&) = default;
};

} // namespace kavi
