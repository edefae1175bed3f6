#pragma once
// The "Scan" tab's page: the scanned picture Image20, the buttons Source, Aquire and Save, and
// the hidden carrier Picture3 of the picture being saved.
#include "cgdiplus.h"
#include "desktop/stretched_picture.h"
#include "platform.h"

#include <QWidget>

#include <functional>
#include <memory>

class QPushButton;

namespace kavi {

class ScanTab final : public QWidget {
    Q_OBJECT
public:
    // gdip is the main window's image-file writer (empty outside its load and unload), and
    // fileExists the main window's check before a file is replaced.
    using FileCheck = std::function<bool(const QString&)>;
    ScanTab(Platform& platform, std::unique_ptr<cGdiPlus>& gdip, FileCheck fileExists, QWidget* parent = nullptr);

    StretchedPicture* Image20;
    QPushButton* cmdSource;
    QPushButton* cmdAquire;
    QPushButton* cmdSave;
    StretchedPicture* Picture3;

    void cmdSource_Click();
    void cmdAquire_Click();
    void cmdSave_Click();

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
    std::unique_ptr<cGdiPlus>& gdip_;
    FileCheck fileExists_;
};

} // namespace kavi
