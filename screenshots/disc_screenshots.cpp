// SPDX-License-Identifier: GPL-3.0-or-later
// Takes screenshots of the disc labels (run under xvfb-run, see scripts/screenshot.sh): the main window on
// the Disc tab with a photograph and a curved title and subtitle; and the Label Stock window on a two-up
// stock whose second label the next print uses.
#include "app/label_stock_dialog.h"
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/tab_strip.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s disc-tab.png label-stock.png\n", argv[0]);
        return 2;
    }
    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    kavi::MainWindow window(real.platform());
    window.move(0, 0);
    window.show();
    kavi::CoverDocument& document = window.document();
    document.setPicture(kavi::DiscKind::Disc, kavi::toImage(jpegtest::photoPicture(640, 480, 7)));
    kavi::DiscText text;
    text.title = "Summer in the Mountains";
    text.subtitle = "Photographs 2026";
    text.rgb = 0xFFFFFF;
    text.titlePoints = 18;
    text.subtitlePoints = 12;
    document.setDiscText(kavi::DiscKind::Disc, text);
    window.SSTab1->setCurrentIndex(11);
    window.findChild<QCheckBox*>(QStringLiteral("CheckDisc"))->click();
    window.lblNotice->dismiss();
    kavi::testing::settleForScreenshot();
    const bool discSaved = window.grab().save(QString::fromLocal8Bit(argv[1]));

    kavi::DiscLabelStock stock;
    stock.brand = "Example";
    stock.part = "Two-Up Disc";
    stock.paperId = "US-Letter";
    stock.paper = kavi::sheetSize(kavi::Paper::Letter, kavi::Orientation::Portrait);
    stock.outerRadius = kavi::Length::fromMillimetres(58.5);
    stock.holeRadius = kavi::Length::fromMillimetres(20.5);
    stock.centres = {{kavi::Length::fromMillimetres(107.95), kavi::Length::fromMillimetres(74.5)},
                     {kavi::Length::fromMillimetres(107.95), kavi::Length::fromMillimetres(204.5)}};
    kavi::LabelStockDialog dialog({stock, 2, 1}, {stock}, {}, nullptr);
    dialog.move(40, 40);
    dialog.resize(420, 560);
    dialog.show();
    kavi::testing::settleForScreenshot();
    const bool stockSaved = dialog.grab().save(QString::fromLocal8Bit(argv[2]));
    return discSaved && stockSaved ? 0 : 1;
}
