// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/print_choices_settings.h"

#include "platform/files/profile.h"

namespace kavi {

namespace {

const QString kSection = QStringLiteral("PRINT LAYOUT");
const QString kPlacementKey = QStringLiteral("Placement");
const QString kHdSheetKey = QStringLiteral("HdBluRaySheet");
const QString kDsSheetKey = QStringLiteral("DsSheetOnA4");
const QString kTogetherKey = QStringLiteral("Together");
const QString kPrintToKey = QStringLiteral("PrintTo");
const QString kBleedKey = QStringLiteral("Bleed");
constexpr int kValueBuffer = 256;
const QString kMissing = QStringLiteral("\x01");

QString read(const QString& key, const QString& file) {
    return profile::getString(kSection, key, QString(), kValueBuffer, file).trimmed();
}

bool isLegal(const QString& value) { return value.compare(QStringLiteral("Legal"), Qt::CaseInsensitive) == 0; }

// Writes the value unless it is the default and the file has no value for the key yet.
bool writeChoice(const QString& file, const QString& key, const QString& value, bool isDefault) {
    if (isDefault && profile::getString(kSection, key, kMissing, kValueBuffer, file) == kMissing) return true;
    return profile::writeString(kSection, key, value, file);
}

} // namespace

QString placementWord(Placement placement) {
    switch (placement) {
    case Placement::AtPrintableCorner: return QStringLiteral("corner");
    case Placement::CentredOnSheet: return QStringLiteral("centre");
    case Placement::MovedInForMarks: return QStringLiteral("marks");
    }
    return {};
}

std::optional<Placement> placementOfWord(const QString& word) {
    for (Placement p : {Placement::AtPrintableCorner, Placement::CentredOnSheet, Placement::MovedInForMarks})
        if (word.compare(placementWord(p), Qt::CaseInsensitive) == 0) return p;
    if (word.compare(QStringLiteral("center"), Qt::CaseInsensitive) == 0) return Placement::CentredOnSheet;
    return std::nullopt;
}

PrintChoices readPrintChoices(const QString& settingsFile) {
    PrintChoices choices;
    choices.placement = placementOfWord(read(kPlacementKey, settingsFile)).value_or(Placement::AtPrintableCorner);
    if (isLegal(read(kHdSheetKey, settingsFile))) choices.sheets.hdAndBluRay = LongCaseSheet::Legal;
    if (isLegal(read(kDsSheetKey, settingsFile))) choices.sheets.dsOnA4 = DsSheetOnA4::Legal;
    choices.together = read(kTogetherKey, settingsFile) == QStringLiteral("1");
    choices.bleed = bleedOfWord(read(kBleedKey, settingsFile)).value_or(Bleed::Off);
    return choices;
}

bool writePrintChoices(const QString& settingsFile, const PrintChoices& choices) {
    const bool hdLegal = choices.sheets.hdAndBluRay == LongCaseSheet::Legal;
    const bool dsLegal = choices.sheets.dsOnA4 == DsSheetOnA4::Legal;
    return writeChoice(settingsFile, kPlacementKey, placementWord(choices.placement),
                       choices.placement == Placement::AtPrintableCorner) &&
        writeChoice(settingsFile, kHdSheetKey, hdLegal ? QStringLiteral("Legal") : QStringLiteral("Letter"),
                    !hdLegal) &&
        writeChoice(settingsFile, kDsSheetKey, dsLegal ? QStringLiteral("Legal") : QStringLiteral("A4"), !dsLegal) &&
        writeChoice(settingsFile, kTogetherKey, choices.together ? QStringLiteral("1") : QStringLiteral("0"),
                    !choices.together) &&
        writeChoice(settingsFile, kBleedKey, bleedWord(choices.bleed), choices.bleed == Bleed::Off);
}

QString bleedWord(Bleed bleed) { return QString::number(bleedMillimetres(bleed)); }

std::optional<Bleed> bleedOfWord(const QString& word) {
    bool isNumber = false;
    const int millimetres = word.trimmed().toInt(&isNumber);
    if (!isNumber) return std::nullopt;
    return bleedOfMillimetres(millimetres);
}

QString readPrintToQueue(const QString& settingsFile) { return read(kPrintToKey, settingsFile); }

bool writePrintToQueue(const QString& settingsFile, const QString& queue) {
    return profile::writeString(kSection, kPrintToKey, queue, settingsFile);
}

} // namespace kavi
