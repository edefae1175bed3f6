// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy of unsaved covers: written a little after a change and at a termination
// signal, offered at the next start (Yes opens it as unsaved work, No deletes it), gone after Save
// or Discard, and never shared between two Kavi processes, a crashed one included.
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/recovery_copy.h"
#include "coverset/cover_set_file.h"
#include "platform/system/termination_signals.h"
#include "tests/support/picture_files.h"
#include "tests/support/process_events.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

using namespace kavi;
using kavi::testing::samePixels;
using kavi::testing::TempFolder;

namespace {

const QString kQuestion = QStringLiteral("Kavi was closed with unsaved covers. Open them again?");

QImage pictureFor(int kind) {
    QImage image(20 + kind, 12 + kind, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 7, y * 11, kind * 25));
    return image;
}

class Recovery : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir;
    QString folder() const { return dir.file("recovery"); }

    std::unique_ptr<MainWindow> openWindow() {
        auto w = std::make_unique<MainWindow>(services.platform);
        w->settingsFile = dir.file("kavi4.ini");
        w->programFolderPath = dir.path();
        w->recoveryFolder = folder();
        w->Form_Load();
        return w;
    }
    QStringList copies() const { return QDir(folder()).entryList({"*.kavi"}, QDir::Files); }
    // A change the user makes: the DVD's picture shown whole, inside its cover.
    static void changeCovers(MainWindow& window) {
        window.Image(4)->setPicture(pictureFor(4));
        window.cboFit(4)->setCurrentIndex(2);
        window.cboFit_Click(4);
    }
    int questionsAsked() const {
        return int(std::count_if(services.messages.shown.begin(), services.messages.shown.end(),
                                 [](const MessageRequest& m) { return m.text == kQuestion; }));
    }
};

} // namespace

