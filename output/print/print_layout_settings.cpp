// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_layout_settings.h"

#include "output/print/print_choices_settings.h"
#include "platform/files/profile.h"

#include <array>

namespace kavi {

namespace {

const QString kLayoutSection = QStringLiteral("PRINT LAYOUT");
const QString kPaperKey = QStringLiteral("Paper");
const QString kCutMarksKey = QStringLiteral("CutMarks");
constexpr int kValueBuffer = 256;

QString calibrationSection(const QString& queue) { return QStringLiteral("CALIBRATION ") + queue; }

// The four keys of one orientation, in the order offset x, offset y, scale x, scale y.
std::array<QString, 4> calibrationKeys(Orientation orientation) {
    const QString o = orientation == Orientation::Landscape ? QStringLiteral("Landscape") : QStringLiteral("Portrait");
    return {o + QStringLiteral("OffsetX"), o + QStringLiteral("OffsetY"), o + QStringLiteral("ScaleX"),
            o + QStringLiteral("ScaleY")};
}

QString read(const QString& section, const QString& key, const QString& file) {
    return profile::getString(section, key, QString(), kValueBuffer, file).trimmed();
}

} // namespace

PrintLayoutSettings readPrintLayout(const QString& settingsFile) {
    PrintLayoutSettings settings;
    if (read(kLayoutSection, kPaperKey, settingsFile).compare(QStringLiteral("A4"), Qt::CaseInsensitive) == 0)
        settings.paper = PaperChoice::A4;
    settings.cutMarks = read(kLayoutSection, kCutMarksKey, settingsFile) == QStringLiteral("1");
    settings.choices = readPrintChoices(settingsFile);
    return settings;
}

bool writePrintLayout(const QString& settingsFile, const PrintLayoutSettings& settings) {
    const QString paper = settings.paper == PaperChoice::A4 ? QStringLiteral("A4") : QStringLiteral("US");
    return profile::writeString(kLayoutSection, kPaperKey, paper, settingsFile) &&
        profile::writeString(kLayoutSection, kCutMarksKey,
                             settings.cutMarks ? QStringLiteral("1") : QStringLiteral("0"), settingsFile) &&
        writePrintChoices(settingsFile, settings.choices);
}

Calibration readCalibration(const QString& settingsFile, const QString& queue, Orientation orientation) {
    if (queue.isEmpty()) return {};
    const auto keys = calibrationKeys(orientation);
    std::array<double, 4> values{0, 0, 100, 100};
    bool anyGiven = false;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString text = read(calibrationSection(queue), keys[i], settingsFile);
        if (text.isEmpty()) continue;
        bool ok = false;
        values[i] = text.toDouble(&ok);
        if (!ok) return {};
        anyGiven = true;
    }
    if (!anyGiven) return {};
    const Calibration c{values[0], values[1], values[2], values[3]};
    return c.problem().empty() ? c : Calibration{};
}

bool writeCalibration(const QString& settingsFile, const QString& queue, Orientation orientation,
                      const Calibration& calibration) {
    if (queue.isEmpty() || !calibration.problem().empty()) return false;
    const auto keys = calibrationKeys(orientation);
    const double values[] = {calibration.offsetXMillimetres, calibration.offsetYMillimetres, calibration.scaleXPercent,
                             calibration.scaleYPercent};
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!profile::writeString(calibrationSection(queue), keys[i], QString::number(values[i], 'g', 12),
                                  settingsFile))
            return false;
    return true;
}

} // namespace kavi
