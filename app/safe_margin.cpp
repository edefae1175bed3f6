// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/safe_margin.h"

#include "covers/cover_kinds.h"
#include "covers/cover_text.h"

namespace kavi {

LengthRect safeRectOf(int kind, Length margin) {
    const LengthSize size = coverKind(kind).printSize;
    return {margin, margin, size.width - margin * 2, size.height - margin * 2};
}

std::vector<Length> foldsOf(int kind) {
    if (!hasSpine(kind)) return {};
    const Length middle = coverKind(kind).printSize.width / 2, half = spineWidthOf(kind) / 2;
    return {middle - half, middle + half};
}

SafeAreaCrossing safeAreaCrossing(int kind, const LengthRect& ink, Length margin) {
    SafeAreaCrossing crossing;
    if (ink.width <= Length() || ink.height <= Length()) return crossing;
    const LengthRect safe = safeRectOf(kind, margin);
    crossing.pastSafeLine =
        ink.left < safe.left || ink.top < safe.top || ink.right() > safe.right() || ink.bottom() > safe.bottom();
    for (Length fold : foldsOf(kind))
        if (ink.left < fold && ink.right() > fold) crossing.acrossFold = true;
    return crossing;
}

} // namespace kavi
