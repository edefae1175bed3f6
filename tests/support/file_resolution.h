// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The resolution stored in a picture file, read by ImageMagick's identify (a reader of its own,
// not Qt's), in dots per inch across and down; nothing when the file holds none.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kavi::testing {

inline std::optional<std::pair<double, double>> fileDpi(const QString& path) {
    QProcess identify;
    identify.start(QStringLiteral("/usr/bin/identify"), {QStringLiteral("-format"), QStringLiteral("%x %y %U"), path});
    if (!identify.waitForFinished(-1) || identify.exitCode() != 0) return std::nullopt;
    const QStringList parts = QString::fromUtf8(identify.readAllStandardOutput()).split(QLatin1Char(' '));
    if (parts.size() != 3) return std::nullopt;
    const double scale = parts[2] == "PixelsPerInch" ? 1.0 : parts[2] == "PixelsPerCentimeter" ? 2.54 : 0.0;
    if (scale == 0.0) return std::nullopt; // "Undefined": no resolution in the file
    return std::pair{parts[0].toDouble() * scale, parts[1].toDouble() * scale};
}

} // namespace kavi::testing
