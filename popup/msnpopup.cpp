#include "msnpopup.h"

namespace kavi::msnpopup {

QString AlertMessage;
QString AlertKind;
qint16 OpenAlerts = 0;

} // namespace kavi::msnpopup
