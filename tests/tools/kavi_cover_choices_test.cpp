// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover's print choices on the command line: --place, --sheet and --together, refused with one
// line when wrong, and taking the place of a cover set's own layout only where given.
#include "tools/kavi-cover/cover_arguments.h"
#include "tools/kavi-cover/request_layout.h"

#include <gtest/gtest.h>

using namespace kavi;

namespace {

CoverMakerRequest requestOf(std::vector<std::string> args) {
    args.insert(args.end(), {"-o", "x.pdf", "hd=a.png"});
    const CoverMakerArguments parsed = parseCoverMakerArguments(args);
    if (const auto* error = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *error;
    return std::holds_alternative<CoverMakerRequest>(parsed) ? std::get<CoverMakerRequest>(parsed)
                                                             : CoverMakerRequest{};
}

std::string errorOf(std::vector<std::string> args) {
    args.insert(args.end(), {"-o", "x.pdf", "hd=a.png"});
    const CoverMakerArguments parsed = parseCoverMakerArguments(args);
    const auto* error = std::get_if<std::string>(&parsed);
    return error ? *error : std::string();
}

} // namespace

TEST(CoverMakerChoices, PlacesSheetsAndTogetherAreReadAndBadValuesRefused) {
    EXPECT_EQ(requestOf({"--place", "corner"}).placement, Placement::AtPrintableCorner);
    EXPECT_EQ(requestOf({"--place=CENTRE"}).placement, Placement::CentredOnSheet);
    EXPECT_EQ(requestOf({"--place", "center"}).placement, Placement::CentredOnSheet);
    EXPECT_EQ(requestOf({"--place", "marks"}).placement, Placement::MovedInForMarks);
    const CoverMakerRequest both = requestOf({"--sheet", "hd=legal", "--sheet=ds=legal", "--together"});
    EXPECT_EQ(both.hdAndBluRaySheet, LongCaseSheet::Legal);
    EXPECT_EQ(both.dsSheet, DsSheetOnA4::Legal);
    EXPECT_TRUE(both.together);
    EXPECT_EQ(requestOf({"--sheet", "blu=letter"}).hdAndBluRaySheet, LongCaseSheet::Letter);
    const CoverMakerRequest none = requestOf({});
    EXPECT_FALSE(none.placement || none.hdAndBluRaySheet || none.dsSheet || none.together || none.paperGiven);

    EXPECT_EQ(errorOf({"--place", "middle"}), "unknown placement \"middle\" (corner, centre or marks)");
    EXPECT_EQ(errorOf({"--sheet", "hd=a3"}), "unknown sheet \"hd=a3\" (hd=letter, hd=legal, ds=a4 or ds=legal)");
    EXPECT_EQ(errorOf({"--sheet", "ds=letter"}),
              "unknown sheet \"ds=letter\" (hd=letter, hd=legal, ds=a4 or ds=legal)");
    const CoverMakerArguments missing = parseCoverMakerArguments({"-o", "x.pdf", "hd=a.png", "--place"});
    ASSERT_TRUE(std::holds_alternative<std::string>(missing));
    EXPECT_EQ(std::get<std::string>(missing), "--place needs corner, centre or marks");
    const std::string help = coverMakerUsage();
    for (const char* said : {"--place corner|centre|marks", "--sheet hd=letter|legal", "--together"})
        EXPECT_NE(help.find(said), std::string::npos) << said;
}

TEST(CoverMakerChoices, ASetsLayoutHoldsWhereNoOptionIsGiven) {
    PrintLayoutSettings fromSet{PaperChoice::A4, true};
    fromSet.choices.placement = Placement::CentredOnSheet;
    fromSet.choices.sheets.dsOnA4 = DsSheetOnA4::Legal;
    fromSet.choices.together = true;
    EXPECT_EQ(layoutOfRequest(requestOf({}), fromSet), fromSet) << "nothing given: the set's layout";
    const PrintLayoutSettings given =
        layoutOfRequest(requestOf({"--paper", "us", "--place", "marks", "--sheet", "hd=legal"}), fromSet);
    EXPECT_EQ(given.paper, PaperChoice::LetterAndLegal);
    EXPECT_EQ(given.choices.placement, Placement::MovedInForMarks);
    EXPECT_EQ(given.choices.sheets.hdAndBluRay, LongCaseSheet::Legal);
    EXPECT_EQ(given.choices.sheets.dsOnA4, DsSheetOnA4::Legal) << "not given: the set's";
    EXPECT_TRUE(given.cutMarks);
    EXPECT_TRUE(given.choices.together);
    // Covers given as KIND=PICTURE start from the defaults, as before.
    EXPECT_EQ(layoutOfRequest(requestOf({}), {}), PrintLayoutSettings{});
}

TEST(CoverMakerChoices, TheBleedIsReadRefusedWhenUnknownAndReplacesTheSetsOwn) {
    EXPECT_EQ(requestOf({"--bleed", "3"}).bleed, Bleed::ThreeMillimetres);
    EXPECT_EQ(requestOf({"--bleed=2"}).bleed, Bleed::TwoMillimetres);
    EXPECT_EQ(requestOf({"--bleed", "0"}).bleed, Bleed::Off);
    EXPECT_FALSE(requestOf({}).bleed);
    EXPECT_EQ(errorOf({"--bleed", "5"}), "unknown bleed \"5\" (0, 2 or 3 millimetres)");
    EXPECT_EQ(errorOf({"--bleed", "3mm"}), "unknown bleed \"3mm\" (0, 2 or 3 millimetres)");
    const CoverMakerArguments missing = parseCoverMakerArguments({"-o", "x.pdf", "hd=a.png", "--bleed"});
    ASSERT_TRUE(std::holds_alternative<std::string>(missing));
    EXPECT_EQ(std::get<std::string>(missing), "--bleed needs 0, 2 or 3 (millimetres)");
    EXPECT_NE(std::string(coverMakerUsage()).find("--bleed 0|2|3"), std::string::npos);

    PrintLayoutSettings fromSet{PaperChoice::A4, true};
    fromSet.choices.bleed = Bleed::TwoMillimetres;
    fromSet.choices.placement = Placement::CentredOnSheet;
    EXPECT_EQ(layoutOfRequest(requestOf({}), fromSet).choices.bleed, Bleed::TwoMillimetres) << "the set's";
    const PrintLayoutSettings given = layoutOfRequest(requestOf({"--bleed", "0"}), fromSet);
    EXPECT_EQ(given.choices.bleed, Bleed::Off) << "0 given replaces the set's bleed";
    EXPECT_EQ(given.choices.placement, Placement::CentredOnSheet);
    EXPECT_EQ(layoutOfRequest(requestOf({"--bleed", "3"}), {}).choices.bleed, Bleed::ThreeMillimetres);
}
