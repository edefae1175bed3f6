// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The safe margin the layout window shows (never printed): the settings file's "DESIGN" section,
// key SafeMargin, in millimetres. A missing, blank, negative, unreadable or absurd value (over
// 20 mm) reads as the default of 3 mm, and the default is written only over a value already
// there, so a user who never sets it finds the file as it was.
#include "covers/length.h"

#include <QString>

namespace kavi {

Length readSafeMargin(const QString& settingsFile);
// False when the file could not be written.
bool writeSafeMargin(const QString& settingsFile, Length margin);

} // namespace kavi
