// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/sysinfo_texts.h"

namespace kavi {

QString memoryText(std::uint64_t bytes) {
    constexpr std::uint64_t kKilo = 1024, kMega = 1024 * 1024;
    if (bytes <= kMega && bytes < kKilo + 1) return QString::number(bytes) + QStringLiteral(" bytes");
    if (bytes <= kMega) return QString::number(bytes / kKilo) + QStringLiteral(" kilo bytes");
    return QString::number(bytes / kMega) + QStringLiteral(" mega bytes");
}

QString diskSpaceText(std::uint64_t bytes) {
    const QString digits = QString::number(bytes);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped.append(QLatin1Char(','));
        grouped.append(digits[i]);
    }
    return grouped + QStringLiteral(" bytes");
}

QString serialText(std::uint32_t serial) { return QString::number(std::int32_t(serial)); }

QString driveTypeText(DriveType type) {
    switch (type) {
    case DriveType::Removable: return QStringLiteral("Removable");
    case DriveType::Fixed: return QStringLiteral("Drive Fixed");
    case DriveType::Remote: return QStringLiteral("Remote (network) drive");
    case DriveType::CdRom: return QStringLiteral("Cd-Rom");
    case DriveType::RamDisk: return QStringLiteral("Ram disk");
    case DriveType::Unknown:
    case DriveType::NoRootFolder: break;
    }
    return QStringLiteral("Unrecognized");
}

QString timeText(const QTime& time) {
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return two(time.hour()) + QLatin1Char(':') + two(time.minute()) + QLatin1Char(':') + two(time.second());
}

QString dateText(const QDate& date) {
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    const int weekday = date.dayOfWeek() % 7; // Qt counts Monday 1 ... Sunday 7
    return QLatin1String(kDays[weekday]) + QStringLiteral(", ") + two(date.month()) + QLatin1Char('-') +
        two(date.day()) + QLatin1Char('-') + QString::number(date.year());
}

} // namespace kavi
