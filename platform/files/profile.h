// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profile (INI) files read and written key by key, with the rules of the classic profile calls:
// section and key names match without regard to case; blanks around keys and values are trimmed and
// one pair of surrounding quotes is removed from a value; a rewritten key keeps its line; a new key
// goes at the end of its section and a new section at the end of the file; the file is created on
// the first write. Every write replaces the file atomically, keeping its permissions.
#include <QString>

namespace kavi::profile {

// The value of key in section, cut to size - 1 characters; defaultValue when the key or file is
// missing. A file too large to be a settings file (over 64 MB) reads as missing.
QString getString(const QString& section, const QString& key, const QString& defaultValue, int size,
                  const QString& file);

// Sets key in section to value. False when the file could not be written, or when the names or the
// value could not be read back as they are (a line break or carriage return, a "=" in the key, a
// key beginning with "[", a "]" in the section); nothing is changed then.
bool writeString(const QString& section, const QString& key, const QString& value, const QString& file);

} // namespace kavi::profile
