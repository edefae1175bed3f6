#pragma once
// The print command: every ticked cover kind goes to the printer at its real size, in one job.
#include "cover_kinds.h"
#include "platform.h"

#include <QImage>

#include <array>

class QPushButton;

namespace kavi {

// What the print command reads from the main window: the ten "Print Options" ticks and the
// pictures of the ten slots (index 0 is kind 1).
struct PrintSelection {
    KindFlags ticked{};
    std::array<QImage, 10> pictures;
};

// The print command (the "Print" button): names the ticked covers that have no picture (they are
// left out, the others keep their places), asks the paper question, then drives the printer object
// through the steps of the page plan. A failing step is skipped. When no printer can be used, says
// why and offers to save the same job as a PDF file.
void printCovers(Platform& platform, const PrintSelection& selection);

// The print request of the menu and toolbar: presses cmdPrint when it is enabled, otherwise says
// that nothing is selected.
void requestPrint(Platform& platform, QPushButton& cmdPrint);

} // namespace kavi
