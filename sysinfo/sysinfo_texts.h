// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the system information window shows for memory, disk space, serial numbers, drive
// types, time and date.
#include "platform/system/system_facts.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <cstdint>

namespace kavi {

// Up to 1024 bytes in bytes, up to 1048576 bytes in whole kilo bytes, above that in whole mega bytes.
QString memoryText(std::uint64_t bytes);
// Decimal with a comma between groups of three digits ("###,###,###,##0") and " bytes".
QString diskSpaceText(std::uint64_t bytes);
// The serial number as a signed 32-bit decimal: 2147483648 and above show negative.
QString serialText(std::uint32_t serial);
QString driveTypeText(DriveType type);
// "hh:mm:ss", each part in two digits.
QString timeText(const QTime& time);
// Day name, ", ", then month-day-year: "Monday, 12-07-2026".
QString dateText(const QDate& date);

} // namespace kavi
