// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/calibrate_printer.h"

#include "covers/calibration_page.h"
#include "output/print/print_layout_settings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <optional>

namespace kavi {

namespace {

const QString kTitle = QStringLiteral("Calibrate Printer");

QString orientationName(Orientation orientation) {
    return orientation == Orientation::Portrait ? QStringLiteral("upright") : QStringLiteral("sideways");
}

std::size_t indexOf(Orientation orientation) { return orientation == Orientation::Portrait ? 0 : 1; }

// One calibration page as the printer object draws it: from the printable corner.
void drawCalibrationPage(PrinterObject& printer, Paper paper, Orientation orientation) {
    const LengthSize sheet = sheetSize(paper, orientation);
    const LengthRect printable =
        printer.printableArea(paper, orientation).value_or(LengthRect{Length{}, Length{}, sheet.width, sheet.height});
    for (const MarkLine& line : calibrationPageLines(paper, orientation, printable))
        printer.drawLine(fromPrintableCorner(line.from, printable), fromPrintableCorner(line.to, printable),
                         kMarkWidth);
}

QLineEdit* millimetreBox(QWidget* parent, const QString& name, double expected) {
    auto* box = new QLineEdit(QString::number(expected), parent);
    box->setObjectName(name);
    box->setMaxLength(16);
    return box;
}

// The number of millimetres typed in a box ("99.5", "99,5" where that is the decimal sign, with or
// without "mm"); none for a blank or anything else.
std::optional<double> millimetresIn(const QLineEdit& box) {
    QString text = box.text().trimmed();
    if (text.endsWith(QStringLiteral("mm"), Qt::CaseInsensitive)) text.chop(2);
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok) value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

Paper calibrationPaper(PaperChoice choice) { return choice == PaperChoice::A4 ? Paper::A4 : Paper::Letter; }

bool printCalibrationJob(PrinterObject& printer, PaperChoice choice) {
    const Paper paperBefore = printer.paperSize();
    const Orientation orientationBefore = printer.orientation();
    const Paper paper = calibrationPaper(choice);
    printer.setPaperSize(paper);
    printer.setOrientation(Orientation::Portrait);
    drawCalibrationPage(printer, paper, Orientation::Portrait);
    // A new page takes the orientation set before it.
    printer.setOrientation(Orientation::Landscape);
    printer.newPage();
    drawCalibrationPage(printer, paper, Orientation::Landscape);
    const bool sent = printer.endDocument();
    printer.setPaperSize(paperBefore);
    printer.setOrientation(orientationBefore);
    return sent;
}

CalibrationWindow::CalibrationWindow(Platform& platform, QString settingsFile, QString queue, QWidget* parent)
    : QDialog(parent), platform_(platform), settingsFile_(std::move(settingsFile)), queue_(std::move(queue)) {
    setObjectName(QStringLiteral("CalibrationWindow"));
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Measure the two calibration pages sent to %1 with a ruler, in millimetres. Hold each sheet "
                       "so that its rulers run along its top and left edges, then measure the square and how far "
                       "its top-left corner lies from the paper's left and top edges.")
            .arg(queue_),
        this);
    intro->setObjectName(QStringLiteral("lblIntro"));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    const CalibrationMeasurement expected;
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        const QString which =
            orientation == Orientation::Portrait ? QStringLiteral("Portrait") : QStringLiteral("Landscape");
        auto* group =
            new QGroupBox(QStringLiteral("The %1 page (%2)").arg(orientationName(orientation), which.toLower()), this);
        group->setObjectName(QStringLiteral("fra") + which);
        auto* grid = new QGridLayout(group);
        MeasurementBoxes& b = boxes[indexOf(orientation)];
        b.squareWidth = millimetreBox(group, QStringLiteral("txt%1Width").arg(which), expected.squareWidth);
        b.squareHeight = millimetreBox(group, QStringLiteral("txt%1Height").arg(which), expected.squareHeight);
        b.cornerLeft = millimetreBox(group, QStringLiteral("txt%1Left").arg(which), expected.cornerLeft);
        b.cornerTop = millimetreBox(group, QStringLiteral("txt%1Top").arg(which), expected.cornerTop);
        const std::pair<const char*, QLineEdit*> rows[] = {{"Square width:", b.squareWidth},
                                                           {"Square height:", b.squareHeight},
                                                           {"Corner from the left edge:", b.cornerLeft},
                                                           {"Corner from the top edge:", b.cornerTop}};
        int row = 0;
        for (const auto& [caption, box] : rows) {
            grid->addWidget(new QLabel(QString::fromUtf8(caption), group), row, 0);
            grid->addWidget(box, row, 1);
            grid->addWidget(new QLabel(QStringLiteral("mm"), group), row++, 2);
        }
        layout->addWidget(group);
    }

    auto* buttons = new QHBoxLayout;
    cmdReset = new QPushButton(QStringLiteral("&Reset"), this);
    cmdReset->setObjectName(QStringLiteral("cmdReset"));
    cmdReset->setToolTip(QStringLiteral("Print on this printer without any correction again"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdReset);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &CalibrationWindow::cmdOK_Click);
    connect(cmdReset, &QPushButton::clicked, this, &CalibrationWindow::cmdReset_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalibrationMeasurement CalibrationWindow::measurement(Orientation orientation) const {
    const MeasurementBoxes& b = boxes[indexOf(orientation)];
    const auto value = [](const QLineEdit* box) {
        return millimetresIn(*box).value_or(std::numeric_limits<double>::quiet_NaN());
    };
    return {value(b.squareWidth), value(b.squareHeight), value(b.cornerLeft), value(b.cornerTop)};
}

QString CalibrationWindow::measurementProblem(Orientation orientation) const {
    const MeasurementBoxes& b = boxes[indexOf(orientation)];
    const std::pair<const char*, const QLineEdit*> named[] = {{"square width", b.squareWidth},
                                                              {"square height", b.squareHeight},
                                                              {"corner's distance from the left edge", b.cornerLeft},
                                                              {"corner's distance from the top edge", b.cornerTop}};
    for (const auto& [what, box] : named) {
        if (box->text().trimmed().isEmpty())
            return QStringLiteral("The %1 is empty: enter what you measured, in millimetres.").arg(what);
        if (!millimetresIn(*box))
            return QStringLiteral("The %1 \"%2\" is not a number of millimetres.").arg(what, box->text().trimmed());
    }
    return QString::fromStdString(measurement(orientation).problem());
}

void CalibrationWindow::cmdOK_Click() {
    std::array<Calibration, 2> corrections;
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        QString problem = measurementProblem(orientation);
        if (problem.isEmpty()) {
            corrections[indexOf(orientation)] = correctionFor(measurement(orientation));
            problem = QString::fromStdString(corrections[indexOf(orientation)].problem()); // never, by its ranges
        }
        if (problem.isEmpty()) continue;
        platform_.messages.show({QStringLiteral("The measurements of the %1 page cannot be used: %2\n\nKavi corrects "
                                                "offsets of up to %3 mm and scales of %4 to %5%. Please check the "
                                                "measurements; nothing has been changed.")
                                     .arg(orientationName(orientation), problem)
                                     .arg(Calibration::kMaxOffsetMillimetres)
                                     .arg(Calibration::kMinScalePercent)
                                     .arg(Calibration::kMaxScalePercent),
                                 kTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First});
        return;
    }
    if (!store(corrections[0], corrections[1])) return;
    outcome_ = Outcome::Saved;
    accept();
}

void CalibrationWindow::cmdReset_Click() {
    if (!store(Calibration{}, Calibration{})) return;
    outcome_ = Outcome::Reset;
    accept();
}

bool CalibrationWindow::store(const Calibration& portrait, const Calibration& landscape) {
    if (writeCalibration(settingsFile_, queue_, Orientation::Portrait, portrait) &&
        writeCalibration(settingsFile_, queue_, Orientation::Landscape, landscape))
        return true;
    platform_.messages.show({QStringLiteral("The calibration could not be saved in %1. Check that the file can be "
                                            "written to.")
                                 .arg(settingsFile_),
                             kTitle, MsgIcon::Critical, MsgButtons::Ok, MsgDefault::First});
    return false;
}

} // namespace kavi
