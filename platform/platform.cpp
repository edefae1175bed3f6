#include "platform.h"

namespace kavi {

RealPlatform::RealPlatform()
    : http_(QUrl() /* MAKER SERVER: after merging main */),
      platform_{messages_, saveDialog_, shell_, help_, tray_, screen_, facts_, http_} {}

} // namespace kavi
