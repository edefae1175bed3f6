// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print choices in the Paper menu, below the paper: where covers are placed, the sheet of
// HD-DVD and Blu-Ray and of DS on A4, the bleed past the cut line, and covers put together. It shows the choices it is
// given and hands each change to the window, which keeps it in the document and the settings file.
#include "covers/print_choices.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace kavi {

class PrintChoicesMenu : public QObject {
public:
    PrintChoicesMenu(QMenu* paperMenu, std::function<PrintChoices()> current,
                     std::function<void(const PrintChoices&)> choose);

    void show(const PrintChoices& choices);

    QAction* PlaceCorner;
    QAction* PlaceCentred;
    QAction* PlaceForMarks;
    QAction* HdOnLetter;
    QAction* HdOnLegal;
    QAction* DsOnA4;
    QAction* DsOnLegal;
    QAction* BleedOff;
    QAction* Bleed2mm;
    QAction* Bleed3mm;
    QAction* CoversTogether;

private:
    void change(const std::function<void(PrintChoices&)>& edit);

    std::function<PrintChoices()> current_;
    std::function<void(const PrintChoices&)> choose_;
};

} // namespace kavi
