// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Cover Manipulator needs of the workspace that opens it: the name of the chosen slot
// ("Image1" ... "Image10") and the pictures of the slots.
#include <QImage>
#include <QString>

namespace kavi {

class ManipulatorWorkspace {
public:
    virtual ~ManipulatorWorkspace() = default;
    virtual QString selectedImage() const = 0;
    // n is 1...10.
    virtual QImage slotPicture(int n) const = 0;
    virtual void setSlotPicture(int n, QImage picture) = 0;
};

// The slot number of "Image1" ... "Image10", or 0 for any other name.
int slotNumberOf(const QString& name);

} // namespace kavi
