// SPDX-License-Identifier: GPL-3.0-or-later
// Edit > Undo and Redo in the main window: sixty changes made the way the user makes them (picked
// files, the fit control, the text window, the Cover Manipulator, the paper menu) undone and redone
// one by one, the tabs, fit controls, texts and paper menu following each step; the unsaved flag
// back at the saved set; and a set opened or a new change ending what could be redone.
#include "app/cover_text_window.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "manipulator/manipulator_window.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

const int kKinds[] = {1, 4, 7};

// What the window shows of the covers the test changes.
struct Shown {
    std::vector<QImage> pictures;
    std::vector<QString> fits;
    std::vector<std::string> titles;
    bool a4 = false;
};

class UndoWindow : public ::testing::Test {
protected:
    UndoWindow() {
        window.settingsFile = dir.file("kavi4.ini");
        window.recoveryFolder = dir.file("recovery");
        window.Form_Load();
        undo = window.findChild<QAction*>(QStringLiteral("Undo"));
        redo = window.findChild<QAction*>(QStringLiteral("Redo"));
        const char* colours[] = {"darkred", "teal", "gold"};
        for (int i = 0; i < 3; ++i) {
            QImage picture(120 + 10 * i, 90, QImage::Format_RGB32);
            picture.fill(QColor(QString::fromLatin1(colours[i])));
            for (int x = 0; x < 40; ++x) picture.setPixel(x, x % 90, qRgb(255, 255, 255)); // not symmetric
            files.push_back(dir.file(QStringLiteral("picture%1.%2").arg(i).arg(i == 2 ? "png" : "jpg")));
            picture.save(files.back());
        }
    }
    ~UndoWindow() override { window.Form_Unload(); }

    Shown shown() {
        Shown s;
        for (int n : kKinds) {
            s.pictures.push_back(window.Image(n)->picture());
            s.fits.push_back(window.cboFit(n)->currentText());
            s.titles.push_back(window.coverText(n).title.text);
        }
        s.a4 = window.PaperA4->isChecked();
        return s;
    }
    void expectShown(const Shown& expected, const std::string& where) {
        const Shown now = shown();
        for (std::size_t i = 0; i < now.pictures.size(); ++i) {
            const Kind kind(kKinds[i]);
            EXPECT_EQ(now.pictures[i], expected.pictures[i]) << where << ": the tab of cover " << kind.number();
            EXPECT_EQ(window.document().pixels(kind), expected.pictures[i]) << where;
            EXPECT_EQ(now.fits[i], expected.fits[i]) << where << ": the fit control of cover " << kind.number();
            EXPECT_EQ(now.titles[i], expected.titles[i]) << where;
        }
        EXPECT_EQ(now.a4, expected.a4) << where << ": the paper menu";
    }

    void pick(int n, const QString& file) {
        window.SSTab1->setCurrentIndex(n - 1);
        ASSERT_TRUE(window.loadIntoShowingCover(file, file));
    }
    void chooseNextFit(int n) {
        QComboBox* fit = window.cboFit(n);
        fit->setCurrentIndex((fit->currentIndex() + 1) % fit->count());
        window.cboFit_Click(n);
    }
    // The title typed in the cover text window, then OK.
    void typeTitle(int n, const QString& typed) {
        QTimer::singleShot(0, [typed] {
            auto* text = qobject_cast<CoverTextWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(text);
            QTest::keyClicks(text->txtTitle, typed);
            text->accept();
        });
        window.Text_Click(n);
    }
    // The picture mirrored in the Cover Manipulator, then Accept.
    void mirrorInManipulator(int n) {
        window.Image_Click(n);
        QTimer::singleShot(0, [] {
            auto* manipulator = qobject_cast<ManipulatorWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(manipulator);
            manipulator->Toolbar1_ButtonClick(2);
            manipulator->Command5_Click();
        });
        window.Toolbar1_ButtonClick(3);
    }
    bool save(const QString& path) {
        services.saveDialog.answers.push_back({true, path, 0});
        return window.SaveCoverSet_Click();
    }

