// SPDX-License-Identifier: GPL-3.0-or-later
// The printer chooser window, the default-printer switcher with its version table, and
// remembering and restoring the start-up default.
#include "output/print/printer_chooser.h"
#include "output/print/retain_original_printer.h"
#include "output/print/set_default_printer.h"
#include "tests/support/test_platform.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TestPlatform;

namespace {

void select(PrinterChooser& form, const QString& name) {
    const auto items = form.List1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    items.first()->setSelected(true);
}

// Two printers, Office the default; the chooser is open.
class ThePrinterChooser : public ::testing::Test {
protected:
    void SetUp() override {
        t.printers.install({"Office", "Photo"});
        form.showChooser();
    }
    // Highlights a printer and presses "Select".
    void choose(const QString& name) {
        select(form, name);
        form.Command1->click();
    }
    TestPlatform t;
    PrinterChooser form{t.platform};
};

} // namespace

TEST(PrinterChooserList, ListsPrintersInOrderAndWantsASelection) {
    TestPlatform t;
    t.printers.install({"Zeta", "Alpha", "Mid"});
    PrinterChooser form(t.platform);
    form.showChooser();
    EXPECT_EQ(form.windowTitle(), "Set Temporary Printer");
    ASSERT_EQ(form.List1->count(), 3);
    EXPECT_EQ(form.List1->item(0)->text(), "Zeta");
    EXPECT_EQ(form.List1->item(2)->text(), "Mid");
    EXPECT_TRUE(form.List1->selectedItems().isEmpty());

    form.Command1->click();
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_EQ(t.messages.shown[0].text, "Please select a printer from the list.");
    EXPECT_EQ(t.messages.shown[0].title, "Kavi4");
    EXPECT_EQ(t.messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(form.switcher(), nullptr); // never created without a selection
    EXPECT_TRUE(form.isVisible());
    form.Command2->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(t.printers.entryWrites.empty());
}

TEST_F(ThePrinterChooser, SelectingWritesTheDefaultEntryAndCloses) {
    choose("Photo");
    ASSERT_EQ(t.printers.entryWrites.size(), 1u);
    EXPECT_EQ(t.printers.entryWrites[0], "Photo,Photo driver,Photo-port");
    EXPECT_EQ(t.printers.deviceEntry, "Photo,Photo driver,Photo-port");
    EXPECT_EQ(t.messages.shown.at(0).text, "Photo has successfully been set as the temporary printer.");
    EXPECT_EQ(t.messages.shown.at(0).icon, MsgIcon::Information);
    EXPECT_EQ(t.messages.shown.at(0).title, "Kavi4");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ThePrinterChooser, AFailedWriteIsReportedAndTheWindowStays) {
    t.printers.writesFail = true;
    choose("Photo");
    EXPECT_EQ(t.messages.shown.at(0).text, "Photo has failed to be set as the temporary printer.");
    EXPECT_EQ(t.messages.shown.at(0).icon, MsgIcon::Exclamation);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(t.printers.deviceEntry, "Office,Office driver,Office-port");
    EXPECT_EQ(form.switcher()->CurrentDefault(), "Office");
}

TEST_F(ThePrinterChooser, ReopeningKeepsTheSwitcherAndItsCurrentDefault) {
    choose("Photo");
    cSetDfltPrinter* first = form.switcher();

    // The default changes outside the program; the chooser still believes in Photo.
    t.printers.deviceEntry = "Office,Office driver,Office-port";
    form.showChooser();
    EXPECT_TRUE(form.List1->selectedItems().isEmpty()); // loaded afresh
    choose("Photo");
    EXPECT_EQ(form.switcher(), first);
    EXPECT_EQ(t.printers.entryWrites.size(), 1u); // nothing written the second time
    EXPECT_EQ(t.messages.shown.back().text, "Photo has successfully been set as the temporary printer.");
}

TEST(DefaultPrinterSwitcher, VersionTableRows) {
    using M = cSetDfltPrinter::Method;
    const struct {
        VersionRecord v;
        M method;
    } rows[] = {
        {{3, 51, 1057, 2}, M::Profile}, {{3, 51, 1056, 2}, M::None},    {{4, 0, 950, 1}, M::Spooler},
        {{4, 10, 2222, 1}, M::Spooler}, {{4, 90, 3000, 1}, M::Spooler}, {{4, 0, 1381, 2}, M::Profile},
        {{4, 0, 1380, 2}, M::None},     {{5, 0, 2195, 2}, M::Profile},  {{10, 0, 19045, 2}, M::Profile},
        {{3, 10, 0, 0}, M::None},       {{4, 0, 1381, 1}, M::Spooler},
    };
    for (const auto& row : rows)
        EXPECT_EQ(cSetDfltPrinter::methodFor(row.v), row.method)
            << row.v.major << "." << row.v.minor << "." << row.v.build << " p" << row.v.platformId;

    TestPlatform t; // the record this platform gives picks the profile method
    t.printers.install({"A", "B"});
    t.printers.version = CupsPrinters().versionRecord();
    EXPECT_TRUE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("B"));
    EXPECT_EQ(t.printers.entryWrites.size(), 1u);
    EXPECT_TRUE(t.printers.spoolerWrites.empty());
}

