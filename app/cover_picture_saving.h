// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Save Cover Picture As...": a cover's picture written to an image file the user names. The type
// follows the name's extension as on the Scan tab; a name typed without one takes the extension of
// the type chosen in the dialog, and Cancel ends the command without a word.
#include "platform/platform.h"

#include <QImage>
#include <QString>

#include <functional>

namespace kavi {

class ImageFileWriter;

struct CoverPictureSaveRequest {
    QImage picture;
    QString startFolder; // where the dialog opens
    ImageFileWriter* writer = nullptr; // the image-file writer; null: only upper-case .BMP names can be written
    std::function<bool(const QString&)> fileExists; // asked before a file is replaced
};

// Runs the command; returns the file name the user chose (empty when cancelled), whether or not it
// could be written.
QString saveCoverPicture(Platform& platform, const CoverPictureSaveRequest& request);

// The name with the extension of the dialog's type number `filterIndex` added when it has none.
QString withChosenExtension(const QString& fileName, int filterIndex);

} // namespace kavi