    kavi::testing::TestPlatform services;
    TempFolder dir;
    MainWindow window{services.platform};
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    std::vector<QString> files;
};

} // namespace

TEST_F(UndoWindow, SixtyChangesAreUndoneAndRedoneOneByOneWithTheViewsFollowing) {
    ASSERT_TRUE(undo && redo);
    QMenu* edit = window.menuBar()->findChild<QMenu*>(QStringLiteral("Edit"));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->title(), "&Edit");
    EXPECT_EQ(window.menuBar()->actions().indexOf(edit->menuAction()), 1) << "right after File";
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    std::vector<Shown> states{shown()};
    std::size_t savedAt = 0;
    for (int change = 0; change < 60; ++change) {
        const int n = kKinds[change % 3];
        switch (change % 5) {
        case 0: pick(n, files[std::size_t(change / 15) % files.size()]); break;
        case 1: chooseNextFit(n); break;
        case 2: typeTitle(n, QStringLiteral("t%1").arg(change)); break;
        case 3:
            if (window.document().picture(Kind(n)).hasPicture()) mirrorInManipulator(n);
            else pick(n, files[0]);
            break;
        case 4:
            if (change == 24) window.PaperA4_Click();
            else chooseNextFit(n);
            break;
        }
        window.Check(n)->click(); // ticks are print choices: never a step
        if (change == 41) {
            ASSERT_TRUE(save(dir.file("saved.kavi")));
            savedAt = states.size();
        }
        states.push_back(shown());
        const Shown &before = states[states.size() - 2], &after = states.back();
        ASSERT_TRUE(after.pictures != before.pictures || after.fits != before.fits || after.titles != before.titles ||
                    after.a4 != before.a4)
            << "change " << change << " changed something";
    }
    EXPECT_TRUE(window.hasUnsavedWork());

    for (std::size_t back = states.size() - 1; back-- > 0;) {
        ASSERT_TRUE(undo->isEnabled()) << back;
        undo->trigger();
        expectShown(states[back], "undone to " + std::to_string(back));
        EXPECT_TRUE(redo->isEnabled());
        if (back == savedAt || back == savedAt - 1) {
            EXPECT_EQ(window.hasUnsavedWork(), back != savedAt) << "at the saved set, and a fit before it";
        }
    }
    EXPECT_FALSE(undo->isEnabled()) << "back at the start";
    EXPECT_TRUE(window.hasUnsavedWork()) << "the start differs from the saved set";

    for (std::size_t forward = 1; forward < states.size(); ++forward) {
        redo->trigger();
        expectShown(states[forward], "redone to " + std::to_string(forward));
        if (forward == savedAt) {
            EXPECT_FALSE(window.hasUnsavedWork()) << "redone to the saved set";
        }
    }
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(window.PaperA4->isChecked());
}

TEST_F(UndoWindow, ANewChangeDropsTheRedoStepsAndAnOpenedSetEndsTheHistory) {
    typeTitle(1, QStringLiteral("First"));
    pick(4, files[0]);
    chooseNextFit(4);
    ASSERT_TRUE(save(dir.file("covers.kavi")));
    undo->trigger();
    undo->trigger();
    EXPECT_TRUE(window.hasUnsavedWork());
    EXPECT_FALSE(window.Image(4)->hasPicture());
    chooseNextFit(1);
    EXPECT_FALSE(redo->isEnabled()) << "the new change dropped what could be redone";
    undo->trigger();
    undo->trigger();
    EXPECT_EQ(window.coverText(1).title.text, "");
    EXPECT_FALSE(undo->isEnabled());

    services.saveDialog.answers.push_back({true, dir.file("covers.kavi"), 0});
    services.messages.answers.push_back(MsgResult::Discard);
    window.OpenCoverSet_Click();
    EXPECT_EQ(window.coverText(1).title.text, "First");
    EXPECT_TRUE(window.Image(4)->hasPicture());
    EXPECT_FALSE(undo->isEnabled()) << "an opened set is where undo starts";
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_FALSE(window.hasUnsavedWork());
}