TEST(DefaultPrinterSwitcher, MethodsAndTheirFailures) {
    TestPlatform t;
    t.printers.install({"A", "B"});
    {
        cSetDfltPrinter s(t.printers);
        EXPECT_EQ(s.CurrentDefault(), "A");
        EXPECT_TRUE(s.SetPrinterAsDefault("A")); // already the default: nothing written
        EXPECT_FALSE(s.SetPrinterAsDefault("a")); // case-sensitive, and "a" has no ports entry
        EXPECT_FALSE(s.SetPrinterAsDefault(""));
        EXPECT_TRUE(t.printers.entryWrites.empty());
        EXPECT_EQ(s.CurrentDefault(), "A");
    }
    t.printers.version = {4, 10, 0, 1};
    {
        cSetDfltPrinter s(t.printers);
        EXPECT_TRUE(s.SetPrinterAsDefault("B"));
        EXPECT_EQ(t.printers.spoolerWrites, std::vector<QString>{"B"});
        EXPECT_EQ(s.CurrentDefault(), "B");
        t.printers.spoolerFails = true;
        EXPECT_FALSE(s.SetPrinterAsDefault("A"));
        EXPECT_EQ(s.CurrentDefault(), "B");
    }
    t.printers.version = {3, 0, 0, 0};
    EXPECT_FALSE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("A"));

    t.printers.deviceEntry = "Loose"; // text with no comma: taken as a device name
    EXPECT_EQ(cSetDfltPrinter(t.printers).CurrentDefault(), "Loose");
    t.printers.deviceEntry.clear();
    EXPECT_EQ(cSetDfltPrinter(t.printers).CurrentDefault(), "");
}

TEST(OriginalPrinter, FoundRememberedAndRestoredExactly) {
    TestPlatform t;
    t.printers.install({"A", "B"});
    EXPECT_EQ(FindDefaultPrinter(t.printers)->port, "A-port");

    // No setting of the user's own at start: the restore takes the program's setting away again.
    OriginalPrinterRecord start = rememberOriginalPrinter(t.printers);
    EXPECT_TRUE(start.found);
    EXPECT_EQ(start.deviceName, "A");
    EXPECT_EQ(start.driverName, "A driver");
    ASSERT_TRUE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("B"));
    restoreOriginalPrinter(t.printers, start);
    EXPECT_FALSE(t.printers.userSetting.has_value());
    EXPECT_EQ(t.printers.deviceEntry, "A,A driver,A-port");

    // The user's own setting at start is written back.
    ASSERT_TRUE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("B"));
    start = rememberOriginalPrinter(t.printers);
    ASSERT_TRUE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("A"));
    const std::size_t writes = t.printers.entryWrites.size();
    restoreOriginalPrinter(t.printers, start);
    EXPECT_EQ(t.printers.userSetting, QString("B"));
    EXPECT_EQ(t.printers.entryWrites.size(), writes + 1);

    // Nothing changed during the run: nothing written.
    restoreOriginalPrinter(t.printers, start);
    EXPECT_EQ(t.printers.entryWrites.size(), writes + 1);
}

TEST(OriginalPrinter, NothingFoundNothingRestored) {
    TestPlatform t;
    EXPECT_FALSE(FindDefaultPrinter(t.printers).has_value());
    t.printers.install({"A"});
    t.printers.deviceEntry = "Gone,x,y"; // names a printer that is not installed
    const OriginalPrinterRecord start = rememberOriginalPrinter(t.printers);
    EXPECT_FALSE(start.found);
    restoreOriginalPrinter(t.printers, start);
    EXPECT_TRUE(t.printers.entryWrites.empty());
    EXPECT_EQ(t.printers.deviceEntry, "Gone,x,y");
}
