// SPDX-License-Identifier: GPL-3.0-or-later
// Resident memory, against the pictures' own 32-bit size:
//  - ten covers each holding a 4000 x 3000 JPEG picked through the loader into its slot
//    (target: at most the pictures' size plus 150 MiB);
//  - the Cover Manipulator open on a 12000 x 9000 picture through transforms, filters, Undo and
//    Accept, the slot's own picture included (target: peak at most 3.5 times the picture's size).
// Each part runs in a child process of its own, so that one's peak does not count for the other.
#include "app/picture_slot.h"
#include "covers/cover_kinds.h"
#include "manipulator/manipulator_window.h"
#include "manipulator/manipulator_workspace.h"
#include "platform/imaging/picture_loader.h"
#include "platform/platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr double kMb = 1 << 20;

// VmRSS (now) or VmHWM (the peak so far) of this process, in MiB.
double statusMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(std::strlen(field)) + 1).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

QImage grainy(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) row[x] = qRgb((x * 3 + y) & 255, (y * 5 + (x >> 3)) & 255, ((x ^ y) * 7) & 255);
    }
    return image;
}

int tenCovers() {
    QTemporaryDir dir;
    std::array<std::unique_ptr<kavi::PictureSlot>, 10> covers;
    for (int n = 0; n < 10; ++n) {
        // Ten different files, as ten covers would have.
        const QString path = dir.filePath(QStringLiteral("cover%1.jpg").arg(n));
        QImage picture = grainy(4000, 3000);
        picture.setPixel(n, 0, qRgb(n, n, n));
        picture.save(path, "JPEG", 90);
    }
    const double before = statusMb("VmRSS:");
    for (int n = 0; n < 10; ++n) {
        covers[std::size_t(n)] =
            std::make_unique<kavi::PictureSlot>(QStringLiteral("Image%1").arg(n + 1), kavi::coverKind(n + 1));
        covers[std::size_t(n)]->resize(433, 283);
        kavi::PictureLoad loaded = kavi::loadPictureFile(dir.filePath(QStringLiteral("cover%1.jpg").arg(n)));
        covers[std::size_t(n)]->setPickedPicture(std::move(loaded.picture), std::move(loaded.originalJpeg));
    }
    const double pictures = 10 * 4000.0 * 3000 * 4 / kMb, rss = statusMb("VmRSS:");
    std::printf("ten covers of 4000x3000: resident %.0f MiB (%.0f MiB before picking); pictures %.0f MiB; "
                "over them %.0f MiB (target <= 150) %s\n",
                rss, before, pictures, rss - pictures, verdict(rss - pictures <= 150));
    return 0;
}

class Workspace final : public kavi::ManipulatorWorkspace {
public:
    QImage slot;
    QString selectedImage() const override { return QStringLiteral("Image1"); }
    QImage slotPicture(int) const override { return slot; }
    void setSlotPicture(int, QImage picture) override { slot = std::move(picture); }
};

int manipulator() {
    constexpr int kWidth = 12000, kHeight = 9000;
    const double picture = double(kWidth) * kHeight * 4 / kMb;
    Workspace workspace;
    workspace.slot = grainy(kWidth, kHeight);
    const double start = statusMb("VmRSS:");
    kavi::RealPlatform platform(QUrl(QStringLiteral("http://127.0.0.1:9")));
    auto window = std::make_unique<kavi::ManipulatorWindow>(platform.platform(), workspace);
    const auto step = [&](const char* what) {
        std::printf("  %-26s resident %6.0f MiB, peak %6.0f MiB\n", what, statusMb("VmRSS:"), statusMb("VmHWM:"));
        std::fflush(stdout);
    };
    std::printf("Cover Manipulator on %dx%d (%.0f MiB as 32-bit pixels; %.0f MiB resident with the slot's picture)\n",
                kWidth, kHeight, picture, start);
    step("opened");
    window->Toolbar1_ButtonClick(1);
    step("Rotate");
    window->Toolbar1_ButtonClick(2);
    step("Mirror");
    window->Toolbar1_ButtonClick(3);
    step("Flip");
    window->Toolbar1_ButtonClick(4);
    step("Brightness");
    window->runFilter(3, 0); // Blur
    step("Blur");
    window->runFilter(1, 2); // Sharpen
    step("Sharpen");
    window->runFilter(25, 0); // Dilate, which reads the unchanged picture
    step("Dilate");
    window->runFilter(29, 50); // Add Noise, likewise
    step("Add Noise");
    window->Toolbar1_ButtonClick(5);
    step("Undo");
    window->Toolbar1_ButtonClick(1);
    step("Rotate again");
    window->Command5_Click();
    step("Accept");
    window.reset();
    const double peak = statusMb("VmHWM:");
    std::printf("peak resident %.0f MiB = %.2f times the picture (target <= 3.5) %s\n", peak, peak / picture,
                verdict(peak / picture <= 3.5));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString part = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (part.isEmpty()) {
        QCoreApplication app(argc, argv);
        const QString self = QCoreApplication::applicationFilePath();
        QProcess::execute(self, {QStringLiteral("covers")});
        QProcess::execute(self, {QStringLiteral("manipulator")});
        return 0;
    }
    QApplication app(argc, argv);
    return part == QLatin1String("covers") ? tenCovers() : manipulator();
}
