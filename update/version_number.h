// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Version texts such as "4.00" compared as 16-bit whole numbers.
#include <QString>
#include <cstdint>
#include <optional>

namespace kavi {

// The decimal number in the text (blanks around it allowed) rounded to a whole number, exact
// halves to the even neighbour: "4.00" gives 4, "4.5" gives 4, "4.51" gives 5, "5.5" gives 6.
// nullopt when the text is not a plain decimal number or the result does not fit 16 bits.
std::optional<std::int16_t> versionNumber(const QString& text);

} // namespace kavi
