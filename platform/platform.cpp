#include "platform.h"

#include "../app/maker.h" // the maker's server, where the update check looks

namespace kavi {

RealPlatform::RealPlatform()
    : http_(QUrl(QString::fromLatin1(maker::kServer))),
      platform_{messages_, saveDialog_, shell_, help_, tray_, screen_, facts_, http_, sound_, systemColors_, desktop_,
                scanner_, imageEncoders_, printers_, printer_} {}

} // namespace kavi
