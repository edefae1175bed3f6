// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

namespace kavi {

RealPlatform::RealPlatform(const QUrl& makerServer)
    : http_(makerServer), platform_{messages_, saveDialog_, shell_,         help_,     tray_,
                                    screen_,   facts_,      http_,          sound_,    systemColors_,
                                    desktop_,  scanner_,    imageEncoders_, printers_, printer_} {}

} // namespace kavi
