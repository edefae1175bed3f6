// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's per-cover controls beyond the picture: the fit control on each cover tab, the
// "Print Options" boxes as the document's ticks, how the controls follow the document, and saving
// the showing cover's picture as an image file.
#include "frmcovercreator.h"

#include "cgdiplus.h"
#include "cover_kinds.h"
#include "cover_picture_saving.h"
#include "dialog_folders.h"
#include "folder_list.h"
#include "picture_slot.h"
#include "tab_strip.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace kavi {

namespace {

constexpr FitMode kFitChoices[] = {FitMode::Stretch, FitMode::Fill, FitMode::Fit};
const char* const kFitCaptions[] = {"Stretch", "Fill", "Fit"};

int indexOfFit(FitMode mode) {
    for (int i = 0; i < 3; ++i)
        if (kFitChoices[i] == mode) return i;
    return 0;
}

} // namespace

// The control lies in a band along the bottom of the slot's frame, at its right end; the cover is
// drawn above the band, so the control never covers the picture.
void frmcovercreator::buildFitControl(int n, const QRect& slotInStrip) {
    QWidget* page = Image(n)->parentWidget();
    auto* box = new QComboBox(page);
    box->setObjectName(QStringLiteral("cboFit%1").arg(n));
    for (const char* caption : kFitCaptions) box->addItem(QString::fromUtf8(caption));
    box->setToolTip(QStringLiteral("How the picture fills the cover: Stretch it to the cover's shape, Fill the "
                                   "cover keeping the picture's proportions (the overflow is cut off), or Fit the "
                                   "whole picture inside it (the rest stays paper)."));
    auto* label = new QLabel(QStringLiteral("Picture:"), page);
    label->setObjectName(QStringLiteral("lblFit%1").arg(n));
    label->setBuddy(box);

    const QSize size(box->sizeHint().width() + 4, box->sizeHint().height());
    const QRect at(slotInStrip.right() - 4 - size.width() + 1, slotInStrip.bottom() - 2 - size.height() + 1,
                   size.width(), size.height());
    const int labelWidth = label->sizeHint().width();
    SSTab1->place(box, at);
    SSTab1->place(label, QRect(at.left() - 4 - labelWidth, at.top(), labelWidth, at.height()));
    Image(n)->setBottomBand(size.height() + 4);
    connect(box, &QComboBox::activated, this, [this, n] { cboFit_Click(n); });
    fitBoxes_[Kind(n)] = box;
}

void frmcovercreator::cboFit_Click(int n) {
    const int index = cboFit(n)->currentIndex();
    const FitMode chosen = kFitChoices[index < 0 || index > 2 ? 0 : index];
    if (chosen == fitMode(n)) return;
    document_.setFitMode(Kind(n), chosen);
    emit fitModeChanged(n);
}

FitMode frmcovercreator::fitMode(int n) const { return document_.fitMode(Kind(n)); }

void frmcovercreator::setFitMode(int n, FitMode mode) {
    document_.setFitMode(Kind(n), mode, CoverDocument::Unsaved::Keep);
}

void frmcovercreator::documentChanged(std::optional<Kind> kind, CoverDocument::What what) {
    using What = CoverDocument::What;
    switch (what) {
    case What::Fit: {
        const QSignalBlocker block(cboFit(kind->number()));
        cboFit(kind->number())->setCurrentIndex(indexOfFit(document_.fitMode(*kind)));
        return coversChanged();
    }
    case What::Ticks:
    case What::Picture:
    case What::Text: return coversChanged();
    case What::PictureDamaged: return announceDamagedPicture(*kind);
    case What::PrintLayout: return showPrintLayout();
    case What::Unsaved:
        if (!adoptingCopy_) unsavedWorkChanged();
        return;
    case What::PictureDecoded: return;
    }
}

// A picture is decoded when first needed; one that does not decode then is told, once the paint or
// print that needed it is over.
void frmcovercreator::announceDamagedPicture(Kind kind) {
    QMetaObject::invokeMethod(
        this,
        [this, kind] {
            ShowNotice(QStringLiteral("The picture of the %1 cover in the opened cover set is damaged; the cover "
                                      "shows no picture.")
                           .arg(QString::fromUtf8(kind.row().checkCaption)));
        },
        Qt::QueuedConnection);
}

// Enabled on a cover tab whose cover has a picture; the File menu asks each time it opens.
void frmcovercreator::updateSaveCoverPicture() {
    if (!saveCoverPicture_) {
        saveCoverPicture_ = File->findChild<QAction*>(QStringLiteral("SaveCoverPictureAs"));
        if (!saveCoverPicture_) return;
        connect(File, &QMenu::aboutToShow, this, [this] { updateSaveCoverPicture(); });
    }
    const int tab = SSTab1->currentIndex();
    saveCoverPicture_->setEnabled(tab >= 0 && tab < kCoverKindCount && document_.picture(Kind(tab + 1)).hasPicture());
}

// Writes the showing cover's picture, with its accepted edits, to an image file.
void frmcovercreator::SaveCoverPictureAs_Click() {
    const int tab = SSTab1->currentIndex();
    const QString title = QStringLiteral("Save Cover Picture");
    if (tab < 0 || tab >= kCoverKindCount) {
        platform.messages.show({QStringLiteral("Save Cover Picture As saves the picture of the cover whose tab is "
                                               "showing. The scanned picture is saved with the Save button of the "
                                               "Scan tab."),
                                title, MsgIcon::Information, MsgButtons::Ok});
        return;
    }
    const QImage picture = document_.pixels(Kind(tab + 1));
    if (picture.isNull()) {
        platform.messages.show({QStringLiteral("The %1 cover has no picture to save yet.")
                                    .arg(QString::fromUtf8(kCoverKinds[std::size_t(tab)].checkCaption)),
                                title, MsgIcon::Information, MsgButtons::Ok});
        return;
    }
    CoverPictureSaveRequest save;
    save.picture = picture;
    save.startFolder = dialogStartFolder(settingsFile, DialogFileKind::CoverPictures, dirSelect->path());
    save.writer = gdip.get();
    save.fileExists = [this](const QString& name) { return FileExists(name); };
    rememberDialogFolder(settingsFile, DialogFileKind::CoverPictures, saveCoverPicture(platform, save));
}

} // namespace kavi
