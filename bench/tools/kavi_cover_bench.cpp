// SPDX-License-Identifier: GPL-3.0-or-later
// kavi-cover writing the PDF of a DVD cover from a 4000 x 3000 JPEG (an unedited picture, so the
// file's bytes go in as they are), beside img2pdf putting the same JPEG on a Legal landscape page.
// Targets: at most 0.5 times img2pdf's time, and a PDF at most the JPEG's size plus 64 KB. Prints
// the medians of several runs of each, run in turns, and the ratios.
#include "bench/bench_support.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 7;

// Milliseconds for one run of the program, or a negative number when it failed.
double timeRun(const QString& program, const QStringList& arguments) {
    QElapsedTimer t;
    t.start();
    const int status = QProcess::execute(program, arguments);
    return status == 0 ? double(t.nsecsElapsed()) / 1e6 : -1;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTemporaryDir work;
    const QString jpeg = work.filePath("cover.jpg");
    if (!kavi::bench::photoLikePicture(4000, 3000).save(jpeg, "JPEG", 90)) {
        std::fprintf(stderr, "could not write the test JPEG\n");
        return 1;
    }
    const QString ours = work.filePath("ours.pdf"), theirs = work.filePath("img2pdf.pdf");
    std::vector<double> oursMs, anchorMs;
    for (int run = 0; run < kRuns; ++run) {
        const double a = timeRun(QStringLiteral(KAVI_COVER_TOOL), {"-o", ours, "dvd=" + jpeg});
        const double b = timeRun("img2pdf", {"--pagesize", "Legal^T", jpeg, "-o", theirs});
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "%s failed\n", a < 0 ? "kavi-cover" : "img2pdf");
            return 1;
        }
        oursMs.push_back(a);
        anchorMs.push_back(b);
    }
    const double a = kavi::bench::median(oursMs), b = kavi::bench::median(anchorMs);
    const qint64 file = QFileInfo(jpeg).size(), pdf = QFileInfo(ours).size();
    std::printf("JPEG file: %lld bytes\n", file);
    std::printf("kavi-cover -o: median %.1f ms, PDF %lld bytes (file + %.1f KB)\n", a, pdf, double(pdf - file) / 1024);
    std::printf("img2pdf, same JPEG on Legal landscape: median %.1f ms, PDF %lld bytes\n", b, QFileInfo(theirs).size());
    std::printf("time ratio (ours / img2pdf): %.2f (target <= 0.5) %s\n", a / b, a / b <= 0.5 ? "met" : "MISSED");
    std::printf("size over the file: %.1f KB (target <= 64 KB) %s\n", double(pdf - file) / 1024,
                pdf - file <= 64 * 1024 ? "met" : "MISSED");
    return 0;
}
