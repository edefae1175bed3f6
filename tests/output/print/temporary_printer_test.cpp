// SPDX-License-Identifier: GPL-3.0-or-later
// The record that lets a later start undo a temporary printer left behind by a Kavi that did not
// shut down: written before the first change, put back and removed by the next start once its
// Kavi has gone, left alone while that Kavi runs, and a damaged one ignored.
#include "output/print/printer_chooser.h"
#include "output/print/retain_original_printer.h"
#include "output/print/temporary_printer_record.h"
#include "platform/system/process_identity.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavi;
using namespace kavi::testing;

namespace {

// Another process of this machine, running until stopped.
class OtherProcess {
public:
    OtherProcess() {
        process_.start("sleep", {"600"});
        process_.waitForStarted();
        if (auto id = processIdentity(process_.processId())) identity = *id;
    }
    ~OtherProcess() { stop(); }
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished();
    }
    ProcessIdentity identity;

private:
    QProcess process_;
};

// Office was the user's own default; Photo is the temporary printer a Kavi chose.
class TemporaryPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        t.printers.install({"Office", "Photo"});
        record = temporaryPrinterRecordBeside(folder.file("kavi4.ini"));
    }
    void choosePhotoAsTheOtherKaviDid() {
        t.printers.writeDefaultPrinterEntry("Photo,Photo driver,Photo-port");
        t.printers.entryWrites.clear();
    }
    TemporaryPrinterRecord officeRecord(const ProcessIdentity& owner, bool userHadDefault = true) const {
        TemporaryPrinterRecord r;
        r.owner = owner;
        r.original = {true, "Office", "Office driver", "Office-port", std::nullopt, {}, {}, {}};
        if (userHadDefault) r.original.userSetting = "Office";
        return r;
    }
    QString defaultName() { return deviceNameOfEntry(t.printers.defaultPrinterEntry()); }

    TempFolder folder;
    TestPlatform t;
    QString record;
};

} // namespace

TEST_F(TemporaryPrinter, WrittenBeforeTheFirstChangeAndRemovedByTheNormalRestore) {
    const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
    EXPECT_FALSE(QFile::exists(record)) << "no change, no record";
    PrinterChooser form(t.platform);
    form.showChooser();
    form.List1->findItems("Photo", Qt::MatchExactly).first()->setSelected(true);
    form.Command1->click();
    ASSERT_EQ(defaultName(), "Photo");
    const auto written = readTemporaryPrinterRecord(record);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->owner, currentProcess());
    EXPECT_EQ(written->original.deviceName, "Office");
    EXPECT_FALSE(written->original.userSetting) << "the user had no default of their own";

    restoreOriginalPrinter(t.printers, original);
    EXPECT_EQ(defaultName(), "Office");
    EXPECT_FALSE(t.printers.userSetting);
    EXPECT_FALSE(QFile::exists(record));
}

TEST_F(TemporaryPrinter, AStartAfterACrashPutsTheOriginalBackBeforeReadingIt) {
    for (const bool userHadDefault : {true, false}) {
        OtherProcess crashed;
        crashed.stop(); // its Kavi was killed: the record names a process that has gone
        choosePhotoAsTheOtherKaviDid();
        ASSERT_TRUE(writeTemporaryPrinterRecord(record, officeRecord(crashed.identity, userHadDefault)));

        const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
        EXPECT_EQ(original.deviceName, "Office") << "the temporary printer is not taken for the original";
        EXPECT_EQ(defaultName(), "Office");
        EXPECT_EQ(t.printers.userSetting.has_value(), userHadDefault);
        EXPECT_EQ(original.userSetting.has_value(), userHadDefault);
        EXPECT_FALSE(QFile::exists(record));
    }
    // The print service does not answer at that start: the record stays, and this Kavi's end puts
    // the original back.
    OtherProcess crashed;
    crashed.stop();
    choosePhotoAsTheOtherKaviDid();
    ASSERT_TRUE(writeTemporaryPrinterRecord(record, officeRecord(crashed.identity)));
    t.printers.writesFail = true;
    t.printers.service.reachable = false;
    const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
    EXPECT_EQ(original.deviceName, "Office");
    EXPECT_TRUE(QFile::exists(record));
    t.printers.writesFail = false;
    t.printers.service.reachable = true;
    restoreOriginalPrinter(t.printers, original);
    EXPECT_EQ(defaultName(), "Office");
    EXPECT_FALSE(QFile::exists(record));
}

