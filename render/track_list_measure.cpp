// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/track_list_measure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace kavi {

MeasureTrackLine trackLineMeasure(const TextStyle& style) {
    return [style](const std::string& line, double sizePoints) {
        QFont font(QString::fromStdString(style.family));
        font.setPointSizeF(std::clamp(sizePoints, 1.0, kLargestTextPoints));
        font.setBold(style.bold);
        font.setItalic(style.italic);
        font.setHintingPreference(QFont::PreferNoHinting); // sizes scale exactly with the resolution
        const QFontMetricsF metrics(font);
        // The layout's units follow the font's resolution; the fitting works in points.
        const double unitsPerPoint = metrics.fontDpi() / 72;
        QTextLayout layout(QString::fromStdString(line), font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap); // one line, never wrapped
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine text = layout.createLine();
        double width = 0;
        if (text.isValid()) {
            text.setLineWidth(1e6);
            width = text.naturalTextWidth();
        }
        layout.endLayout();
        return MeasuredLine{Length::fromPoints(width / unitsPerPoint),
                            Length::fromPoints(metrics.lineSpacing() / unitsPerPoint)};
    };
}

} // namespace kavi
