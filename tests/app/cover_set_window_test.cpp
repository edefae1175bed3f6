// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's cover sets and cover text: a set saved through the File menu, the program
// closed and a new one opening it through the menu; the cover text window edited and dragged; the
// question about unsaved covers at Exit and none when a signal ends the program; a damaged file
// leaving the open covers as they were.
#include "app/cover_text_canvas.h"
#include "app/cover_text_window.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "coverset/cover_set_file.h"
#include "manipulator/manipulator_window.h"
#include "platform/system/termination_signals.h"
#include "tests/support/picture_files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

using namespace kavi;
using kavi::testing::samePixels;
using kavi::testing::TempFolder;

namespace {

QImage pictureFor(int kind) {
    QImage image(30 + kind, 20 + kind, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 8, y * 9 + kind, kind * 20));
    return image;
}

void sendMouse(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

class CoverSets : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir;

    std::unique_ptr<MainWindow> openWindow() {
        auto w = std::make_unique<MainWindow>(services.platform);
        w->settingsFile = dir.file("kavi4.ini");
        w->programFolderPath = dir.path();
        w->recoveryFolder = dir.file("recovery");
        w->Form_Load();
        return w;
    }
    void answerFile(const QString& path) { services.saveDialog.answers.push_back({true, path, 0}); }
    bool unloaded() const {
        return std::any_of(services.help.calls.begin(), services.help.calls.end(),
                           [](const auto& c) { return c.command == HelpCommand::CloseAll; });
    }
};

} // namespace

TEST_F(CoverSets, ASavedSetReopensThroughTheMenusInANewRun) {
    const QString path = dir.file("my covers.kavi");
    CoverText dvdText;
    {
        auto window = openWindow();
        for (int n = 1; n <= 10; ++n) window->Image(n)->setPicture(pictureFor(n));
        window->setFitMode(4, FitMode::Fill);
        window->setFitMode(7, FitMode::Fit);
        window->Check(4)->click();

        // The DVD's text window: a title typed and dragged 40 px right and 25 px down.
        QPointF movedBy;
        QTimer::singleShot(0, [&] {
            auto* text = qobject_cast<CoverTextWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(text);
            QTest::keyClicks(text->txtTitle, "My Film");
            text->chkItalic->setChecked(true);
            text->cmdAddBox_Click();
            CoverTextCanvas* canvas = text->picCoverText;
            const QPointF from = canvas->positionOf(text->text().title.anchor);
            ASSERT_EQ(canvas->textAt(from), std::optional<int>(kTitleRef));
            sendMouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton);
            sendMouse(canvas, QEvent::MouseMove, from + QPointF(40, 25), Qt::LeftButton);
            sendMouse(canvas, QEvent::MouseButtonRelease, from + QPointF(40, 25), Qt::NoButton);
            movedBy = QPointF(40, 25) / canvas->coverArea().width() * coverKind(4).printSize.width.inches();
            text->accept();
        });
        const CoverText before = window->coverText(4);
        window->cmdText(4)->click();
        dvdText = window->coverText(4);
        EXPECT_EQ(dvdText.title.text, "My Film");
        EXPECT_TRUE(dvdText.title.style.italic);
        EXPECT_EQ(dvdText.boxes.size(), 1u);
        EXPECT_NEAR((dvdText.title.anchor.x - before.title.anchor.x).inches(), movedBy.x(), 0.01) << "dragged across";
        EXPECT_NEAR((dvdText.title.anchor.y - before.title.anchor.y).inches(), movedBy.y(), 0.01) << "dragged down";
        EXPECT_TRUE(window->hasUnsavedWork());

        answerFile(path);
        window->SaveCoverSet->trigger();
        ASSERT_TRUE(QFile::exists(path));
        EXPECT_FALSE(window->hasUnsavedWork());
        EXPECT_EQ(services.saveDialog.asked.back().defaultSuffix, "kavi");
        window->exit_Click();
        EXPECT_TRUE(unloaded());
        EXPECT_TRUE(services.messages.shown.empty()) << "nothing unsaved: no question at Exit";
    }

    auto window = openWindow();
    answerFile(path);
    window->OpenCoverSet->trigger();
    EXPECT_TRUE(services.saveDialog.asked.back().opensFile);
    for (int n = 1; n <= 10; ++n) EXPECT_TRUE(samePixels(window->Image(n)->picture(), pictureFor(n))) << n;
    EXPECT_EQ(window->fitMode(4), FitMode::Fill);
    EXPECT_EQ(window->fitMode(7), FitMode::Fit);
    EXPECT_EQ(window->fitMode(1), FitMode::Stretch);
    EXPECT_TRUE(window->coverText(4) == dvdText);
    EXPECT_TRUE(window->Check(4)->isChecked());
    EXPECT_FALSE(window->Check(1)->isEnabled()) << "the restored tick ran its rule";
    EXPECT_FALSE(window->hasUnsavedWork());
    EXPECT_TRUE(window->printSelection().texts[3] == dvdText) << "what prints carries the text";
}

