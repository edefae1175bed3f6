#include "platform.h"

namespace kavi {

RealPlatform::RealPlatform()
    : platform_{messages_, saveDialog_, shell_, help_, tray_, screen_, sound_, systemColors_, desktop_} {}

} // namespace kavi
