// SPDX-License-Identifier: GPL-3.0-or-later
// How long the print command takes to hand a DVD job with a 4000 x 3000 JPEG picture to CUPS, and
// how large the job is, beside img2pdf putting the same JPEG on a Legal landscape page. The
// picture is an unedited pick, so the job carries the file's bytes as read at the pick (as img2pdf
// does); targets: at most 0.3 times img2pdf's time, and a job at most the file's size plus 64 KB.
// Prints the medians of several runs and the ratios. Needs cupsd, lpadmin and img2pdf.
#include "bench/bench_support.h"
#include "platform/imaging/picture_loader.h"
#include "platform/print/cups_printers.h"
#include "platform/print/printer.h"
#include "tests/integration/print/private_cups.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 5;

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    const QString jpeg = work.filePath("cover.jpg");
    if (!kavi::bench::photoLikePicture(4000, 3000).save(jpeg, "JPEG", 90)) {
        std::fprintf(stderr, "could not write the test JPEG\n");
        return 1;
    }
    const kavi::PictureLoad picked = kavi::loadPictureFile(jpeg); // what the DVD slot holds
    const QImage& picture = picked.picture;
    if (picked.originalJpeg.isEmpty()) {
        std::fprintf(stderr, "the pick kept no JPEG bytes\n");
        return 1;
    }

    kavi::testing::PrivateCups cups;
    if (!cups.failure().isEmpty() || !cups.addQueue("Bench", KAVI_PASSTHROUGH_PPD) || !cups.setServerDefault("Bench")) {
        std::fprintf(stderr, "CUPS cannot start here: %s\n", qPrintable(cups.failure()));
        return 1;
    }
    kavi::CupsPrinters printers;
    kavi::CupsPrinterObject printer(printers);
    printer.setFollowDefault(true);

    std::vector<double> ours, anchor;
    qint64 jobBytes = 0, anchorBytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        printer.setPaperSize(kavi::Paper::Legal);
        printer.setOrientation(kavi::Orientation::Landscape);
        printer.drawJpegPicture(
            picture, picked.originalJpeg,
            kavi::LengthRect{{}, {}, kavi::Length::fromTwips(15390), kavi::Length::fromTwips(10260)});
        if (!printer.endDocument()) { // the job is written and handed to CUPS here
            std::fprintf(stderr, "the job was not accepted\n");
            return 1;
        }
        ours.push_back(t.nsecsElapsed() / 1e6);
        printer.setPaperSize(kavi::Paper::Letter);
        cups.waitForJobs();
        jobBytes = QFileInfo(cups.jobFile("Bench")).size();

        const QString out = work.filePath("anchor.pdf");
        t.restart();
        const int rc = QProcess::execute("img2pdf", {"--pagesize", "Legal^T", jpeg, "-o", out});
        anchor.push_back(t.nsecsElapsed() / 1e6);
        if (rc != 0) {
            std::fprintf(stderr, "img2pdf failed (%d)\n", rc);
            return 1;
        }
        anchorBytes = QFileInfo(out).size();
    }
    const double a = kavi::bench::median(ours), b = kavi::bench::median(anchor);
    std::printf("DVD job, 4000x3000 JPEG (%lld bytes) -> CUPS: median %.1f ms over %d runs, job %lld bytes\n",
                static_cast<long long>(QFileInfo(jpeg).size()), a, kRuns, static_cast<long long>(jobBytes));
    std::printf("img2pdf, same JPEG on Legal landscape: median %.1f ms, file %lld bytes\n", b,
                static_cast<long long>(anchorBytes));
    const qint64 fileBytes = QFileInfo(jpeg).size(), limit = fileBytes + 64 * 1024;
    std::printf("ratio (ours / img2pdf): %.2f (target <= 0.3) %s\n", a / b, a / b <= 0.3 ? "met" : "MISSED");
    std::printf("job size %lld bytes against the file's %lld + 64 KB = %lld (target: at most that) %s\n",
                static_cast<long long>(jobBytes), static_cast<long long>(fileBytes), static_cast<long long>(limit),
                jobBytes <= limit ? "met" : "MISSED");
    return 0;
}
