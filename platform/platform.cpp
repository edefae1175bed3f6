#include "platform.h"

namespace kavi {

RealPlatform::RealPlatform()
    : platform_{messages_, saveDialog_, shell_, help_, tray_, screen_, printers_, printer_} {}

} // namespace kavi
