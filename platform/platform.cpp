#include "platform.h"

namespace kavi {

RealPlatform::RealPlatform()
    : platform_{messages_, saveDialog_, shell_, help_, tray_, screen_, scanner_, imageEncoders_} {}

} // namespace kavi
