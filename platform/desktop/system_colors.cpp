// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/system_colors.h"

#include <QApplication>
#include <QPalette>

namespace kavi {

namespace {

raster::ColorRef toColorRef(const QColor& c) { return raster::rgb(c.red(), c.green(), c.blue()); }

// The palette role that plays each classic system colour on this desktop.
struct RoleOf {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr RoleOf kRoles[kSystemColorCount] = {
    {QPalette::Active, QPalette::Button}, // 0 scroll bar
    {QPalette::Active, QPalette::Dark}, // 1 desktop
    {QPalette::Active, QPalette::Highlight}, // 2 active caption
    {QPalette::Inactive, QPalette::Mid}, // 3 inactive caption
    {QPalette::Active, QPalette::Window}, // 4 menu
    {QPalette::Active, QPalette::Base}, // 5 window
    {QPalette::Active, QPalette::Shadow}, // 6 window frame
    {QPalette::Active, QPalette::WindowText}, // 7 menu text
    {QPalette::Active, QPalette::Text}, // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Window}, // 10 active border
    {QPalette::Inactive, QPalette::Window}, // 11 inactive border
    {QPalette::Active, QPalette::Mid}, // 12 application workspace
    {QPalette::Active, QPalette::Highlight}, // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlighted text
    {QPalette::Active, QPalette::Button}, // 15 button face
    {QPalette::Active, QPalette::Dark}, // 16 button shadow
    {QPalette::Disabled, QPalette::Text}, // 17 grey text
    {QPalette::Active, QPalette::ButtonText}, // 18 button text
    {QPalette::Inactive, QPalette::WindowText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light}, // 20 button highlight
    {QPalette::Active, QPalette::Shadow}, // 21 dark shadow
    {QPalette::Active, QPalette::Midlight}, // 22 light
    {QPalette::Active, QPalette::ToolTipText}, // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase}, // 24 tooltip background
};

} // namespace

raster::ColorRef PaletteSystemColors::color(int index) const {
    if (index < 0 || index >= kSystemColorCount) return 0;
    const QPalette palette = QApplication::palette();
    return toColorRef(palette.color(kRoles[index].group, kRoles[index].role));
}

} // namespace kavi
