// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's per-cover commands: the user's fit choice, how the window follows the cover
// document (the recovery copy, the unsaved flag, the paper menu, a damaged picture's notice), and
// saving the showing cover's picture as an image file.
#include "app/main_window.h"

#include "app/cover_page_view.h"
#include "app/cover_picture_saving.h"
#include "app/dialog_folders.h"
#include "app/folder_list.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "output/scan/image_file_writer.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>

namespace kavi {

void MainWindow::cboFit_Click(int n) {
    const int index = cboFit(n)->currentIndex();
    const FitMode chosen = CoverPageView::fitAt(index);
    if (chosen == fitMode(n)) return;
    document_.setFitMode(Kind(n), chosen);
    emit fitModeChanged(n);
}

FitMode MainWindow::fitMode(int n) const { return document_.fitMode(Kind(n)); }

void MainWindow::setFitMode(int n, FitMode mode) { document_.setFitMode(Kind(n), mode, CoverDocument::Unsaved::Keep); }

void MainWindow::documentChanged(std::optional<Kind> kind, CoverDocument::What what) {
    using What = CoverDocument::What;
    switch (what) {
    case What::Fit:
    case What::Ticks:
    case What::Picture:
    case What::Text:
    case What::Disc:
    case What::DiscStock:
    case What::Design: return coversChanged();
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
void MainWindow::announceDamagedPicture(Kind kind) {
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
void MainWindow::updateSaveCoverPicture() {
    if (!saveCoverPicture_) {
        saveCoverPicture_ = File->findChild<QAction*>(QStringLiteral("SaveCoverPictureAs"));
        if (!saveCoverPicture_) return;
        connect(File, &QMenu::aboutToShow, this, [this] { updateSaveCoverPicture(); });
    }
    const int tab = SSTab1->currentIndex();
    saveCoverPicture_->setEnabled(tab >= 0 && tab < kCoverKindCount && document_.picture(Kind(tab + 1)).hasPicture());
}

// Writes the showing cover's picture, with its accepted edits, to an image file.
void MainWindow::SaveCoverPictureAs_Click() {
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
                                    .arg(QString::fromUtf8(Kind(tab + 1).row().checkCaption)),
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