TEST_F(Recovery, ASignalKeepsTheUnsavedCoversAndTheNextStartOffersThemAsUnsavedWork) {
    {
        auto window = openWindow();
        changeCovers(*window);
        window->Check(4)->click();
        ASSERT_TRUE(window->hasUnsavedWork());
        EXPECT_TRUE(copies().isEmpty()) << "nothing is written at the change itself";
        EXPECT_TRUE(window->tmrRecovery->isActive() && window->tmrRecovery->isSingleShot());
        EXPECT_EQ(window->tmrRecovery->interval(), 10000);

        // As the program does: the signal reaches the window through the event loop.
        TerminationSignals stopRequests([&window](int signalNumber) { window->stopRequested(signalNumber); });
        ASSERT_TRUE(stopRequests.isWatching());
        std::raise(SIGTERM);
        kavi::testing::processEventsUntil([&] { return window->recoveryCopy() == nullptr; });
        EXPECT_TRUE(services.messages.shown.empty()) << "a signal asks nothing";
    }
    ASSERT_EQ(copies().size(), 1);
    const CoverSetReading kept = loadCoverSetFile(QDir(folder()).filePath(copies().first()));
    ASSERT_TRUE(kept.set);
    EXPECT_TRUE(samePixels(kept.set->cover(4).picture.image(), pictureFor(4)));

    services.messages.answers = {MsgResult::Yes};
    auto window = openWindow();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    const MessageRequest& asked = services.messages.shown[0];
    EXPECT_EQ(asked.text, kQuestion);
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_TRUE(samePixels(window->Image(4)->picture(), pictureFor(4)));
    EXPECT_EQ(window->fitMode(4), FitMode::Fit);
    EXPECT_TRUE(window->Check(4)->isChecked());
    EXPECT_TRUE(window->hasUnsavedWork()) << "reopened covers are still unsaved";
    ASSERT_EQ(copies().size(), 1) << "the copy became this run's own";
    EXPECT_EQ(QDir(folder()).filePath(copies().first()), window->recoveryCopy()->path());

    // Leaving with Discard takes the copy away, and the next start asks nothing.
    services.messages.answers = {MsgResult::Discard};
    window->exit_Click();
    EXPECT_TRUE(copies().isEmpty());
    window.reset();
    services.messages.shown.clear();
    window = openWindow();
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(Recovery, TheCopyFollowsChangesAndGoesWithSaveAndNoDeletesALeftCopy) {
    auto window = openWindow();
    RecoveryCopy& copy = *window->recoveryCopy();
    changeCovers(*window);
    window->tmrRecovery_Timer(); // as the timer does, 10 s after the last change
    copy.waitUntilWritten();
    ASSERT_TRUE(QFile::exists(copy.path()));

    // A pick while the work is unsaved is a change too, and the next copy holds it.
    dir.write("later.bmp", kavi::testing::pictureBytes(9, 4, Qt::blue));
    window->tmrRecovery->stop();
    window->openPicture(dir.file("later.bmp"));
    EXPECT_TRUE(window->tmrRecovery->isActive());
    window->tmrRecovery_Timer();
    copy.waitUntilWritten();
    const CoverSetReading written = loadCoverSetFile(copy.path());
    ASSERT_TRUE(written.set);
    EXPECT_EQ(written.set->cover(1).picture.size(), QSize(9, 4));
    EXPECT_EQ(written.set->cover(4).fit, FitMode::Fit);

    services.saveDialog.answers.push_back({true, dir.file("saved.kavi"), 0});
    ASSERT_TRUE(window->SaveCoverSet_Click());
    EXPECT_FALSE(QFile::exists(copy.path())) << "saved covers need no copy";
    EXPECT_FALSE(window->tmrRecovery->isActive());
    window->tmrRecovery_Timer();
    copy.waitUntilWritten();
    EXPECT_FALSE(QFile::exists(copy.path())) << "and a late timer writes none";

    // Changed again and ended by a signal; the next start's No deletes the copy unopened.
    window->cboFit(4)->setCurrentIndex(1);
    window->cboFit_Click(4);
    window->stopRequested(SIGHUP);
    window.reset();
    ASSERT_EQ(copies().size(), 1);
    services.messages.answers = {MsgResult::No};
    window = openWindow();
    EXPECT_EQ(questionsAsked(), 1);
    EXPECT_FALSE(window->Image(4)->hasPicture());
    EXPECT_FALSE(window->hasUnsavedWork());
    EXPECT_TRUE(copies().isEmpty());
}

TEST_F(Recovery, TwoProcessesNeverShareACopyAndACrashedOnesCopyIsOfferedOnce) {
    QProcess other;
    other.start(QStringLiteral(KAVI_RECOVERY_HOLDER), {folder()});
    ASSERT_TRUE(other.waitForStarted());
    kavi::testing::processEventsUntil([&] { return other.canReadLine() || other.state() == QProcess::NotRunning; });
    const QString othersCopy = QString::fromLocal8Bit(other.readLine()).trimmed();
    ASSERT_TRUE(QFile::exists(othersCopy)) << other.readAllStandardError().toStdString();

    auto window = openWindow();
    EXPECT_NE(window->recoveryCopy()->path(), othersCopy);
    EXPECT_EQ(questionsAsked(), 0) << "the copy of a running Kavi is not offered";
    changeCovers(*window);
    window->tmrRecovery_Timer();
    window->recoveryCopy()->waitUntilWritten();
    EXPECT_EQ(copies().size(), 2);
    EXPECT_TRUE(leftCopies(folder()).empty()) << "both owners are running";

    other.kill(); // a crash: no shut-down, the lock file stays behind
    kavi::testing::processEventsUntil([&] { return other.state() == QProcess::NotRunning; });
    std::vector<LeftCopy> left = leftCopies(folder());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, othersCopy);
    EXPECT_TRUE(leftCopies(folder()).empty()) << "a copy being offered is not offered by a second start";
    left.clear();

    services.messages.answers = {MsgResult::Yes};
    auto second = openWindow();
    EXPECT_EQ(questionsAsked(), 1);
    EXPECT_EQ(second->Image(3)->picture().size(), QSize(7, 5));
    EXPECT_FALSE(QFile::exists(othersCopy));
    EXPECT_TRUE(samePixels(window->Image(4)->picture(), pictureFor(4))) << "the first window's covers are its own";
    second.reset();
    EXPECT_EQ(copies().size(), 1) << "the first window's copy stays while it runs";
}
