// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cover's design in the cover-set description (docs/cover-set-format.md): background, layers with
// their boxes in twips from the cover's top-left corner, track lists as their lines, end strips as
// a text box. Picture layers name their picture by the entry that holds it.
#include "covers/cover_design.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <string>
#include <vector>

namespace kavi {

// `pictureNames[i]` is the entry of the further picture that picture layers name as i.
QJsonObject coverDesignToJson(const CoverDesign& design, const std::vector<QString>& pictureNames);

struct DesignFromJson {
    CoverDesign design;
    // The entries the picture layers name, each once, in the order first named; a layer's
    // `picture` is its index here.
    std::vector<QString> pictureNames;
    // Why the value cannot be a design of the kind's cover; empty when it was read.
    std::string problem;
};

// The design of the kind's cover; a value of the wrong type, a name the format does not know or a
// value the design rules refuse (cover_design_rules.h) gives a problem.
DesignFromJson coverDesignFromJson(const QJsonValue& value, int kind);

} // namespace kavi
