// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Calibrate Printer...": one job of the calibration page, upright and sideways, and the window
// that takes what the user measured on paper and keeps the queue's corrections.
#include "platform/platform.h"

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;

namespace kavi {

struct Calibration;
struct CalibrationMeasurement;

// The sheet the calibration page is printed on for the paper choice: Letter, or A4.
Paper calibrationPaper(PaperChoice choice);

// Sends one job of two calibration pages, portrait then landscape, drawn with no calibration,
// from the printer's printable corner. The printer's paper size and orientation are put back
// afterwards. True when the job was handed over.
bool printCalibrationJob(PrinterObject& printer, PaperChoice choice);

// Asks, for each orientation, the measured square and its corner's distances from the paper's
// edges (prefilled with what they should be). OK stores the corrections of both orientations
// for the queue, or refuses, naming the measured value and its range, when one is blank, not a
// number or out of range; Reset stores none.
class CalibrationWindow : public QDialog {
    Q_OBJECT
public:
    CalibrationWindow(Platform& platform, QString settingsFile, QString queue, QWidget* parent = nullptr);

    enum class Outcome { Nothing, Saved, Reset };
    Outcome outcome() const { return outcome_; }

    // Text boxes, so that what the user typed is checked as typed (a blank or a word is refused,
    // never silently replaced by the last number).
    struct MeasurementBoxes {
        QLineEdit* squareWidth;
        QLineEdit* squareHeight;
        QLineEdit* cornerLeft;
        QLineEdit* cornerTop;
    };
    // Portrait first, then landscape.
    std::array<MeasurementBoxes, 2> boxes{};
    QPushButton* cmdOK;
    QPushButton* cmdReset;
    QPushButton* cmdCancel;

    // What the boxes hold; a box that holds no number gives NaN.
    CalibrationMeasurement measurement(Orientation orientation) const;
    // Empty when the orientation's boxes hold usable measurements; otherwise the sentence saying
    // which box does not, and why.
    QString measurementProblem(Orientation orientation) const;
    void cmdOK_Click();
    void cmdReset_Click();

private:
    bool store(const Calibration& portrait, const Calibration& landscape);

    Platform& platform_;
    QString settingsFile_;
    QString queue_;
    Outcome outcome_ = Outcome::Nothing;
};

} // namespace kavi
