// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshots of the help's page on designing a cover (run under xvfb-run, see
// scripts/screenshot.sh): the CD Back as an album's back card in the cover's layout window (a
// gradient background, a track list of twelve tracks, the album's name and the end strips), and a
// DVD cover with a photo, a logo with a transparent background, a title, a 3 mm bleed and cut marks
// in the print preview.
#include "app/cover_text_canvas.h"
#include "app/cover_text_window.h"
#include "app/layer_panel.h"
#include "covers/cover_kinds.h"
#include "output/print/print_preview.h"
#include "platform/imaging/qt_raster.h"
#include "platform/platform.h"
#include "screenshots/margin_printer.h"
#include "screenshots/screenshot_settle.h"
#include "tests/jpeg/photo_picture.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int kCdBack = 3, kDvd = 4;

kavi::Length mm(double millimetres) { return kavi::Length::fromMillimetres(millimetres); }

using kavi::screenshots::MarginPrinter;

kavi::Track track(int number, const char* title, const char* artist, double seconds) {
    return kavi::Track{number, title, artist, seconds};
}

// An evening album's back card: a dark blue to violet gradient, the album's name at the top, twelve
// tracks in a box under it and the album's name along both end strips.
kavi::LayoutCover albumBack() {
    kavi::LayoutCover cover;
    cover.kind = kCdBack;
    cover.text = kavi::emptyCoverText(kCdBack);
    kavi::TextBox name;
    name.text = "Harbour Lights";
    name.style.sizePoints = 20;
    name.style.colour = 0xF4E7C8;
    name.style.bold = true;
    name.anchor = {mm(75), mm(14)};
    cover.text.boxes.push_back(name);
    kavi::TextBox band;
    band.text = "The Tidewater Quartet";
    band.style.sizePoints = 11;
    band.style.colour = 0xC9D6F0;
    band.style.italic = true;
    band.anchor = {mm(75), mm(22)};
    cover.text.boxes.push_back(band);

    cover.design.background = {kavi::BackgroundFill::Gradient, 0x14213D, 0x5B2A6E, 45};
    kavi::CoverLayer list;
    list.type = kavi::LayerType::TrackList;
    list.box = {mm(16), mm(30), mm(118), mm(72)};
    list.style.sizePoints = 11;
    list.style.colour = 0xFFFFFF;
    list.style.align = kavi::TextAlign::Left;
    const char* quartet = "The Tidewater Quartet";
    list.tracks = {track(1, "Lanterns on the Quay", quartet, 252), track(2, "North Wind", quartet, 198),
                   track(3, "Salt and Cedar", quartet, 311),       track(4, "The Ferryman's Waltz", quartet, 224),
                   track(5, "Low Tide", "feat. Mara Olsen", 187),  track(6, "Gulls Over Brennick", quartet, 265),
                   track(7, "Harbour Lights", quartet, 342),       track(8, "Fog Bell", quartet, 176),
                   track(9, "Old Net Loft", quartet, 233),         track(10, "Starboard Home", "feat. Mara Olsen", 289),
                   track(11, "Last Boat Out", quartet, 207),       track(12, "Morning Swell", quartet, 381)};
    cover.design.layers.push_back(list);
    cover.design.endStrips.text = "THE TIDEWATER QUARTET  ·  HARBOUR LIGHTS";
    cover.design.endStrips.style.sizePoints = 8;
    cover.design.endStrips.style.colour = 0xF4E7C8;
    cover.design.endStrips.style.bold = true;
    return cover;
}

// A round logo with a transparent background: a gold ring and initials.
QImage logo() {
    QImage picture(600, 600, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE8, 0xB9, 0x4A), 28));
    painter.setBrush(QColor(20, 24, 40, 150));
    painter.drawEllipse(QRectF(40, 40, 520, 520));
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(210);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xF6, 0xE3, 0xA8));
    painter.drawText(QRectF(0, 0, 600, 560), Qt::AlignCenter, QStringLiteral("SF"));
    font.setPixelSize(56);
    painter.setFont(font);
    painter.drawText(QRectF(0, 380, 600, 100), Qt::AlignCenter, QStringLiteral("FILMS"));
    painter.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

bool grabLayoutWindow(kavi::SaveDialog& files, const char* file) {
    kavi::CoverTextWindow window(albumBack(), files);
    window.fraLayers->selectLayer(0); // the track list, its box and handles shown
    window.picCoverText->setSelectedLayer(0);
    window.move(0, 0);
    window.show();
    kavi::testing::settleForScreenshot();
    return window.grab().save(QString::fromLocal8Bit(file));
}

bool grabPreview(const kavi::Platform& real, const char* file) {
    MarginPrinter printer;
    const kavi::Platform& p = real;
    kavi::Platform platform{p.messages, p.saveDialog, p.shell,         p.help,     p.tray,
                            p.screen,   p.facts,      p.http,          p.sound,    p.systemColors,
                            p.desktop,  p.scanner,    p.imageEncoders, p.printers, printer};
    constexpr std::size_t slot = kDvd - 1;
    kavi::PrintSelection selection;
    selection.ticked[slot] = true;
    selection.pictures[slot] = kavi::toImage(jpegtest::photoPicture(2400, 1600, 11));
    selection.fitModes[slot] = kavi::FitMode::Fill;
    kavi::CoverText text = kavi::emptyCoverText(kDvd);
    text.title.text = "The Long Crossing";
    text.title.style.sizePoints = 30;
    text.title.style.colour = 0xFFFFFF;
    text.title.style.bold = true;
    text.title.style.effect = kavi::TextEffect::Shadow;
    text.title.style.effectColour = 0x101010;
    text.spine.text = "THE LONG CROSSING";
    text.spine.style.colour = 0xFFFFFF;
    text.spine.style.sizePoints = 16;
    selection.texts[slot] = text;
    kavi::CoverLayer badge;
    badge.type = kavi::LayerType::Picture;
    badge.picture = 0;
    const kavi::LengthSize size = kavi::coverKind(kDvd).printSize;
    badge.box = {size.width - mm(48), size.height - mm(48), mm(36), mm(36)};
    badge.opacity = 0.9;
    selection.designs[slot].layers.push_back(badge);
    selection.designPictures[slot].push_back({logo(), {}});
    selection.layout.cutMarks = true;
    selection.layout.choices.bleed = kavi::Bleed::ThreeMillimetres;
    selection.layout.choices.placement = kavi::Placement::MovedInForMarks;

    kavi::PrintPreviewWindow preview(platform, selection);
    preview.move(0, 0);
    preview.show();
    kavi::testing::settleForScreenshot();
    return preview.grab().save(QString::fromLocal8Bit(file));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s design-album-back.png design-dvd-bleed.png\n", argv[0]);
        return 2;
    }
    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    if (!grabLayoutWindow(real.platform().saveDialog, argv[1])) return 1;
    return grabPreview(real.platform(), argv[2]) ? 0 : 1;
}