TEST_F(TemporaryPrinter, ASecondKaviNeverUndoesOrOverwritesTheFirstOnesRecord) {
    OtherProcess first;
    ASSERT_NE(first.identity.pid, 0);
    choosePhotoAsTheOtherKaviDid();
    ASSERT_TRUE(writeTemporaryPrinterRecord(record, officeRecord(first.identity)));
    const QByteArray before = folder.read(QFileInfo(record).fileName());

    const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
    EXPECT_EQ(defaultName(), "Photo") << "the first Kavi's choice stands";
    EXPECT_TRUE(t.printers.entryWrites.empty());
    EXPECT_EQ(original.deviceName, "Office") << "the first one's original is the real one";

    cSetDfltPrinter(t.printers).SetPrinterAsDefault("Office"); // this one changes the printer too
    EXPECT_EQ(folder.read(QFileInfo(record).fileName()), before);
    t.printers.writeDefaultPrinterEntry("Photo,Photo driver,Photo-port");
    t.printers.entryWrites.clear();
    restoreOriginalPrinter(t.printers, original);
    EXPECT_TRUE(t.printers.entryWrites.empty()) << "the first Kavi puts the default back when it ends";
    EXPECT_EQ(folder.read(QFileInfo(record).fileName()), before);

    first.stop(); // the first has gone meanwhile: this one's end puts the real original back
    restoreOriginalPrinter(t.printers, original);
    EXPECT_EQ(defaultName(), "Office");
    EXPECT_FALSE(QFile::exists(record));
}

TEST_F(TemporaryPrinter, ADefaultTheUserChangedAfterKavisChoiceIsLeftAloneAndTheRecordDropped) {
    for (const bool withRecord : {true, false}) {
        TestPlatform p;
        p.printers.install({"Office", "Photo", "Other"});
        const OriginalPrinterRecord original = rememberOriginalPrinter(p.printers, withRecord ? record : QString());
        PrinterChooser form(p.platform);
        form.showChooser();
        form.List1->findItems("Photo", Qt::MatchExactly).first()->setSelected(true);
        form.Command1->click();
        ASSERT_EQ(deviceNameOfEntry(p.printers.defaultPrinterEntry()), "Photo");
        if (withRecord) {
            const auto written = readTemporaryPrinterRecord(record);
            ASSERT_TRUE(written);
            EXPECT_EQ(written->original.temporaryPrinter, "Photo") << "the record names Kavi's own printer";
        }
        // The user runs lpoptions -d Other in a shell (or another program does) while Kavi runs.
        p.printers.writeDefaultPrinterEntry("Other,Other driver,Other-port");
        p.printers.entryWrites.clear();

        restoreOriginalPrinter(p.printers, original);
        EXPECT_EQ(deviceNameOfEntry(p.printers.defaultPrinterEntry()), "Other") << "the user's choice stands";
        EXPECT_TRUE(p.printers.entryWrites.empty());
        EXPECT_EQ(p.printers.userSetting, QString("Other"));
        EXPECT_FALSE(QFile::exists(record)) << "the record is dropped";
        form.close();
    }
}

TEST_F(TemporaryPrinter, AKaviThatDiedIsUndoneOnlyWhileItsPrinterIsStillTheDefault) {
    // A first Kavi chose Photo and was killed; its record names Photo as its printer.
    t.printers.install({"Other"});
    for (const bool userChangedIt : {false, true}) {
        OtherProcess crashed;
        crashed.stop();
        choosePhotoAsTheOtherKaviDid();
        TemporaryPrinterRecord left = officeRecord(crashed.identity);
        left.original.temporaryPrinter = "Photo";
        ASSERT_TRUE(writeTemporaryPrinterRecord(record, left));
        if (userChangedIt) {
            t.printers.writeDefaultPrinterEntry("Other,Other driver,Other-port");
            t.printers.entryWrites.clear();
        }
        const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
        EXPECT_FALSE(QFile::exists(record));
        if (userChangedIt) {
            EXPECT_EQ(defaultName(), "Other");
            EXPECT_TRUE(t.printers.entryWrites.empty());
            EXPECT_EQ(original.deviceName, "Other") << "the user's later choice is the original now";
        } else {
            EXPECT_EQ(defaultName(), "Office");
            EXPECT_EQ(original.deviceName, "Office");
        }
    }
}

