// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/kavi-cover/disc_arguments.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace kavi {

namespace {

// More labels than this in one run is a slip of the keyboard, not a print.
constexpr int kMostCopies = 1000;

std::string lowered(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<double> millimetres(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> whole(const std::string& text) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-'))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return int(value);
}

} // namespace

DiscOption parseDiscOption(const std::vector<std::string>& arguments, std::size_t& i, DiscRequest& disc) {
    const std::string& a = arguments[i];
    std::string name = a, value;
    bool hasValue = false;
    if (a.rfind("--", 0) == 0) {
        if (const std::size_t equals = a.find('='); equals != std::string::npos) {
            name = a.substr(0, equals);
            value = a.substr(equals + 1);
            hasValue = true;
        }
        if (name != "--disc" && name != "--stock" && name != "--start" && name != "--copies" && name != "--templates")
            return {};
        if (!hasValue) {
            if (i + 1 >= arguments.size()) return {true, name + " needs a value"};
            value = arguments[++i];
        }
    } else {
        const std::size_t equals = a.find('=');
        if (equals == std::string::npos) return {};
        const std::optional<DiscKind> kind = discKindOfName(lowered(a.substr(0, equals)));
        if (!kind) return {};
        if (disc.kind) return {true, "give one disc label: disc=PICTURE or minidisc=PICTURE"};
        disc.kind = kind;
        disc.picture = a.substr(equals + 1);
        if (disc.picture.empty()) return {true, "no picture given for " + a.substr(0, equals)};
        return {true, {}};
    }
    if (name == "--disc") {
        const std::size_t comma = value.find(',');
        const auto outer = comma == std::string::npos ? std::nullopt : millimetres(value.substr(0, comma));
        const auto hole = comma == std::string::npos ? std::nullopt : millimetres(value.substr(comma + 1));
        if (!outer || !hole) return {true, "--disc needs two numbers of millimetres, as OUTER,HOLE"};
        const DiscGeometry geometry{Length::fromMillimetres(*outer), Length::fromMillimetres(*hole)};
        if (const std::string problem = discGeometryError(geometry); !problem.empty())
            return {true, "--disc " + value + ": " + problem};
        disc.geometry = geometry;
    } else if (name == "--stock") {
        if (value.empty()) return {true, "--stock needs a stock's name, as \"BRAND PART\""};
        disc.stock = value;
    } else if (name == "--start") {
        const std::optional<int> n = whole(value);
        if (!n || *n < 1) return {true, "--start needs a label number from 1 on, not \"" + value + "\""};
        disc.startLabel = *n;
    } else if (name == "--copies") {
        const std::optional<int> n = whole(value);
        if (!n || *n < 1 || *n > kMostCopies)
            return {true,
                    "--copies needs a number of copies from 1 to " + std::to_string(kMostCopies) + ", not \"" + value +
                        "\""};
        disc.copies = *n;
    } else {
        if (value.empty()) return {true, "--templates needs a folder"};
        disc.templateFolders.push_back(value);
    }
    return {true, {}};
}

std::string discRequestError(const DiscRequest& disc, bool caseKindsGiven) {
    if (disc.kind && caseKindsGiven) return "a disc label prints alone: give disc=PICTURE or minidisc=PICTURE alone";
    if (!disc.stock.empty() && caseKindsGiven) return "case covers are not printed on disc label stock (--stock)";
    return {};
}

const char* discUsage() {
    return "\n"
           "usage: kavi-cover [--disc OUTER,HOLE] [--stock \"BRAND PART\" [--start N]] [--copies N]\n"
           "                  [--templates DIR]... [--marks] [--paper us|a4] (-o OUT.pdf | --print[=QUEUE])\n"
           "                  (disc=PICTURE | minidisc=PICTURE | COVERSET.kavi)\n"
           "prints a round label for the face of a disc (12 cm) or a mini disc (8 cm), alone. On plain paper the\n"
           "label is centred on the sheet (-o) or at the printer's printable corner, with cut guides by --marks;\n"
           "--disc gives its outer and hole diameters in millimetres (20 to 130, the hole smaller; 117,41 and\n"
           "78,41 unless given). --stock prints on a sheet of label stock as --stocks lists it, with the stock's\n"
           "own ring: --start is the label the first copy goes on, and --copies go on to further sheets.\n";
}

} // namespace kavi