TEST_F(CoverSets, ExitAsksAboutUnsavedCoversAndCancelKeepsTheProgramOpen) {
    auto window = openWindow();
    window->Image(2)->setPicture(pictureFor(2));
    window->cboFit(2)->setCurrentIndex(2); // Fit, as the user picks it
    window->cboFit_Click(2);
    ASSERT_TRUE(window->hasUnsavedWork());

    services.messages.answers = {MsgResult::Cancel};
    window->exit_Click();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].buttons, MsgButtons::SaveDiscardCancel);
    EXPECT_FALSE(unloaded()) << "Cancel keeps the program running";

    services.messages.answers = {MsgResult::Save}; // ...and the save dialog is cancelled
    window->close();
    EXPECT_FALSE(unloaded()) << "a save that did not happen keeps the program running";

    const QString path = dir.file("saved at exit.kavi");
    services.messages.answers = {MsgResult::Save};
    answerFile(path);
    window->exit_Click();
    EXPECT_TRUE(unloaded());
    const CoverSetReading saved = loadCoverSetFile(path);
    ASSERT_TRUE(saved.set) << "Save at Exit wrote the set";
    EXPECT_EQ(saved.set->cover(2).fit, FitMode::Fit);
}

TEST_F(CoverSets, DiscardClosesAndASignalNeverAsks) {
    {
        auto window = openWindow();
        window->markUnsavedWork();
        services.messages.answers = {MsgResult::Discard};
        window->exit_Click();
        EXPECT_TRUE(unloaded());
    }
    services.help.calls.clear();
    services.messages.shown.clear();
    auto window = openWindow();
    window->setCoverText(1, [] {
        CoverText t = emptyCoverText(1);
        t.title.text = "unsaved";
        return t;
    }());
    window->markUnsavedWork();
    // As the program does: a termination signal ends it through the shut-down.
    TerminationSignals stopRequests([&window](int) { window->Form_Unload(); });
    ASSERT_TRUE(stopRequests.isWatching());
    std::raise(SIGTERM);
    const QDeadlineTimer deadline(30000); // only so that a regression fails instead of hanging
    while (!unloaded() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(unloaded());
    EXPECT_TRUE(services.messages.shown.empty()) << "a signal never asks";
}

TEST_F(CoverSets, ADamagedOrNewerFileLeavesTheOpenCoversAsTheyWere) {
    auto window = openWindow();
    window->Image(5)->setPicture(pictureFor(5));
    CoverText text = emptyCoverText(5);
    text.title.text = "kept";
    window->setCoverText(5, text);
    window->markUnsavedWork();

    CoverSet other = CoverSet::empty();
    other.cover(5).picture = pictureFor(9);
    QByteArray bytes = writeCoverSet(other);
    bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
    const QString damaged = dir.write("damaged.kavi", bytes);
    const QString empty = dir.write("empty.kavi", QByteArray());
    for (const QString& file : {damaged, empty}) {
        services.messages.shown.clear();
        services.messages.answers = {MsgResult::Discard}; // the unsaved covers may go...
        answerFile(file);
        window->OpenCoverSet->trigger();
        ASSERT_EQ(services.messages.shown.size(), 2u) << file.toStdString();
        EXPECT_EQ(services.messages.shown[1].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(services.messages.shown[1].text.contains("unchanged"));
        // ...but a file that does not open changes none of them.
        EXPECT_TRUE(samePixels(window->Image(5)->picture(), pictureFor(5)));
        EXPECT_EQ(window->coverText(5).title.text, "kept");
        EXPECT_TRUE(window->hasUnsavedWork());
    }
}

// Only an edit the user accepts is unsaved work: a cancelled one changes nothing, while one accepted
// on any cover, the tab showing another, is asked about at Exit and kept in the recovery copy.
TEST_F(CoverSets, AnAcceptedManipulatorEditIsUnsavedWorkAndACancelledOneIsNot) {
    auto window = openWindow();
    window->Image(3)->setPicture(pictureFor(3));
    window->Image_Click(3);
    window->SSTab1->setCurrentIndex(7);
    const auto edit = [&window](bool accept) {
        bool opened = false;
        QTimer::singleShot(0, [accept, &opened] {
            auto* manipulator = qobject_cast<ManipulatorWindow*>(QApplication::activeModalWidget());
            opened = manipulator != nullptr;
            if (!manipulator) return;
            manipulator->Toolbar1_ButtonClick(2); // mirror
            if (accept) manipulator->Command5_Click();
            else manipulator->Command2_Click();
        });
        window->Toolbar1_ButtonClick(3);
        return opened;
    };
    ASSERT_TRUE(edit(false));
    EXPECT_FALSE(window->hasUnsavedWork()) << "a cancelled edit";
    EXPECT_FALSE(window->tmrRecovery->isActive());
    ASSERT_TRUE(edit(true));
    EXPECT_TRUE(samePixels(window->Image(3)->picture(), pictureFor(3).mirrored(true, false)));
    EXPECT_TRUE(window->hasUnsavedWork()) << "an accepted edit";
    EXPECT_TRUE(window->tmrRecovery->isActive()) << "the recovery copy follows";
    services.messages.answers = {MsgResult::Cancel};
    window->exit_Click();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].buttons, MsgButtons::SaveDiscardCancel);
}
