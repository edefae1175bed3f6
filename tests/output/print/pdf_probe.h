// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads printed PDF files the way a user would look at them: page sizes from pdfinfo, pages
// rendered by pdftoppm, and the box of the inked pixels. Header-only, shared by the print tests.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QTemporaryDir>

namespace kavi::testing {

inline QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Page sizes in points, one per page.
inline std::vector<QSizeF> pdfPageSizes(const QString& pdf) {
    std::vector<QSizeF> sizes;
    const QString info = runTool("pdfinfo", {"-f", "1", "-l", "99", pdf});
    static const QRegularExpression re(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)");
    for (auto it = re.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        sizes.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return sizes;
}

// One page (from 1) rendered at the given resolution.
inline QImage renderPdfPage(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    runTool("pdftoppm",
            {"-r", QString::number(dpi), "-png", "-singlefile", "-f", QString::number(page), "-l",
             QString::number(page), pdf, prefix});
    return QImage(prefix + ".png");
}

// The bounding box of pixels darker than mid-grey; empty when the page is blank.
inline QRect inkBox(const QImage& page) {
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A picture of one dark colour (so its printed box is easy to find), tagged with a slot name.
inline QImage darkPicture(int width, int height, const QString& slot) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(20, 30, 90));
    picture.setText("slot", slot);
    return picture;
}

} // namespace kavi::testing
