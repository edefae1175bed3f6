// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page plan of the print command: from the ten ticks, which covers go on which page, where,
// on which paper and orientation, and the exact printer steps that produce that job. Whatever puts
// covers on paper follows this one plan, so that no two outputs disagree.
#include "covers/cover_kinds.h"
#include "covers/length.h"
#include "covers/paper.h"
#include "covers/sheet_choices.h"

#include <optional>
#include <variant>
#include <vector>

namespace kavi {

// Which paper question the print command asks before printing.
enum class PaperQuestion { LegalPaper, FullOfPaper, A4Paper };

// One cover on a page: the picture of the kind's slot, stretched to exactly the rectangle.
struct PlacedCover {
    int kind; // 1..10
    LengthRect rect;
    friend bool operator==(const PlacedCover&, const PlacedCover&) = default;
};

struct PlannedPage {
    Paper paper;
    Orientation orientation;
    std::vector<PlacedCover> covers; // in drawing order

    // The sheet as it lies on this page (landscape turns it).
    LengthSize sheet() const { return sheetSize(paper, orientation); }
};

struct PrintJob {
    PaperQuestion question = PaperQuestion::FullOfPaper;
    std::vector<PlannedPage> pages; // none: nothing is sent to the printer
    // The first page sets its orientation before its paper (DS does).
    bool orientationBeforePaper = false;
    // The paper the printer object is set to once the job has ended (the Legal kinds go back to
    // Letter); none leaves the job's own settings in place.
    std::optional<Paper> paperAfterJob;
};

// The steps of the printer object, in the order the print command sends them.
struct SetPaper {
    Paper paper;
    friend bool operator==(const SetPaper&, const SetPaper&) = default;
};
struct SetOrientation {
    Orientation orientation;
    friend bool operator==(const SetOrientation&, const SetOrientation&) = default;
};
struct DrawCover {
    PlacedCover cover;
    friend bool operator==(const DrawCover&, const DrawCover&) = default;
};
struct NewPage {
    friend bool operator==(const NewPage&, const NewPage&) = default;
};
struct EndDocument {
    friend bool operator==(const EndDocument&, const EndDocument&) = default;
};
using PrintStep = std::variant<SetPaper, SetOrientation, DrawCover, NewPage, EndDocument>;

// The job for the ticked kinds: the first ticked single kind in table order alone on its page,
// or else the ticked jewel-case kinds by the sum of their weights (a sum without a layout gives a
// job without pages). On the US sizes the question asks for Legal paper when any ticked kind
// prints on it; with A4 every page, and the paper after a Legal kind's job, is A4 and the
// question asks for A4. Covers keep their places either way. The sheet choices move HD-DVD and
// Blu-Ray onto Legal on the US sizes, and DS onto Legal with A4; the question then asks for Legal
// paper and the paper after the job is the choice's usual paper.
PrintJob planPrintJob(const KindFlags& ticked, PaperChoice paper = PaperChoice::LetterAndLegal,
                      const SheetChoices& sheets = {});

// The printer steps of a job: the first page's paper and orientation, each page's covers with a
// new page and the orientation again (and the paper when it changes) between pages, end document,
// then the paper after the job. A job without pages has no steps.
std::vector<PrintStep> printSteps(const PrintJob& job);

} // namespace kavi
