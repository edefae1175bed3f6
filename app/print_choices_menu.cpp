// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/print_choices_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace kavi {

PrintChoicesMenu::PrintChoicesMenu(QMenu* paperMenu, std::function<PrintChoices()> current,
                                   std::function<void(const PrintChoices&)> choose)
    : QObject(paperMenu), current_(std::move(current)), choose_(std::move(choose)) {
    QActionGroup* group = nullptr;
    const auto add = [&](const char* name, const QString& caption, std::function<void(PrintChoices&)> edit) {
        QAction* action = paperMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        if (group) group->addAction(action);
        connect(action, &QAction::triggered, this, [this, edit] { change(edit); });
        return action;
    };
    const auto section = [&](const QString& caption) {
        paperMenu->addSection(caption);
        group = new QActionGroup(paperMenu);
    };
    section(QStringLiteral("Place covers"));
    PlaceCorner = add("PlaceCorner", QStringLiteral("At the printable &corner (as always)"),
                      [](PrintChoices& c) { c.placement = Placement::AtPrintableCorner; });
    PlaceCentred = add("PlaceCentred", QStringLiteral("Centred on the &sheet"),
                       [](PrintChoices& c) { c.placement = Placement::CentredOnSheet; });
    PlaceForMarks = add("PlaceForMarks", QStringLiteral("At the printable corner, &moved in for cut marks"),
                        [](PrintChoices& c) { c.placement = Placement::MovedInForMarks; });
    section(QStringLiteral("HD-DVD and Blu-Ray on"));
    HdOnLetter = add("HdOnLetter", QStringLiteral("Le&tter (as always)"),
                     [](PrintChoices& c) { c.sheets.hdAndBluRay = LongCaseSheet::Letter; });
    HdOnLegal = add("HdOnLegal", QStringLiteral("Le&gal"),
                    [](PrintChoices& c) { c.sheets.hdAndBluRay = LongCaseSheet::Legal; });
    section(QStringLiteral("DS on A4"));
    DsOnA4 =
        add("DsOnA4", QStringLiteral("A&4 (as always)"), [](PrintChoices& c) { c.sheets.dsOnA4 = DsSheetOnA4::A4; });
    DsOnLegal =
        add("DsOnLegal", QStringLiteral("L&egal"), [](PrintChoices& c) { c.sheets.dsOnA4 = DsSheetOnA4::Legal; });
    section(QStringLiteral("Bleed past the cut line"));
    BleedOff = add("BleedOff", QStringLiteral("&No bleed (as always)"), [](PrintChoices& c) { c.bleed = Bleed::Off; });
    Bleed2mm = add("Bleed2mm", QStringLiteral("&2 mm bleed"), [](PrintChoices& c) { c.bleed = Bleed::TwoMillimetres; });
    Bleed3mm =
        add("Bleed3mm", QStringLiteral("&3 mm bleed"), [](PrintChoices& c) { c.bleed = Bleed::ThreeMillimetres; });
    paperMenu->addSeparator();
    group = nullptr;
    CoversTogether = add("CoversTogether", QStringLiteral("&Put covers that fit together on one sheet"),
                         [this](PrintChoices& c) { c.together = CoversTogether->isChecked(); });
}

void PrintChoicesMenu::show(const PrintChoices& c) {
    // Setting a check does not trigger the action, so nothing is chosen again here.
    PlaceCorner->setChecked(c.placement == Placement::AtPrintableCorner);
    PlaceCentred->setChecked(c.placement == Placement::CentredOnSheet);
    PlaceForMarks->setChecked(c.placement == Placement::MovedInForMarks);
    HdOnLetter->setChecked(c.sheets.hdAndBluRay == LongCaseSheet::Letter);
    HdOnLegal->setChecked(c.sheets.hdAndBluRay == LongCaseSheet::Legal);
    DsOnA4->setChecked(c.sheets.dsOnA4 == DsSheetOnA4::A4);
    DsOnLegal->setChecked(c.sheets.dsOnA4 == DsSheetOnA4::Legal);
    CoversTogether->setChecked(c.together);
    BleedOff->setChecked(c.bleed == Bleed::Off);
    Bleed2mm->setChecked(c.bleed == Bleed::TwoMillimetres);
    Bleed3mm->setChecked(c.bleed == Bleed::ThreeMillimetres);
}

void PrintChoicesMenu::change(const std::function<void(PrintChoices&)>& edit) {
    PrintChoices choices = current_();
    edit(choices);
    choose_(choices);
}

} // namespace kavi
