// SPDX-License-Identifier: GPL-3.0-or-later
#include "covers/disc_page.h"

#include <algorithm>

namespace kavi {

namespace {

// The gap between the ring's edge and its curved text.
constexpr Length kTextMargin = Length::fromMillimetres(2.5);

bool inside(const LengthRect& area, LengthPoint p) {
    return p.x >= area.left && p.x <= area.right() && p.y >= area.top && p.y <= area.bottom();
}

} // namespace

std::optional<LengthRect> RingOnSheet::cutBox() const {
    if (!cut) return std::nullopt;
    return LengthRect{centre.x - cut->width / 2, centre.y - cut->height / 2, cut->width, cut->height};
}

std::optional<Paper> paperOfStock(const DiscLabelStock& stock) {
    if (stock.paperId == "US-Letter") return Paper::Letter;
    if (stock.paperId == "US-Legal") return Paper::Legal;
    if (stock.paperId == "A4") return Paper::A4;
    return std::nullopt;
}

DiscJobLayout discOnPlainPaper(const DiscGeometry& disc, Paper paper, Placement placement, const LengthRect& printable,
                               bool cutMarks, int copies) {
    DiscJobLayout job;
    if (const std::string problem = discGeometryError(disc); !problem.empty()) {
        job.error = problem;
        return job;
    }
    if (copies < 1) {
        job.error = "at least one copy is needed";
        return job;
    }
    DiscSheetLayout sheet;
    sheet.sheet = sheetSize(paper, Orientation::Portrait);
    sheet.paper = paper;
    sheet.printable = printable;
    const Length radius = disc.outer / 2;
    const LengthPoint centre = placement == Placement::CentredOnSheet
        ? LengthPoint{sheet.sheet.width / 2, sheet.sheet.height / 2}
        : LengthPoint{printable.left + radius, printable.top + radius};
    sheet.labels.push_back({{centre, radius, disc.hole / 2, std::nullopt}, true});
    if (cutMarks)
        for (const MarkLine& mark : discCutGuides(disc, centre))
            if (inside(printable, mark.from) && inside(printable, mark.to)) sheet.marks.push_back(mark);
    job.sheets.assign(std::size_t(copies), sheet);
    return job;
}

DiscJobLayout discOnStock(const DiscLabelStock& stock, int startLabel, int copies) {
    DiscJobLayout job;
    const DiscSheetPlan plan = planDiscLabels(stock, startLabel, copies);
    if (!plan.error.empty()) {
        job.error = plan.error;
        return job;
    }
    std::optional<LengthSize> cut;
    if (stock.cutWidth || stock.cutHeight)
        cut =
            LengthSize{stock.cutWidth.value_or(stock.outerDiameter()), stock.cutHeight.value_or(stock.outerDiameter())};
    DiscSheetLayout blank;
    blank.sheet = stock.paper;
    blank.paper = paperOfStock(stock);
    blank.printable = {Length(), Length(), stock.paper.width, stock.paper.height};
    for (const LengthPoint& centre : stock.centres)
        blank.labels.push_back({{centre, stock.outerRadius, stock.holeRadius, cut}, false});
    job.sheets.assign(std::size_t(plan.sheets), blank);
    for (const DiscLabelPlace& place : plan.places)
        job.sheets[std::size_t(place.sheet)].labels[std::size_t(place.label)].used = true;
    return job;
}

void calibrate(DiscSheetLayout& sheet, const Calibration& calibration) {
    if (calibration.isIdentity()) return;
    const double scale = (calibration.scaleXPercent + calibration.scaleYPercent) / 200;
    for (DiscLabelSlot& label : sheet.labels) {
        RingOnSheet& ring = label.ring;
        ring.centre = calibration.apply(ring.centre);
        ring.outerRadius = ring.outerRadius * scale;
        ring.holeRadius = ring.holeRadius * scale;
        if (ring.cut) ring.cut = LengthSize{ring.cut->width * scale, ring.cut->height * scale};
    }
    for (MarkLine& mark : sheet.marks) mark = {calibration.apply(mark.from), calibration.apply(mark.to)};
}

PictureOnPage discPicture(const RingOnSheet& ring, int pixelWidth, int pixelHeight, FitMode fit) {
    return fitPicture(ring.square(), pixelWidth, pixelHeight, fit);
}

Length discTextRadius(Length outerRadius, Length holeRadius, Length letterHeight) {
    const Length nearEdge = outerRadius - kTextMargin - letterHeight / 2;
    const Length middle = (outerRadius + holeRadius) / 2;
    return std::max(nearEdge, middle);
}

} // namespace kavi
