// SPDX-License-Identifier: GPL-3.0-or-later
// Ready layouts in the main window: File > New Cover From Layout... lists Kavi's own layouts and the
// user's, names and skips a damaged file, and applies the chosen one as one undo step that keeps
// the pictures; File > Save As Layout... keeps designs and texts without pictures, asks before
// replacing, refuses a bad name, and into a folder the user may not write says so and writes nothing.
#include "app/layouts_menu.h"
#include "app/main_window.h"
#include "app/notice_label.h"
#include "coverset/cover_set_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

const Kind kFront(1), kBack(3), kDvd(4);

QImage filled(int w, int h, QRgb colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

LengthRect logoBox() {
    return {Length::fromMillimetres(5), Length::fromMillimetres(5), Length::fromMillimetres(20),
            Length::fromMillimetres(10)};
}

class Layouts : public ::testing::Test {
protected:
    Layouts() {
        menu = window.findChild<LayoutsMenu*>(QStringLiteral("LayoutsMenu"));
        if (!menu) return;
        // Kavi's own from the build folder, as the program finds them there; the user's in a folder
        // of the test's.
        menu->setFolders({programLayoutFolders().ready, own.file(QStringLiteral("kavi/layouts"))});
        menu->setChooser([this](const QStringList& labels) -> std::optional<int> {
            offered = labels;
            const qsizetype at = labels.indexOf(choose);
            return at < 0 ? std::nullopt : std::optional<int>(int(at));
        });
        menu->setNameAsker([this]() -> std::optional<QString> { return name; });
    }
    QAction* fileAction(const char* name) const {
        QMenu* file = window.menuBar()->findChild<QMenu*>(QStringLiteral("File"));
        return file ? file->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
    }
    QString ownFile(const QString& layout) const { return QDir(menu->folders().own).filePath(layout + ".kavi"); }

    kavi::testing::TestPlatform services;
    TempFolder own;
    MainWindow window{services.platform};
    LayoutsMenu* menu = nullptr;
    QStringList offered;
    QString choose;
    std::optional<QString> name;
};

} // namespace

