// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/output/scan/picture_samples.h"

#include <QSet>

#include <cmath>
#include <limits>

namespace kavi::testing {

QImage richPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) % 9) - 4;
            const int r = std::clamp(x * 255 / std::max(1, width - 1) + noise, 0, 255);
            const int g = std::clamp(y * 255 / std::max(1, height - 1) - noise, 0, 255);
            const int b = std::clamp(int(128 + 100 * std::sin((x + y) / 9.0)) + noise, 0, 255);
            image.setPixel(x, y, qRgb(r, g, b));
        }
    return image;
}

QImage palettePicture(int width, int height, int colours) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = (x * 7 + y * 13 + (x * y) % 5) % colours;
            image.setPixel(x, y, qRgb((i * 37) & 255, (i * 91 + 17) & 255, 255 - i));
        }
    return image;
}

double psnr(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            const double dr = qRed(p) - qRed(q), dg = qGreen(p) - qGreen(q), db = qBlue(p) - qBlue(q);
            sum += dr * dr + dg * dg + db * db;
        }
    if (sum == 0) return std::numeric_limits<double>::infinity();
    const double mse = sum / (3.0 * x.width() * x.height());
    return 10 * std::log10(255.0 * 255.0 / mse);
}

namespace {
QImage boxBlurred(const QImage& picture) {
    const QImage x = picture.convertToFormat(QImage::Format_RGB32);
    QImage out(x.width() - 2, x.height() - 2, QImage::Format_RGB32);
    for (int r = 1; r < x.height() - 1; ++r)
        for (int c = 1; c < x.width() - 1; ++c) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb p = x.pixel(c + dx, r + dy);
                    sum[0] += qRed(p);
                    sum[1] += qGreen(p);
                    sum[2] += qBlue(p);
                }
            out.setPixel(c - 1, r - 1, qRgb((sum[0] + 4) / 9, (sum[1] + 4) / 9, (sum[2] + 4) / 9));
        }
    return out;
}
} // namespace

double blurredPsnr(const QImage& a, const QImage& b) { return psnr(boxBlurred(a), boxBlurred(b)); }

int differingPixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c)
            if ((x.pixel(c, r) & 0xffffff) != (y.pixel(c, r) & 0xffffff)) ++n;
    return n;
}

int distinctColours(const QImage& picture) {
    const QImage x = picture.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> seen;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) seen.insert(x.pixel(c, r) & 0xffffff);
    return int(seen.size());
}

} // namespace kavi::testing
