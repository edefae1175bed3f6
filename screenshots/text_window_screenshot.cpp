// SPDX-License-Identifier: GPL-3.0-or-later
// Takes screenshots of the cover text window (run under xvfb-run, see scripts/screenshot.sh): a
// DVD cover's photograph with a title, a subtitle and spine text, the title being edited; and,
// when a second file is named, the same cover with a title too long for it, marked where it runs
// past the cover's edge.
#include "app/cover_text_window.h"
#include "platform/imaging/qt_raster.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QThread>

#include <cstdio>

namespace {

bool takeScreenshot(kavi::CoverTextWindow& window, const char* file) {
    window.move(0, 0);
    window.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    const bool saved = window.grab().save(QString::fromLocal8Bit(file));
    window.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s cover-text-window.png [cover-text-overhang.png]\n", argv[0]);
        return 2;
    }
    constexpr int kDvd = 4;
    const QImage photo = kavi::toImage(jpegtest::photoPicture(1200, 800, 3));
    kavi::CoverText text = kavi::emptyCoverText(kDvd);
    text.title.text = "Summer by the Sea";
    text.title.style.colour = 0xFFFFFF;
    text.title.style.effect = kavi::TextEffect::Shadow;
    text.title.style.effectColour = 0x000000;
    text.subtitle.text = "Holiday 2026";
    text.subtitle.style.colour = 0xFFFFFF;
    text.subtitle.style.effect = kavi::TextEffect::Outline;
    text.subtitle.style.effectColour = 0x203040;
    text.spine.text = "SUMMER BY THE SEA";
    text.spine.style.colour = 0xFFFFFF;
    kavi::CoverTextWindow window(kDvd, photo, kavi::FitMode::Stretch, text);
    if (!takeScreenshot(window, argv[1])) return 1;
    if (argc == 2) return 0;

    text.title.text = "The Long Summer Holidays";
    text.title.style.sizePoints = 32;
    kavi::CoverTextWindow overhanging(kDvd, photo, kavi::FitMode::Fill, text);
    return takeScreenshot(overhanging, argv[2]) ? 0 : 1;
}
