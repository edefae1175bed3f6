#pragma once
// The msnpopup module: the texts a caller hands to the alert popup and the count of open alerts.
#include <QString>

namespace kavi::msnpopup {

// The message to show; set by the caller before it shows the popup.
extern QString AlertMessage;
// The kind word; the caller sets "picture".
extern QString AlertKind;
// Alerts shown since the stack was last empty; each new popup stacks one height higher.
extern qint16 OpenAlerts;

} // namespace kavi::msnpopup
