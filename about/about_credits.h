// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The credit lines the About window scrolls, top to bottom.
#include <QStringList>

namespace kavi {

QStringList aboutCreditLines();

} // namespace kavi
