// SPDX-License-Identifier: GPL-3.0-or-later
// Takes screenshots of the main window as a user sees it (run under xvfb-run, see
// scripts/screenshot.sh): a cover picked and clicked, so it is the selected one; the notice after
// picking a file that is no picture; the window with the three CD covers loaded and ticked; and the
// Cover Manipulator opened on the selected cover, with a filter applied.
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "manipulator/manipulator_window.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

bool pick(kavi::MainWindow& window, const QString& name) {
    const int row = int(window.fileSelect->entries().indexOf(name));
    if (row < 0) return false;
    window.fileSelect->selectRow(row);
    kavi::testing::settleForScreenshot();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s selected-cover.png unreadable-notice.png main-window.png manipulator.png\n",
                     argv[0]);
        return 2;
    }
    // A folder of covers: a photograph and a file that only looks like one by its name.
    QTemporaryDir temp;
    const QString folder = QDir(temp.path()).filePath(QStringLiteral("Covers"));
    QDir().mkpath(folder);
    kavi::toImage(jpegtest::photoPicture(640, 420, 7)).save(QDir(folder).filePath(QStringLiteral("holiday.jpg")));
    kavi::toImage(jpegtest::photoPicture(480, 480, 3)).save(QDir(folder).filePath(QStringLiteral("album-front.jpg")));
    kavi::toImage(jpegtest::photoPicture(480, 480, 11)).save(QDir(folder).filePath(QStringLiteral("album-inside.jpg")));
    kavi::toImage(jpegtest::photoPicture(600, 470, 5)).save(QDir(folder).filePath(QStringLiteral("album-back.jpg")));
    QFile notPicture(QDir(folder).filePath(QStringLiteral("notes.jpg")));
    if (!notPicture.open(QIODevice::WriteOnly)) return 1;
    notPicture.write("Shopping: bread, milk, batteries for the camera.\n");
    notPicture.close();

    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    kavi::MainWindow window(real.platform());
    window.move(0, 0);
    window.show();
    kavi::testing::settleForScreenshot();
    if (!window.dirSelect->setPath(folder)) return 1;
    kavi::testing::settleForScreenshot();

    // Picked on the DVD tab, then clicked: the selected cover.
    window.SSTab1->setCurrentIndex(3);
    if (!pick(window, QStringLiteral("holiday.jpg"))) return 1;
    window.Image_Click(4);
    kavi::testing::settleForScreenshot();
    const bool selectedSaved = window.grab().save(QString::fromLocal8Bit(argv[1]));

    // The same cover after picking the file that is no picture: it keeps its photograph.
    if (!pick(window, QStringLiteral("notes.jpg"))) return 1;
    const bool noticeSaved = window.grab().save(QString::fromLocal8Bit(argv[2]));

    // The three covers of a CD case picked, ticked to print together, the front showing and selected.
    const char* const album[] = {"album-front.jpg", "album-inside.jpg", "album-back.jpg"};
    for (int n = 1; n <= 3; ++n) {
        window.SSTab1->setCurrentIndex(n - 1);
        if (!pick(window, QString::fromLatin1(album[n - 1]))) return 1;
        window.Check(n)->click();
    }
    window.SSTab1->setCurrentIndex(0);
    window.Image_Click(1);
    window.lblNotice->dismiss();
    kavi::testing::settleForScreenshot();
    const bool mainSaved = window.grab().save(QString::fromLocal8Bit(argv[3]));

    // The Manipulator opens modally from the toolbar; once it shows, a filter runs and the shot is taken.
    bool manipulatorSaved = false;
    QTimer::singleShot(300, [&] {
        auto* manipulator = qobject_cast<kavi::ManipulatorWindow*>(QApplication::activeModalWidget());
        if (!manipulator) return;
        manipulator->move(40, 40);
        const kavi::FilterCommand& grey = kavi::kFilterCommands[14]; // Gray Scale
        manipulator->runFilter(grey.number, grey.amount);
        kavi::testing::settleForScreenshot();
        manipulatorSaved = manipulator->grab().save(QString::fromLocal8Bit(argv[4]));
        manipulator->Command2_Click();
    });
    window.Toolbar1_ButtonClick(3);
    return selectedSaved && noticeSaved && mainSaved && manipulatorSaved ? 0 : 1;
}
