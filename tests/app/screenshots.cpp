// Takes screenshots of picking as a user sees it (run under xvfb-run, see scripts/screenshot.sh):
// a cover picked and clicked, so it is the selected one, and the notice after picking a file that
// is no picture.
#include "file_list.h"
#include "folder_list.h"
#include "frmcovercreator.h"
#include "imaging/qt_raster.h"
#include "jpeg/photo_picture.h"
#include "picture_slot.h"
#include "platform.h"
#include "tab_strip.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool pick(kavi::frmcovercreator& window, const QString& name) {
    const int row = int(window.fileSelect->entries().indexOf(name));
    if (row < 0) return false;
    window.fileSelect->selectRow(row);
    settle();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s selected-cover.png unreadable-notice.png\n", argv[0]);
        return 2;
    }
    // A folder of covers: a photograph and a file that only looks like one by its name.
    QTemporaryDir temp;
    const QString folder = QDir(temp.path()).filePath(QStringLiteral("Covers"));
    QDir().mkpath(folder);
    kavi::toImage(jpegtest::photoPicture(640, 420, 7)).save(QDir(folder).filePath(QStringLiteral("holiday.jpg")));
    QFile notPicture(QDir(folder).filePath(QStringLiteral("notes.jpg")));
    if (!notPicture.open(QIODevice::WriteOnly)) return 1;
    notPicture.write("Shopping: bread, milk, batteries for the camera.\n");
    notPicture.close();

    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    kavi::frmcovercreator window(real.platform());
    window.move(0, 0);
    window.show();
    settle();
    if (!window.dirSelect->setPath(folder)) return 1;
    settle();

    // Picked on the DVD tab, then clicked: the selected cover.
    window.SSTab1->setCurrentIndex(3);
    if (!pick(window, QStringLiteral("holiday.jpg"))) return 1;
    window.Image_Click(4);
    settle();
    const bool selectedSaved = window.grab().save(QString::fromLocal8Bit(argv[1]));

    // The same cover after picking the file that is no picture: it keeps its photograph.
    if (!pick(window, QStringLiteral("notes.jpg"))) return 1;
    const bool noticeSaved = window.grab().save(QString::fromLocal8Bit(argv[2]));
    return selectedSaved && noticeSaved ? 0 : 1;
}
