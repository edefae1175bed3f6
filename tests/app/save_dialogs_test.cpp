// SPDX-License-Identifier: GPL-3.0-or-later
// Kavi's own save and open dialogs: "Save Cover Picture As..." beside the Scan tab's Save (Cancel
// and a name without an extension treated differently by the two), and the folder each kind of
// dialog opens in: the one last used for that kind of file, else the folder being browsed.
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "output/scan/scan_tab.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QUuid>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

const QUuid kPng = QUuid::createUuidV5(QUuid(), QStringLiteral("png"));

class SaveDialogs : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    TempFolder dir;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        services.imageEncoders.encoders = {{kPng, "PNG", "*.PNG", "image/png"}};
        QDir(dir.path()).mkpath("browsed");
        QDir(dir.path()).mkpath("sets");
        QDir(dir.path()).mkpath("pdfs");
        window = openWindow();
    }
    std::unique_ptr<MainWindow> openWindow() {
        auto w = std::make_unique<MainWindow>(services.platform);
        w->settingsFile = dir.file("kavi4.ini");
        w->programFolderPath = dir.path();
        w->recoveryFolder = dir.file("recovery");
        w->Form_Load();
        w->dirSelect->setPath(dir.file("browsed"));
        return w;
    }
    void answer(const QString& file, int filterIndex = 0) {
        services.saveDialog.answers.push_back({true, file, filterIndex});
    }
    QStringList shownTexts() const {
        QStringList texts;
        for (const MessageRequest& m : services.messages.shown) texts << m.text;
        return texts;
    }
    std::string lastFolderAsked() const { return services.saveDialog.asked.back().directory.toStdString(); }
    std::string folder(const char* name) const { return dir.file(name).toStdString(); }
};

} // namespace

TEST_F(SaveDialogs, SaveCoverPictureAsIgnoresCancelAndAddsTheChosenTypeWhileTheScanTabsSaveDoesNeither) {
    QImage picture(16, 9, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    window->Image(2)->setPicture(picture);
    window->scanTab->Image20->setPicture(picture);
    const int png = 3; // the dialog's fourth type on both

    window->SSTab1->setCurrentIndex(1);
    window->SaveCoverPictureAs_Click(); // cancelled
    EXPECT_TRUE(services.messages.shown.empty()) << "Cancel says nothing";
    answer(dir.file("browsed/inside"), png);
    window->SaveCoverPictureAs_Click();
    ASSERT_EQ(services.imageEncoders.saves.size(), 1u);
    EXPECT_EQ(services.imageEncoders.saves[0].path.toStdString(), folder("browsed/inside.png"));
    EXPECT_EQ(services.imageEncoders.saves[0].encoder, kPng);
    EXPECT_EQ(shownTexts(), QStringList({"File Saved"}));
    // A name that has an extension keeps it, whatever type is chosen.
    answer(dir.file("browsed/inside.PNG"), 0);
    window->SaveCoverPictureAs_Click();
    ASSERT_EQ(services.imageEncoders.saves.size(), 2u);
    EXPECT_EQ(services.imageEncoders.saves[1].path.toStdString(), folder("browsed/inside.PNG"));

    services.messages.shown.clear();
    window->SSTab1->setCurrentIndex(kScanTabIndex);
    window->scanTab->cmdSave->click(); // cancelled
    answer(dir.file("browsed/scan"), png);
    window->scanTab->cmdSave->click();
    EXPECT_EQ(shownTexts(), QStringList({"File Not Saved", "File Not Saved"})) << "Cancel, then no extension";
    EXPECT_EQ(services.imageEncoders.saves.size(), 2u) << "the Scan tab added no extension";
    EXPECT_TRUE(services.saveDialog.asked.back().directory.isEmpty()) << "nor a start folder";
}

TEST_F(SaveDialogs, EachKindOfFileOpensInItsOwnLastFolderKeptForTheNextRunElseInTheBrowsedOne) {
    const std::string browsed = folder("browsed");
    window->Image(1)->setPicture(QImage(8, 8, QImage::Format_RGB32));
    window->Check(1)->click();

    window->OpenCoverSet_Click(); // cancelled: remembers nothing
    EXPECT_EQ(lastFolderAsked(), browsed);
    answer(dir.file("sets/covers.kavi"));
    ASSERT_TRUE(window->SaveCoverSet_Click());
    window->ExportPdf_Click();
    EXPECT_EQ(lastFolderAsked(), browsed) << "PDF files keep a folder of their own";
    answer(dir.file("pdfs/covers.pdf"));
    window->ExportPdf_Click();
    window->SaveCoverPictureAs_Click();
    EXPECT_EQ(lastFolderAsked(), browsed);

    window->OpenCoverSet_Click();
    EXPECT_EQ(lastFolderAsked(), folder("sets"));
    window->ExportPdf_Click();
    EXPECT_EQ(lastFolderAsked(), folder("pdfs"));

    // The next run starts in the same folders; a folder that has gone gives way to the browsed one.
    window->Form_Unload();
    ASSERT_TRUE(QDir(dir.file("pdfs")).removeRecursively());
    window = openWindow();
    window->Check(1)->setChecked(true);
    window->Image(1)->setPicture(QImage(8, 8, QImage::Format_RGB32));
    window->SaveCoverSet_Click();
    EXPECT_EQ(lastFolderAsked(), folder("sets"));
    window->ExportPdf_Click();
    EXPECT_EQ(lastFolderAsked(), browsed);

    // The folders are kept in a section of their own, none of them in the main one.
    QFile settings(dir.file("kavi4.ini"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(settings.readAll());
    const auto section = [&text](const QString& name) {
        const qsizetype start = text.indexOf("[" + name + "]");
        if (start < 0) return QString();
        const qsizetype end = text.indexOf('[', start + 1);
        return text.mid(start, end < 0 ? -1 : end - start);
    };
    EXPECT_TRUE(section("FOLDERS").contains("CoverSets=" + dir.file("sets"))) << text.toStdString();
    EXPECT_FALSE(section("MAIN").contains("CoverSets")) << text.toStdString();
    EXPECT_FALSE(section("MAIN").isEmpty());
}