TEST_F(TemporaryPrinter, ASecondKaviHandsBackTheFirstOnesPrinterAndTheFirstThenTheUsers) {
    // The first Kavi (another process) chose Photo; this one starts, chooses Office2 and exits.
    t.printers.install({"Office2"});
    OtherProcess first;
    ASSERT_NE(first.identity.pid, 0);
    choosePhotoAsTheOtherKaviDid();
    TemporaryPrinterRecord held = officeRecord(first.identity);
    held.original.temporaryPrinter = "Photo";
    ASSERT_TRUE(writeTemporaryPrinterRecord(record, held));
    const QByteArray before = folder.read(QFileInfo(record).fileName());

    const OriginalPrinterRecord second = rememberOriginalPrinter(t.printers, record);
    ASSERT_TRUE(cSetDfltPrinter(t.printers).SetPrinterAsDefault("Office2"));
    restoreOriginalPrinter(t.printers, second);
    EXPECT_EQ(defaultName(), "Photo") << "the first Kavi's printer again, which that Kavi undoes itself";
    EXPECT_EQ(folder.read(QFileInfo(record).fileName()), before) << "the first one's record is untouched";

    // The first one is gone without its shut-down: the next start finds its printer still in force
    // and puts the user's own back.
    first.stop();
    rememberOriginalPrinter(t.printers, record);
    EXPECT_EQ(defaultName(), "Office");
    EXPECT_FALSE(QFile::exists(record));
}

TEST_F(TemporaryPrinter, ADamagedRecordIsIgnoredAndReplacedByTheNextOne) {
    const QByteArray whole = formatTemporaryPrinterRecord(officeRecord({1, 2}));
    for (const QByteArray& damaged : {QByteArray("\x01\x02 not a record"), whole.left(whole.size() / 2),
                                      QByteArray(whole).replace("pid=1", "pid=x"), QByteArray()}) {
        folder.write(QFileInfo(record).fileName(), damaged);
        choosePhotoAsTheOtherKaviDid();
        const OriginalPrinterRecord original = rememberOriginalPrinter(t.printers, record);
        EXPECT_TRUE(t.printers.entryWrites.empty());
        EXPECT_EQ(original.deviceName, "Photo");
        cSetDfltPrinter(t.printers).SetPrinterAsDefault("Office");
        const auto replaced = readTemporaryPrinterRecord(record);
        ASSERT_TRUE(replaced);
        EXPECT_EQ(replaced->owner, currentProcess());
        restoreOriginalPrinter(t.printers, original);
        EXPECT_FALSE(QFile::exists(record));
    }
    // Names with commas, spaces or line breaks come back as written.
    TemporaryPrinterRecord odd = officeRecord(currentProcess());
    odd.original.port = "file:///tmp/a b,c\nd=e";
    odd.original.temporaryPrinter = "Photo 2";
    const auto back = parseTemporaryPrinterRecord(formatTemporaryPrinterRecord(odd));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->original.port, odd.original.port);
    EXPECT_EQ(back->original.temporaryPrinter, odd.original.temporaryPrinter);
}

TEST(ProcessIdentity, TellsAReusedPidFromTheProcessThatHadIt) {
    const ProcessIdentity self = currentProcess();
    EXPECT_TRUE(isRunning(self));
    EXPECT_FALSE(isRunning({self.pid, self.startTime + 1})) << "same pid, later start: another process";
    OtherProcess gone;
    const ProcessIdentity other = gone.identity;
    EXPECT_TRUE(isRunning(other));
    gone.stop();
    EXPECT_FALSE(isRunning(other));

    const auto stat = parseProcessStat("42 (a (b) c) Z 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 987654 0 0");
    ASSERT_TRUE(stat);
    EXPECT_EQ(stat->startTime, 987654u);
    EXPECT_TRUE(stat->ended);
    EXPECT_FALSE(parseProcessStat("42 (cut) S 1 2"));
}
