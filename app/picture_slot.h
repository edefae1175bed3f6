#pragma once
// A cover's picture slot: a stretched picture with the slot's name.
#include "desktop/stretched_picture.h"

namespace kavi {

class PictureSlot final : public StretchedPicture {
    Q_OBJECT
public:
    explicit PictureSlot(const QString& name, QWidget* parent = nullptr) : StretchedPicture(parent) {
        setObjectName(name);
        setToolTip(QStringLiteral("Cover image."));
    }
};

} // namespace kavi
