// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "discs" member of a cover set's description (docs/cover-set-format.md): the disc labels, which one is
// ticked, and the label stock with its whole geometry, so a set prints the same without the template files.
// Pictures are named here; their entries are written and read by the cover-set file.
#include "coverset/cover_set_disc.h"

#include <QJsonObject>
#include <QString>

#include <array>
#include <optional>

namespace kavi {

// The description of the discs; pictureNames holds each label's picture entry name (empty: none).
QJsonObject discsToJson(const CoverSetDiscs& discs, const std::array<QString, kDiscKindCount>& pictureNames);

struct DiscsFromJson {
    CoverSetDiscs discs; // pictures still null
    std::array<QString, kDiscKindCount> pictureNames; // the entries to read; empty: none
};
// None when the member is not as written by Kavi (wrong types, a ring or stock that cannot be).
std::optional<DiscsFromJson> discsFromJson(const QJsonObject& json);

} // namespace kavi
