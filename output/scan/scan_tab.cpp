// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/scan/scan_tab.h"

#include "output/scan/bmp_writer.h"
#include "platform/files/program_folder.h"
#include "platform/imaging/picture_loader.h"

#include <QFile>
#include <QPushButton>
#include <QTabWidget>

namespace kavi {

namespace {

struct TwipsRect {
    int left, top, width, height;
};
// Positions inside the tab strip, in twips.
constexpr TwipsRect kImage20{120, 480, 6495, 3615};
constexpr TwipsRect kSource{1320, 4260, 1215, 495};
constexpr TwipsRect kAquire{2760, 4260, 1215, 495};
constexpr TwipsRect kSave{4200, 4260, 1215, 495};
constexpr TwipsRect kPicture3{0, 0, 375, 495};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    return b;
}

} // namespace

ScanTab::ScanTab(Platform& platform, WriterAccess imageWriter, FileCheck fileExists, QWidget* parent)
    : QWidget(parent), Image20(new StretchedPicture(this)),
      cmdSource(makeButton(this, "cmdSource", "Source", "Select Scanner Source")),
      cmdAquire(makeButton(this, "cmdAquire", "Aquire", "Aquire Image")),
      cmdSave(makeButton(this, "cmdSave", "Save", "Save Image")), Picture3(new StretchedPicture(this)),
      platform_(platform), imageWriter_(std::move(imageWriter)), fileExists_(std::move(fileExists)) {
    setObjectName("ScanTabControls");
    Image20->setObjectName("Image20");
    Image20->setToolTip("Scanned Picture");
    Picture3->setObjectName("Picture3");
    Picture3->setVisible(false);
    connect(cmdSource, &QPushButton::clicked, this, &ScanTab::cmdSource_Click);
    connect(cmdAquire, &QPushButton::clicked, this, &ScanTab::cmdAquire_Click);
    connect(cmdSave, &QPushButton::clicked, this, &ScanTab::cmdSave_Click);
    placeControls();
}

QString ScanTab::scanFilePath() { return inProgramFolder(QStringLiteral("temp.bmp")); }

void ScanTab::showEvent(QShowEvent* event) {
    placeControls();
    QWidget::showEvent(event);
}

void ScanTab::resizeEvent(QResizeEvent* event) {
    placeControls();
    QWidget::resizeEvent(event);
}

void ScanTab::moveEvent(QMoveEvent* event) {
    placeControls();
    QWidget::moveEvent(event);
}

// The positions are given inside the tab strip; on a page of a tab widget they are moved up by
// the page's own offset in the strip (its tab row), so they land where the strip puts them.
void ScanTab::placeControls() {
    QPoint offset(0, 0);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            offset = mapTo(tabs, QPoint(0, 0));
            break;
        }
    const auto place = [&](QWidget* w, const TwipsRect& r) {
        const QRect inStrip = platform_.screen.rect(r.left, r.top, r.width, r.height);
        w->setGeometry(inStrip.translated(-offset));
    };
    place(Image20, kImage20);
    place(cmdSource, kSource);
    place(cmdAquire, kAquire);
    place(cmdSave, kSave);
    place(Picture3, kPicture3);
}

void ScanTab::cmdSource_Click() { platform_.scanner.selectImageSource(window()); }

void ScanTab::cmdAquire_Click() {
    const QString path = scanFilePath();
    const auto failed = [this] {
        platform_.messages.show(
            {"Unable to aquire image!", "Unable to aquire image!", MsgIcon::Critical, MsgButtons::Ok});
    };
    if (platform_.scanner.acquireToFilename(window(), path) != 0) {
        failed();
        return;
    }
    QImage picture = loadPicture(path);
    if (picture.isNull()) {
        // Reported as scanned but unreadable: the previous picture stays and the useless file goes.
        QFile::remove(path);
        failed();
        return;
    }
    Image20->setPicture(std::move(picture));
    // A file that cannot be deleted is overwritten by the next scan; the picture is kept.
    QFile::remove(path);
}

void ScanTab::showSaveResult(bool saved) {
    if (saved) platform_.messages.show({"File Saved", "Sucessfully saved file.", MsgIcon::Information, MsgButtons::Ok});
    else platform_.messages.show({"File Not Saved", "Unable to save file.", MsgIcon::Critical, MsgButtons::Ok});
}

void ScanTab::cmdSave_Click() { savePicture(Image20->picture()); }

void ScanTab::savePicture(const QImage& picture) {
    Picture3->setPicture(picture);

    SaveDialogRequest request;
    request.title = "Save";
    request.filters = {"BMP (*.BMP *.bmp)", "GIF (*.GIF *.gif)", "JPG (*.JPG *.jpg)", "PNG (*.PNG *.png)",
                       "TIF (*.TIF *.tif)"};
    request.defaultSuffix.clear(); // the name is taken exactly as typed
    request.confirmOverwrite = false; // the only question is ours, below
    const SaveDialogResult chosen = platform_.saveDialog.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) {
        showSaveResult(false); // Cancel counts as a failure
        return;
    }
    const QString& fileName = chosen.fileName;

    if (fileExists_ && fileExists_(fileName)) {
        const MsgResult answer =
            platform_.messages.show({fileName + " " + "already exists. Do you want to replace this file?",
                                     "File Already Exists", MsgIcon::None, MsgButtons::YesNo});
        if (answer != MsgResult::Yes) return;
    }

    if (fileName.right(3) == QLatin1String("BMP")) {
        showSaveResult(savePictureAsBmp(Picture3->picture(), fileName));
        return;
    }
    ImageFileWriter* writer = imageWriter_ ? imageWriter_() : nullptr;
    showSaveResult(writer && writer->PictureBoxToFile(*Picture3, fileName, 85));
}

} // namespace kavi
