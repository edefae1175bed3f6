// SPDX-License-Identifier: GPL-3.0-or-later
// The print layout goes into the cover set the document saves, and opening a set brings its layout
// back; a set saved without one leaves the layout in use as it is.
#include "document/cover_document.h"

#include <gtest/gtest.h>

using namespace kavi;

TEST(CoverDocumentPrintLayout, TravelsWithTheCoverSetAndASetWithoutOneLeavesItAlone) {
    CoverDocument saved;
    DocumentPrintLayout layout{PaperChoice::A4, true};
    layout.choices.placement = Placement::CentredOnSheet;
    layout.choices.together = true;
    saved.setPrintLayout(layout);
    const CoverSet set = saved.toCoverSet();
    ASSERT_TRUE(set.printLayout);

    CoverDocument opened;
    int told = 0;
    opened.addListener(
        [&told](std::optional<Kind>, CoverDocument::What what) { told += what == CoverDocument::What::PrintLayout; });
    opened.applyCoverSet(set);
    EXPECT_EQ(opened.printLayout(), layout);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(opened.hasUnsavedWork());

    CoverSet older = set;
    older.printLayout.reset();
    opened.applyCoverSet(older);
    EXPECT_EQ(opened.printLayout(), layout) << "kept as it was";
}
