// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Cover Manipulator's twenty filter commands: the menu each sits in, its name and caption, and
// the filter number and amount it hands the filter engine. The window builds its menus from this
// table and kavi-filter lists it in its help.
#include <string>

namespace kavi {

struct FilterCommand {
    const char* menu;
    const char* name;
    const char* caption; // with its access key marked by "&" ("&&" for an "&" itself)
    int number;
    int amount;
};
extern const FilterCommand kFilterCommands[20];

// A caption as the user reads it, without its access-key marks: "&Black && White" gives
// "Black & White".
std::string plainCaption(const char* caption);

} // namespace kavi
