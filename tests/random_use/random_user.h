// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A user who does random things to Kavi's real windows: clicks on buttons, menu entries, tabs,
// check boxes and lists, key presses, picture picks (bad files among them), the Manipulator and its
// filters, the printer chooser, popups, the tray, and Exit followed by a new start on the same
// settings. Every answer a window asks for (message boxes, the save dialog, modal windows) is given
// at random too. After every step the workspace is checked; the first broken rule ends the run.
#include <QString>
#include <QStringList>

#include <cstdint>

namespace kavi::testing {

struct RandomUseReport {
    int steps = 0; // steps taken
    int restarts = 0; // Exit followed by a new main window
    int modalSteps = 0; // steps taken inside a modal window
    int picks = 0; // files picked into a cover
    int accepts = 0; // Manipulator results accepted into a cover
    int messageBoxes = 0; // message boxes answered
    QString failure; // empty when every check held; otherwise what broke, with the last steps
};

// Runs `steps` steps with the given seed in a fresh folder under `workFolder` (settings, pictures,
// saved files). The same seed takes the same steps.
RandomUseReport runRandomUse(std::uint32_t seed, int steps, const QString& workFolder);

} // namespace kavi::testing
