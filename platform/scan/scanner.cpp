// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scan/scanner.h"

#include "platform/files/atomic_file.h"
#include "platform/imaging/image_encoders.h"
#include "platform/scan/sane_device.h"
#include "platform/scan/scan_dialogs.h"

namespace kavi {

SaneScanner::SaneScanner() = default;
SaneScanner::~SaneScanner() = default;

SaneLibrary& SaneScanner::library() {
    if (!library_) library_ = std::make_unique<SaneLibrary>();
    return *library_;
}

int SaneScanner::selectImageSource(QWidget* owner) {
    SourceChooserDialog dialog(library().devices(), chosen_, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenName().isEmpty()) return ScanCancelled;
    chosen_ = dialog.chosenName();
    return ScanOk;
}

int SaneScanner::acquireToFilename(QWidget* owner, const QString& path) {
    const std::vector<ScannerDevice> devices = library().devices();
    const ScannerDevice* source = nullptr;
    for (const ScannerDevice& d : devices)
        if (d.name == chosen_) source = &d;
    if (!source && chosen_.isEmpty() && !devices.empty()) source = &devices.front();
    if (!source) return ScanNoScanner;

    SaneDevice device;
    if (!device.open(source->name)) return ScanDeviceFailed;
    ScanDialog dialog(device, source->label.isEmpty() ? source->name : source->label, owner);
    const int answer = dialog.exec();
    if (answer == QDialog::Rejected) return ScanCancelled;
    if (answer != QDialog::Accepted) return ScanDeviceFailed;

    const EncodedImage bmp = encodeWithQt(dialog.picture(), "bmp", std::nullopt);
    if (bmp.status != StatusOk) return ScanWriteFailed;
    return writeFileAtomically(path, bmp.bytes) ? ScanOk : ScanWriteFailed;
}

} // namespace kavi
