// SPDX-License-Identifier: GPL-3.0-or-later
// How long the print preview takes to open (the job laid out, the screen-size copies made, the
// window shown and painted):
// - a DVD job with a 4000 x 3000 picture, beside drawing the same picture once into a screen-size
//   image with QPainter;
// - the CD case's three covers of a ten-cover set of 4000 x 3000 JPEG pictures just opened from its
//   file (the pictures still undecoded), beside TurboJPEG decoding the three ticked pictures and
//   QPainter drawing each once at screen size.
// Prints the medians of several runs and the ratios.
#include "bench/bench_support.h"
#include "coverset/cover_set_file.h"
#include "document/cover_document.h"
#include "output/print/cover_document_printing.h"
#include "output/print/print_preview.h"
#include "platform/platform.h"

#include <QBuffer>
#include <turbojpeg.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 9;

// A printer that takes every step and has quarter-inch margins, so nothing waits on a print service.
class BenchPrinter final : public kavi::PrinterObject {
public:
    bool setFollowDefault(bool) override { return true; }
    bool setPaperSize(kavi::Paper) override { return true; }
    bool setOrientation(kavi::Orientation) override { return true; }
    kavi::Paper paperSize() const override { return kavi::Paper::Letter; }
    kavi::Orientation orientation() const override { return kavi::Orientation::Portrait; }
    bool drawPicture(const QImage&, const kavi::LengthRect&) override { return true; }
    bool drawClippedPicture(const QImage&, const kavi::LengthRect&, const kavi::LengthRect&) override { return true; }
    bool newPage() override { return true; }
    bool endDocument() override { return true; }
    void printNextJobToFile(const QString&) override {}
    std::optional<kavi::LengthRect> printableArea(kavi::Paper paper, kavi::Orientation orientation) override {
        const kavi::LengthSize sheet = kavi::sheetSize(paper, orientation);
        const kavi::Length margin = kavi::Length::fromInches(0.25);
        return kavi::LengthRect{margin, margin, sheet.width - margin - margin, sheet.height - margin - margin};
    }
    QString nextJobPrinter() override { return QStringLiteral("Bench"); }
    bool drawLine(kavi::LengthPoint, kavi::LengthPoint, kavi::Length) override { return true; }
    void setCopies(int) override {}
};

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

QImage turboDecoded(const QByteArray& jpeg) {
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colours = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    QImage image;
    if (tjDecompressHeader3(tj, data, (unsigned long)jpeg.size(), &width, &height, &subsampling, &colours) == 0) {
        image = QImage(width, height, QImage::Format_RGB32);
        if (tjDecompress2(tj, data, (unsigned long)jpeg.size(), image.bits(), width, int(image.bytesPerLine()), height,
                          TJPF_BGRX, TJFLAG_ACCURATEDCT) != 0)
            image = QImage();
    }
    tjDestroy(tj);
    return image;
}

// The preview of the CD case out of a ten-cover set, opened from its bytes each run as the window
// opens a set, against decoding and drawing the three pictures it shows.
int tenCoverSet(kavi::Platform& platform) {
    kavi::CoverSet set = kavi::CoverSet::empty();
    std::vector<QByteArray> files;
    for (const kavi::Kind kind : kavi::Kind::all()) {
        files.push_back(jpegOf(kavi::bench::photoLikePicture(4000, 3000, kind.number())));
        set.cover(kind.number()).picture = kavi::CoverSetPicture::ofJpegFile(files.back());
        set.ticked[kind.index()] = kind.number() <= 3; // the CD case: front, inside, back
    }
    const QByteArray stored = kavi::writeCoverSet(set);

    std::vector<double> opening, anchor;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        const kavi::CoverSetReading reading = kavi::readCoverSet(stored);
        if (!reading.set) return std::fprintf(stderr, "the set does not read back\n"), 1;
        kavi::CoverDocument document;
        document.applyCoverSet(*reading.set);
        auto preview = std::make_unique<kavi::PrintPreviewWindow>(platform, kavi::printSelectionOf(document));
        preview->show();
        QApplication::processEvents(); // the first paint
        opening.push_back(double(t.nsecsElapsed()) / 1e6);
        preview.reset();
        QApplication::processEvents();

        QImage screen(1280, 800, QImage::Format_RGB32);
        t.restart();
        for (int kind = 0; kind < 3; ++kind) {
            const QImage picture = turboDecoded(files[std::size_t(kind)]);
            QPainter painter(&screen);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(0, 0, 1066, 800), picture);
        }
        anchor.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double a = kavi::bench::median(opening), b = kavi::bench::median(anchor);
    std::printf("Print preview of the CD case from a ten-cover set of 4000x3000 JPEGs: median %.1f ms to open\n", a);
    std::printf("TurboJPEG decoding the three pictures and QPainter drawing each once: median %.1f ms\n", b);
    std::printf("ratio (preview / decode and draw): %.2f  (target: at most 1.5) %s\n", a / b,
                a / b <= 1.5 ? "met" : "MISSED");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kavi::RealPlatform real(QUrl(QStringLiteral("http://127.0.0.1:9")));
    BenchPrinter printer;
    const kavi::Platform& p = real.platform();
    kavi::Platform platform{p.messages, p.saveDialog, p.shell,         p.help,     p.tray,
                            p.screen,   p.facts,      p.http,          p.sound,    p.systemColors,
                            p.desktop,  p.scanner,    p.imageEncoders, p.printers, printer};

    kavi::PrintSelection selection;
    selection.ticked[3] = true; // DVD
    selection.pictures[3] = kavi::bench::photoLikePicture(4000, 3000);
    selection.layout.cutMarks = true;

    std::vector<double> opening, anchor;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        auto preview = std::make_unique<kavi::PrintPreviewWindow>(platform, selection);
        preview->show();
        QApplication::processEvents(); // the first paint
        opening.push_back(double(t.nsecsElapsed()) / 1e6);
        preview.reset();
        QApplication::processEvents();

        QImage screen(1280, 800, QImage::Format_RGB32);
        t.restart();
        {
            QPainter painter(&screen);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(0, 0, 1066, 800), selection.pictures[3]);
        }
        anchor.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double a = kavi::bench::median(opening), b = kavi::bench::median(anchor);
    std::printf("Print preview of a DVD job, 4000x3000 picture: median %.1f ms to open over %d runs\n", a, kRuns);
    std::printf("QPainter drawing the same picture once into a 1280x800 image: median %.1f ms\n", b);
    std::printf("ratio (preview / one QPainter draw): %.2f  (target: at most 1.5) %s\n", a / b,
                a / b <= 1.5 ? "met" : "MISSED");
    return tenCoverSet(platform);
}
