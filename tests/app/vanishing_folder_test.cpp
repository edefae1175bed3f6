// SPDX-License-Identifier: GPL-3.0-or-later
// The picture folder or a picture deleted while the lists show it: the lists move on at the next
// refresh, the covers keep their pictures, a pick of a file that is gone says so, and the window
// is left usable; the next start on the saved settings opens where the lists ended.
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QMenu>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

QByteArray bmp(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

class VanishingFolder : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(root.path()).mkpath("covers/sub");
        root.write("covers/top.bmp", bmp(9, 9, Qt::blue));
        root.write("covers/sub/a.bmp", bmp(12, 8, Qt::green));
        root.write("covers/sub/b.bmp", bmp(7, 5, Qt::red));
        window->settingsFile = settings.file("kavi4.ini");
        window->programFolderPath = settings.path();
        ASSERT_TRUE(window->dirSelect->setPath(root.file("covers/sub")));
        window->dirSelect_Change();
    }
    void pick(const QString& name) {
        const int row = int(window->fileSelect->entries().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        window->fileSelect->selectRow(row);
    }
    void refresh() {
        window->Timer1_Timer();
        window->Timer2_Timer();
    }
    void expectUsable() {
        EXPECT_TRUE(window->isEnabled());
        EXPECT_TRUE(window->Toolbar1->isEnabled());
        EXPECT_TRUE(window->File->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(services.messages.shown.empty()) << "nothing here asks for an answer";
    }

    kavi::testing::TestPlatform services;
    TempFolder root, settings;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(services.platform);
};

} // namespace

TEST_F(VanishingFolder, TheListsMoveUpToAFolderThatExistsAndTheCoversKeepTheirPictures) {
    pick("a.bmp");
    const QImage picked = window->Image(1)->picture();
    ASSERT_EQ(picked.size(), QSize(12, 8));
    ASSERT_TRUE(QDir(root.file("covers/sub")).removeRecursively());

    refresh();
    EXPECT_EQ(window->dirSelect->path(), root.file("covers"));
    EXPECT_EQ(window->fileSelect->path(), root.file("covers"));
    EXPECT_EQ(window->fileSelect->entries(), QStringList{"top.bmp"});
    EXPECT_EQ(window->Image(1)->picture(), picked);
    expectUsable();

    // Everything up to the temporary folder goes: the lists end on a folder that is still there.
    ASSERT_TRUE(QDir(root.path()).removeRecursively());
    refresh();
    EXPECT_TRUE(QDir(window->dirSelect->path()).exists()) << window->dirSelect->path().toStdString();
    EXPECT_EQ(window->fileSelect->path(), window->dirSelect->path());
    EXPECT_EQ(window->Image(1)->picture(), picked);
    expectUsable();
}

TEST_F(VanishingFolder, AFileDeletedBeforeItIsPickedKeepsTheCoverAndSaysSo) {
    pick("a.bmp");
    const QImage picked = window->Image(1)->picture();
    QFile::remove(root.file("covers/sub/b.bmp"));
    pick("b.bmp"); // still listed until the next refresh
    EXPECT_EQ(window->Image(1)->picture(), picked);
    EXPECT_TRUE(window->lblNotice->notice().contains("b.bmp")) << window->lblNotice->notice().toStdString();
    expectUsable();

    // The whole folder goes before the refresh: the same.
    ASSERT_TRUE(QDir(root.file("covers/sub")).removeRecursively());
    pick("a.bmp");
    EXPECT_EQ(window->Image(1)->picture(), picked);
    EXPECT_TRUE(window->lblNotice->notice().contains("a.bmp"));
    expectUsable();
}

TEST_F(VanishingFolder, TheNextStartOpensWhereTheListsEndedAfterTheFolderWent) {
    ASSERT_TRUE(QDir(root.file("covers/sub")).removeRecursively());
    refresh();
    window->Form_Unload();
    window = std::make_unique<MainWindow>(services.platform);
    window->settingsFile = settings.file("kavi4.ini");
    window->programFolderPath = settings.path();
    window->Form_Load();
    EXPECT_EQ(window->dirSelect->path(), root.file("covers"));
    EXPECT_EQ(window->fileSelect->entries(), QStringList{"top.bmp"});
}
