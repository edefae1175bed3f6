// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Scan" tab's page: the scanned picture Image20, the buttons Source, Aquire and Save, and
// the hidden carrier Picture3 of the picture being saved.
#include "output/scan/image_file_writer.h"
#include "platform/desktop/stretched_picture.h"
#include "platform/platform.h"

#include <QWidget>

#include <functional>

class QPushButton;

namespace kavi {

class ScanTab final : public QWidget {
    Q_OBJECT
public:
    // imageWriter gives the owner's image-file writer at the moment of saving (null outside the
    // owner's load and unload), and fileExists is the owner's check before a file is replaced.
    using WriterAccess = std::function<ImageFileWriter*()>;
    using FileCheck = std::function<bool(const QString&)>;
    ScanTab(Platform& platform, WriterAccess imageWriter, FileCheck fileExists, QWidget* parent = nullptr);

    StretchedPicture* Image20;
    QPushButton* cmdSource;
    QPushButton* cmdAquire;
    QPushButton* cmdSave;
    StretchedPicture* Picture3;

    void cmdSource_Click();
    void cmdAquire_Click();
    void cmdSave_Click();
    // The save flow of cmdSave for any picture: the Save dialog, the question before replacing a
    // file, the writer chosen by the extension, and the result message.
    void savePicture(const QImage& picture);

    // The fixed scan file in the program folder.
    static QString scanFilePath();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void placeControls();
    void showSaveResult(bool saved);

    Platform& platform_;
    WriterAccess imageWriter_;
    FileCheck fileExists_;
};

} // namespace kavi
