// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of kavi-cover:
//
//   kavi-cover [--paper us|letter|a4] [--marks] [--offset X,Y] [--scale SX,SY] [--fit stretch|fill|fit]
//              [--bleed 0|2|3] (-o OUT.pdf | --print[=QUEUE]) (KIND=PICTURE... | COVERSET.kavi)
//   kavi-cover --stocks [--templates DIR]...
//
// KIND is front, inside, back, dvd, mini, psp, ds, slim, hd or blu (any case); the kinds given must
// be a set the "Print Options" boxes allow: one single kind alone, or any of front, inside and
// back, each once. A cover set (saved by Kavi) gives the kinds it has ticked, with their pictures
// and texts, in place of KIND=PICTURE arguments. "--save-set OUT.kavi" in place of the output saves
// the covers as a cover set, ticked, with the fit mode given. --offset X,Y and --scale SX,SY are the
// correction applied to the page (not a measurement): X,Y millimetres (at most 26 either way), SX,SY
// percent (90 to 112); "letter" is another name for "us".
#include "covers/calibration.h"
#include "covers/cover_kinds.h"
#include "covers/fit_mode.h"
#include "covers/paper.h"
#include "covers/print_choices.h"
#include "tools/kavi-cover/disc_arguments.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kavi {

struct PictureArgument {
    int kind; // 1..10
    std::string picture; // the picture file's path
};

struct CoverMakerRequest {
    PaperChoice paper = PaperChoice::LetterAndLegal;
    bool cutMarks = false;
    // The print choices given on the command line; what is not given comes from the cover set.
    bool paperGiven = false;
    std::optional<Placement> placement; // --place
    std::optional<LongCaseSheet> hdAndBluRaySheet; // --sheet hd=...
    std::optional<DsSheetOnA4> dsSheet; // --sheet ds=...
    bool together = false; // --together
    std::optional<Bleed> bleed; // --bleed MM
    std::optional<FitMode> fit; // --fit, for every cover; none: each cover's own (Stretch)
    // Given on the command line; for --print without them, the queue's stored calibration applies.
    std::optional<Calibration> calibration;
    std::string outputPdf; // -o; empty when printing
    bool print = false; // --print
    std::string queue; // --print=QUEUE; empty: the default printer
    std::string saveSet; // --save-set: the covers saved as a cover set instead; empty when not
    std::vector<PictureArgument> covers; // in the order given
    std::string coverSet; // a cover-set file instead of covers; empty for none
    KindFlags ticked{}; // the "Print Options" boxes these covers tick
    DiscRequest disc; // a disc label and its ring or stock (disc_arguments.h)
};

struct CoverMakerHelp {};

// kavi-cover --stocks [--templates DIR]...: the disc label stocks found, one a line.
struct CoverMakerStockList {
    std::vector<std::string> templateFolders; // searched before the user's and the system's
};

// The request, a request for the usage text or the stock list, or a one-line error.
using CoverMakerArguments = std::variant<CoverMakerRequest, CoverMakerHelp, CoverMakerStockList, std::string>;

CoverMakerArguments parseCoverMakerArguments(const std::vector<std::string>& arguments);

// The usage text, several lines ending in a newline; the full one adds the disc labels' lines.
const char* coverMakerUsage();
std::string coverMakerFullUsage();

// The kind a command-line name stands for (front ... blu, any case); 0 for none.
int kindOfName(const std::string& name);

} // namespace kavi