TEST_F(Layouts, TheReadyAndOwnLayoutsAreOfferedADamagedOneIsNamedAndTheChosenOneIsOneUndoStep) {
    ASSERT_TRUE(menu);
    QAction* newCover = fileAction("NewCoverFromLayout");
    ASSERT_TRUE(newCover && fileAction("SaveAsLayout"));
    EXPECT_EQ(newCover->text(), "New Cover From &Layout...");

    // The user's own folder: one good layout, one damaged file.
    CoverDocument mine;
    CoverText text = mine.text(kDvd);
    text.title.text = "Mine";
    mine.setText(kDvd, text);
    ASSERT_TRUE(QDir().mkpath(menu->folders().own));
    ASSERT_EQ(saveCoverSetFile(ownFile("Holiday"), mine.toLayout()), 0);
    QFile broken(ownFile("Broken"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("PK\x03\x04 not a whole archive");
    broken.close();

    // The covers before: a DVD photo with a logo in its own layer, and a front title.
    const QImage photo = filled(30, 20, 0x204060);
    window.document().setPickedPicture(kDvd, photo, {});
    window.document().addPictureLayer(kDvd, filled(4, 4, 0xFFFF00), {}, logoBox());
    CoverText front = window.document().text(kFront);
    front.title.text = "Front stays";
    window.document().setText(kFront, front);
    const CoverDesign dvdBefore = window.document().design(kDvd);
    const CoverText dvdTextBefore = window.document().text(kDvd);

    choose = QStringLiteral("Film \u2014 DVD, SLIM, HD-DVD, Blu-Ray");
    newCover->trigger();
    EXPECT_TRUE(offered.contains(QStringLiteral("Album \u2014 Front, Back"))) << offered.join("|").toStdString();
    EXPECT_TRUE(offered.contains(QStringLiteral("Game \u2014 PSP, DS"))) << offered.join("|").toStdString();
    EXPECT_TRUE(offered.contains(QStringLiteral("Holiday (yours) \u2014 DVD"))) << offered.join("|").toStdString();
    EXPECT_EQ(offered.size(), 4) << "the damaged file is not offered";
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_TRUE(services.messages.shown[0].text.contains(ownFile("Broken"))) << "named in full";
    EXPECT_EQ(services.messages.shown[0].icon, MsgIcon::Exclamation);

    // The film layout set the DVD's design and texts, kept its photo and logo, left the front alone.
    const CoverDesign& film = window.document().design(kDvd);
    EXPECT_EQ(film.background.fill, BackgroundFill::Gradient);
    EXPECT_EQ(window.document().text(kDvd).subtitle.text, "Tagline");
    EXPECT_EQ(window.document().text(kDvd).boxes.size(), 2u) << "synopsis and credits";
    EXPECT_EQ(window.document().pixels(kDvd), photo);
    ASSERT_EQ(window.document().designPictureCount(kDvd), 1u);
    EXPECT_EQ(std::count_if(film.layers.begin(), film.layers.end(),
                            [](const CoverLayer& l) { return l.type == LayerType::Picture; }),
              1);
    EXPECT_EQ(film.layers.back().type, LayerType::Texts) << "the logo under the layout's texts";
    EXPECT_EQ(window.document().text(kFront).title.text, "Front stays");
    EXPECT_TRUE(window.document().design(kBack).isPlain()) << "the film layout has no CD Back";
    EXPECT_TRUE(window.lblNotice->text().contains(QStringLiteral("Film"))) << window.lblNotice->text().toStdString();

    // One step back restores the design and every text of the DVD.
    QAction* undo = window.findChild<QAction*>(QStringLiteral("Undo"));
    ASSERT_TRUE(undo && undo->isEnabled());
    undo->trigger();
    EXPECT_TRUE(window.document().design(kDvd) == dvdBefore);
    EXPECT_TRUE(window.document().text(kDvd) == dvdTextBefore);
    EXPECT_EQ(window.document().pixels(kDvd), photo);
    EXPECT_EQ(window.document().text(kFront).title.text, "Front stays") << "the step before stays";

    // Cancelling the chooser changes nothing.
    choose.clear();
    const CoverDesign unchanged = window.document().design(kDvd);
    newCover->trigger();
    EXPECT_TRUE(window.document().design(kDvd) == unchanged);
}

TEST_F(Layouts, SaveAsLayoutKeepsDesignsAndTextsWithoutPicturesAsksBeforeReplacingAndRefusesBadNames) {
    ASSERT_TRUE(menu);
    // Nothing to keep yet.
    EXPECT_FALSE(menu->SaveAsLayout_Click());
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_FALSE(QDir(menu->folders().own).exists()) << "no folder made for nothing";

    window.document().setPickedPicture(kDvd, filled(10, 10, 0x112233), {});
    window.document().addPictureLayer(kDvd, filled(3, 3, 0x445566), {}, logoBox());
    window.document().setBackground(kDvd, {BackgroundFill::Colour, 0x000080, 0, 0});
    TextBox strips;
    strips.text = "Side A";
    window.document().setEndStrips(kBack, strips);
    window.document().setTicked(kDvd, true);

    name = QStringLiteral("  My film  ");
    ASSERT_TRUE(fileAction("SaveAsLayout"));
    EXPECT_TRUE(menu->SaveAsLayout_Click());
    const CoverSetReading saved = loadCoverSetFile(ownFile("My film"));
    ASSERT_TRUE(saved.set) << "the name trimmed, the folder made";
    const CoverSetCover& dvd = saved.set->cover(kDvd.number());
    EXPECT_TRUE(dvd.picture.isNull());
    EXPECT_TRUE(dvd.designPictures.empty());
    ASSERT_EQ(dvd.design.layers.size(), 0u) << "the logo's layer goes with its picture";
    EXPECT_EQ(dvd.design.background.colour, 0x000080u);
    EXPECT_EQ(saved.set->cover(kBack.number()).design.endStrips.text, "Side A");
    EXPECT_EQ(saved.set->ticked, KindFlags{});
    EXPECT_FALSE(saved.set->printLayout.has_value());

    // The same name again: asked, and No keeps the file as it was.
    QFile kept(ownFile("My film"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    const QByteArray before = kept.readAll();
    kept.close();
    window.document().setBackground(kDvd, {BackgroundFill::Colour, 0x800000, 0, 0});
    services.messages.shown.clear();
    services.messages.answers = {MsgResult::No};
    name = QStringLiteral("My film");
    EXPECT_FALSE(menu->SaveAsLayout_Click());
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].buttons, MsgButtons::YesNo);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
    kept.close();
    services.messages.answers = {MsgResult::Yes};
    EXPECT_TRUE(menu->SaveAsLayout_Click());
    EXPECT_EQ(loadCoverSetFile(ownFile("My film")).set->cover(kDvd.number()).design.background.colour, 0x800000u);

    // Names that cannot name a file: told, nothing written.
    for (const QString& bad : {QStringLiteral("../escape"), QStringLiteral(".hidden"), QStringLiteral("   "),
                               QString(81, u'x'), QStringLiteral("tab\there")}) {
        services.messages.shown.clear();
        name = bad;
        EXPECT_FALSE(menu->SaveAsLayout_Click()) << bad.toStdString();
        EXPECT_EQ(services.messages.shown.size(), 1u) << bad.toStdString();
    }
    EXPECT_EQ(QDir(menu->folders().own).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(QFile::exists(own.file("kavi/escape.kavi")));
}

namespace {

struct NobodySaves {
    LayoutsMenu* menu;
    kavi::testing::ScriptedMessageBoxes* messages;
    const char* expected;
};

// Runs as nobody: the save must fail with the expected words in one message.
int saveAsNobody(void* arg) {
    auto* run = static_cast<NobodySaves*>(arg);
    run->messages->shown.clear();
    if (run->menu->SaveAsLayout_Click()) return 1;
    if (run->messages->shown.size() != 1) return 2;
    if (!run->messages->shown[0].text.contains(QString::fromUtf8(run->expected))) return 3;
    if (run->messages->shown[0].icon != MsgIcon::Critical) return 4;
    return 0;
}

} // namespace

TEST_F(Layouts, SaveAsLayoutIntoAFolderTheUserMayNotWriteSaysSoAndWritesNothing) {
    ASSERT_TRUE(menu);
    CoverText text = window.document().text(kDvd);
    text.title.text = "Night Train";
    window.document().setText(kDvd, text);
    name = QStringLiteral("Night");
    // A folder nobody may read but not write, and one that would have to be made inside it.
    ASSERT_EQ(chmod(own.path().toLocal8Bit().constData(), 0755), 0);
    const QString readOnly = own.file(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_EQ(chmod(readOnly.toLocal8Bit().constData(), 0555), 0);

    menu->setFolders({programLayoutFolders().ready, readOnly});
    NobodySaves existing{menu, &services.messages, "Permission denied"};
    EXPECT_EQ(kavi::testing::runAsNobody(saveAsNobody, &existing), 0);
    EXPECT_TRUE(QDir(readOnly).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty())
        << "no layout and no temporary file left";

    menu->setFolders({programLayoutFolders().ready, readOnly + QStringLiteral("/kavi/layouts")});
    NobodySaves missing{menu, &services.messages, "cannot be made"};
    EXPECT_EQ(kavi::testing::runAsNobody(saveAsNobody, &missing), 0);
    EXPECT_TRUE(QDir(readOnly).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    // The same save as the owner of a folder works: the refusal was the folder's, not the covers'.
    menu->setFolders({programLayoutFolders().ready, own.file(QStringLiteral("writable"))});
    EXPECT_TRUE(menu->SaveAsLayout_Click());
}
