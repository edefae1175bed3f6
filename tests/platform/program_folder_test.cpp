// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kavi {
namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

struct InstalledLayout : ::testing::Test {
    QTemporaryDir root;
    QString bin, home;
    void SetUp() override {
        bin = root.filePath("prefix/bin");
        home = root.filePath("home");
        QDir().mkpath(bin);
        QDir().mkpath(home);
    }
    void install() { writeFile(root.filePath("prefix/share/kavi/") + kInstalledMarker, "x"); }
};

TEST_F(InstalledLayout, WithoutTheMarkerEverythingStaysBesideTheExecutableEvenWhenTheShareFolderExists) {
    QDir().mkpath(root.filePath("prefix/share/kavi"));
    const ProgramFolders folders = programFoldersFor(bin, QProcessEnvironment(), home);
    EXPECT_FALSE(folders.installed);
    EXPECT_EQ(folders.resources, bin);
    EXPECT_EQ(folders.settings, bin);
    EXPECT_EQ(folders.scratch, bin);
    EXPECT_EQ(folders.pickingDefault, bin);
}

TEST_F(InstalledLayout, InstalledUsesTheShareFolderAndTheUsersFolders) {
    install();
    QProcessEnvironment environment;
    environment.insert("XDG_CONFIG_HOME", root.filePath("config"));
    environment.insert("XDG_CACHE_HOME", "relative/cache"); // not absolute: ignored
    const ProgramFolders folders = programFoldersFor(bin, environment, home);
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(folders.resources, root.filePath("prefix/share/kavi"));
    EXPECT_EQ(folders.settings, root.filePath("config/kavi"));
    EXPECT_EQ(folders.scratch, home + "/.cache/kavi");
    EXPECT_EQ(folders.pickingDefault, home) << "no user-dirs.dirs";
}

TEST_F(InstalledLayout, PicturesFolderComesFromUserDirsWhenItExists) {
    const QString config = root.filePath("config");
    writeFile(config + "/user-dirs.dirs",
              "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(userPicturesFolder(config, home), home) << "the folder named does not exist";
    QDir().mkpath(home + "/Bilder");
    EXPECT_EQ(userPicturesFolder(config, home), home + "/Bilder");
    writeFile(config + "/user-dirs.dirs", "XDG_PICTURES_DIR=\"" + root.filePath("shared pics").toUtf8() + "\"\n");
    QDir().mkpath(root.filePath("shared pics"));
    EXPECT_EQ(userPicturesFolder(config, home), root.filePath("shared pics"));
    writeFile(config + "/user-dirs.dirs", "XDG_PICTURES_DIR=\"Pictures\"\n");
    EXPECT_EQ(userPicturesFolder(config, home), home) << "a relative folder is not used";
}

} // namespace
} // namespace kavi
