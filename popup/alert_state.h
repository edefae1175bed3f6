// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The msnpopup module: the texts a caller hands to the alert popup and the count of open alerts.
// The workspace owns one module and hands it to every popup it shows; a popup keeps the module
// alive, since it may go after the workspace that showed it.
#include <QString>

#include <memory>

namespace kavi {

struct msnpopup {
    // The message to show.
    QString AlertMessage;
    // The kind word; the workspace uses "picture".
    QString AlertKind;
    // Alerts shown since the stack was last empty; each new popup stacks one height higher.
    qint16 OpenAlerts = 0;
};

using AlertModule = std::shared_ptr<msnpopup>;

} // namespace kavi
