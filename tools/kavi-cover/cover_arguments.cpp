// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/kavi-cover/cover_arguments.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace kavi {

namespace {

constexpr const char* kKindNames[kCoverKindCount] = {"front", "inside", "back", "dvd", "mini",
                                                     "psp",   "ds",     "slim", "hd",  "blu"};

std::string lowered(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A plain decimal number (optional sign, digits, optional fraction), and nothing else.
std::optional<double> decimal(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return std::nullopt;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+') return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "A,B" as two decimal numbers.
std::optional<std::pair<double, double>> pairOf(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const auto a = decimal(text.substr(0, comma)), b = decimal(text.substr(comma + 1));
    if (!a || !b) return std::nullopt;
    return std::pair{*a, *b};
}

// Whether the ticked kinds are a set the selection rules allow.
bool allowedSet(const std::vector<PictureArgument>& covers) {
    int singles = 0;
    for (const PictureArgument& c : covers)
        if (coverKind(c.kind).group == CoverGroup::Single) ++singles;
    return singles == 0 || (singles == 1 && covers.size() == 1);
}

} // namespace

int kindOfName(const std::string& name) {
    const std::string wanted = lowered(name);
    for (int i = 0; i < kCoverKindCount; ++i)
        if (wanted == kKindNames[i]) return i + 1;
    return 0;
}

const char* coverMakerUsage() {
    return "usage: kavi-cover [--paper us|letter|a4] [--marks] [--offset X,Y] [--scale SX,SY] [--fit "
           "stretch|fill|fit]\n"
           "                  [--place corner|centre|marks] [--sheet hd=legal|ds=legal]... [--together]\n"
           "                  [--bleed 0|2|3]\n"
           "                  (-o OUT.pdf | --print[=QUEUE]) (KIND=PICTURE... | COVERSET.kavi)\n"
           "KIND: front, inside, back (any of them, each once), or one of dvd, mini, psp, ds, slim, hd, blu.\n"
           "COVERSET: a cover set saved by Kavi; its ticked covers print with their pictures, fit modes and texts.\n"
           "X,Y: millimetres, -26 to 26. SX,SY: percent, 90 to 112.\n"
           "--paper: us (or letter) prints on Letter, and on Legal for the kinds too long for it (the default);\n"
           "a4 prints on A4.\n"
           "-o OUT.pdf: writes the pages as a PDF file at real size, the covers centred on each sheet.\n"
           "--print[=QUEUE]: sends the pages to the default printer (or to QUEUE), the covers placed from the\n"
           "printer's printable corner as Kavi's Print button places them, with the calibration saved for that\n"
           "queue by \"Calibrate Printer\" (kavi4.ini beside the program) unless --offset or --scale is given.\n"
           "--offset and --scale give that correction instead, as it is applied to the page, not as measured:\n"
           "every position, from the sheet's top-left corner, is scaled by SX,SY percent, then moved X,Y\n"
           "millimetres right and down (negative: left and up). A printer that prints 2 mm too far right needs\n"
           "--offset -2,0; one that prints at 98 % needs --scale 102.04,... (100 / 0.98). Given alone, the other\n"
           "is 0,0 or 100,100. With -o they move the covers from their centred place.\n"
           "--marks: adds cut marks at the covers' corners and fold marks at their spines and folds.\n"
           "--place corner|centre|marks: with --print, the covers go to the printable corner (the default),\n"
           "centred on the sheet, or to the printable corner moved in so the cut marks above and left stay on.\n"
           "--sheet hd=letter|legal: HD-DVD and Blu-Ray on Letter (the default) or Legal with --paper us;\n"
           "--sheet ds=a4|legal: DS on A4 (the default) or Legal with --paper a4. Both may be given.\n"
           "--together: covers that fit share a sheet, and a single small kind is repeated side by side.\n"
           "--bleed 0|2|3: pictures that reach a cover's edge go that many millimetres past the cut line, and\n"
           "the cut marks move out as far (0, the default: none).\n"
           "A cover set keeps its print layout: options given here take the place of its choices.\n"
           "--fit: stretch the picture onto each cover (the default), fill the cover keeping the picture's\n"
           "proportions (the overflow is cut off), or fit the whole picture inside it (the rest is paper);\n"
           "given with a cover set, it takes the place of the set's own fit modes.\n"
           "--save-set OUT.kavi: instead of printing, save the covers as a cover set (ticked, with the fit mode).\n"
           "\n"
           "usage: kavi-cover --stocks [--templates DIR]...\n"
           "lists the disc label stocks found in label-template files, one a line: BRAND PART, the paper, the\n"
           "label's and the hole's diameters in millimetres and the labels on a sheet, separated by tabs. The\n"
           "templates are read from each DIR given, then from ~/.local/share/kavi/templates, then from\n"
           "libglabels-3.0/templates in the system's data folders (Debian's glabels-data package).\n";
}

std::string coverMakerFullUsage() { return std::string(coverMakerUsage()) + discUsage(); }

namespace {

CoverMakerArguments parseStockListArguments(const std::vector<std::string>& arguments) {
    CoverMakerStockList list;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--stocks") continue;
        if (a == "--help" || a == "-h") return CoverMakerHelp{};
        std::string folder;
        if (a == "--templates") {
            if (i + 1 >= arguments.size()) return std::string("--templates needs a folder");
            folder = arguments[++i];
        } else if (a.rfind("--templates=", 0) == 0) {
            folder = a.substr(12);
        } else {
            return "--stocks takes only --templates DIR, not \"" + a + "\"";
        }
        if (folder.empty()) return std::string("--templates needs a folder");
        list.templateFolders.push_back(folder);
    }
    return list;
}

} // namespace

CoverMakerArguments parseCoverMakerArguments(const std::vector<std::string>& arguments) {
    if (std::find(arguments.begin(), arguments.end(), "--stocks") != arguments.end())
        return parseStockListArguments(arguments);
    CoverMakerRequest request;
    bool outputGiven = false;
    std::optional<std::pair<double, double>> offset, scale;
    // The value of an option given as "--name VALUE" or "--name=VALUE"; false when there is none.
    std::size_t i = 0;
    const auto valueOf = [&](const std::string& argument, const std::string& name, std::string& value) {
        if (argument.rfind(name + "=", 0) == 0) {
            value = argument.substr(name.size() + 1);
            return true;
        }
        if (i + 1 >= arguments.size()) return false;
        value = arguments[++i];
        return true;
    };
    const auto isOption = [](const std::string& argument, const std::string& name) {
        return argument == name || argument.rfind(name + "=", 0) == 0;
    };

    for (; i < arguments.size(); ++i) {
        if (const DiscOption disc = parseDiscOption(arguments, i, request.disc); disc.taken) {
            if (!disc.error.empty()) return disc.error;
            continue;
        }
        const std::string& a = arguments[i];
        std::string value;
        if (a == "--help" || a == "-h") return CoverMakerHelp{};
        if (isOption(a, "--paper")) {
            if (!valueOf(a, "--paper", value)) return std::string("--paper needs us or a4");
            const std::string paper = lowered(value);
            if (paper == "us" || paper == "letter") request.paper = PaperChoice::LetterAndLegal;
            else if (paper == "a4") request.paper = PaperChoice::A4;
            else return "unknown paper \"" + value + "\" (us, letter or a4)";
            request.paperGiven = true;
        } else if (isOption(a, "--place")) {
            if (!valueOf(a, "--place", value)) return std::string("--place needs corner, centre or marks");
            const std::string place = lowered(value);
            if (place == "corner") request.placement = Placement::AtPrintableCorner;
            else if (place == "centre" || place == "center") request.placement = Placement::CentredOnSheet;
            else if (place == "marks") request.placement = Placement::MovedInForMarks;
            else return "unknown placement \"" + value + "\" (corner, centre or marks)";
        } else if (isOption(a, "--sheet")) {
            if (!valueOf(a, "--sheet", value)) return std::string("--sheet needs hd=letter|legal or ds=a4|legal");
            const std::string sheet = lowered(value);
            if (sheet == "hd=letter" || sheet == "blu=letter") request.hdAndBluRaySheet = LongCaseSheet::Letter;
            else if (sheet == "hd=legal" || sheet == "blu=legal") request.hdAndBluRaySheet = LongCaseSheet::Legal;
            else if (sheet == "ds=a4") request.dsSheet = DsSheetOnA4::A4;
            else if (sheet == "ds=legal") request.dsSheet = DsSheetOnA4::Legal;
            else return "unknown sheet \"" + value + "\" (hd=letter, hd=legal, ds=a4 or ds=legal)";
        } else if (isOption(a, "--bleed")) {
            if (!valueOf(a, "--bleed", value)) return std::string("--bleed needs 0, 2 or 3 (millimetres)");
            const std::optional<double> millimetres = decimal(value);
            const std::optional<Bleed> bleed = millimetres ? bleedOfMillimetres(*millimetres) : std::nullopt;
            if (!bleed) return "unknown bleed \"" + value + "\" (0, 2 or 3 millimetres)";
            request.bleed = *bleed;
        } else if (a == "--together") {
            request.together = true;
        } else if (a == "--marks") {
            request.cutMarks = true;
        } else if (isOption(a, "--offset")) {
            if (!valueOf(a, "--offset", value) || !(offset = pairOf(value)))
                return std::string("--offset needs two numbers of millimetres, as X,Y");
        } else if (isOption(a, "--scale")) {
            if (!valueOf(a, "--scale", value) || !(scale = pairOf(value)))
                return std::string("--scale needs two percentages, as SX,SY");
        } else if (isOption(a, "--fit")) {
            if (!valueOf(a, "--fit", value)) return std::string("--fit needs stretch, fill or fit");
            const std::optional<FitMode> fit = fitModeFromName(lowered(value));
            if (!fit) return "unknown fit \"" + value + "\" (stretch, fill or fit)";
            request.fit = *fit;
        } else if (a == "-o" || a.rfind("--output=", 0) == 0) {
            if (outputGiven) return std::string("give one output: -o FILE or --print");
            if (a == "-o") {
                if (i + 1 >= arguments.size()) return std::string("-o needs a file name");
                value = arguments[++i];
            } else {
                value = a.substr(9);
            }
            if (value.empty()) return std::string("-o needs a file name");
            request.outputPdf = value;
            outputGiven = true;
        } else if (isOption(a, "--save-set")) {
            if (outputGiven) return std::string("give one output: -o FILE, --print or --save-set FILE");
            if (!valueOf(a, "--save-set", value) || value.empty()) return std::string("--save-set needs a file name");
            request.saveSet = value;
            outputGiven = true;
        } else if (a == "--print" || a.rfind("--print=", 0) == 0) {
            if (outputGiven) return std::string("give one output: -o FILE or --print");
            request.print = true;
            if (a != "--print") {
                request.queue = a.substr(8);
                if (request.queue.empty()) return std::string("--print= needs a queue name");
            }
            outputGiven = true;
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option \"" + a + "\"";
        } else {
            const std::size_t equals = a.find('=');
            if (equals == std::string::npos) {
                if (!request.coverSet.empty()) return std::string("give one cover set");
                request.coverSet = a;
                continue;
            }
            const int kind = kindOfName(a.substr(0, equals));
            if (kind == 0) return "unknown kind \"" + a.substr(0, equals) + "\"";
            const std::string picture = a.substr(equals + 1);
            if (picture.empty()) return "no picture given for " + a.substr(0, equals);
            if (request.ticked[std::size_t(kind - 1)]) return "the kind " + a.substr(0, equals) + " is given twice";
            request.ticked[std::size_t(kind - 1)] = true;
            request.covers.push_back({kind, picture});
        }
    }

    if (!outputGiven) return std::string("give an output: -o FILE.pdf or --print");
    if (!request.coverSet.empty() && !request.covers.empty())
        return std::string("give KIND=PICTURE arguments or a cover set, not both");
    if (!request.saveSet.empty() && !request.coverSet.empty())
        return std::string("--save-set takes KIND=PICTURE arguments, not a cover set");
    if (const std::string problem = discRequestError(request.disc, !request.covers.empty()); !problem.empty())
        return problem;
    if (request.disc.kind && !request.coverSet.empty())
        return std::string("give disc=PICTURE or a cover set, not both");
    if (request.disc.kind && !request.saveSet.empty())
        return std::string("--save-set takes case covers, not a disc label");
    if (request.covers.empty() && request.coverSet.empty() && !request.disc.kind)
        return std::string("give at least one KIND=PICTURE, or a cover set");
    if (!allowedSet(request.covers))
        return std::string("these kinds do not print together: give one of dvd, mini, psp, ds, slim, hd, blu "
                           "alone, or front, inside and back");
    if (offset || scale) {
        Calibration c;
        if (offset) std::tie(c.offsetXMillimetres, c.offsetYMillimetres) = *offset;
        if (scale) std::tie(c.scaleXPercent, c.scaleYPercent) = *scale;
        if (const std::string problem = c.problem(); !problem.empty()) return problem;
        request.calibration = c;
    }
    return request;
}

} // namespace kavi
