// SPDX-License-Identifier: GPL-3.0-or-later
// Takes a screenshot of the print preview as a user sees it (run under xvfb-run, see
// scripts/screenshot.sh): a DVD cover with cut marks, for a printer with quarter-inch margins.
#include "output/print/print_preview.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"
#include "screenshots/margin_printer.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QThread>

#include <cstdio>

namespace {

using kavi::screenshots::MarginPrinter;

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s print-preview.png\n", argv[0]);
        return 2;
    }
    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    MarginPrinter printer;
    const kavi::Platform& p = real.platform();
    kavi::Platform platform{p.messages, p.saveDialog, p.shell,         p.help,     p.tray,
                            p.screen,   p.facts,      p.http,          p.sound,    p.systemColors,
                            p.desktop,  p.scanner,    p.imageEncoders, p.printers, printer};
    kavi::PrintSelection selection;
    selection.ticked[3] = true; // DVD
    selection.pictures[3] = kavi::toImage(jpegtest::photoPicture(2400, 1600, 7));
    selection.layout.cutMarks = true;

    kavi::PrintPreviewWindow preview(platform, selection);
    preview.move(0, 0);
    preview.show();
    kavi::testing::settleForScreenshot();
    return preview.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
