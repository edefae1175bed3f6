// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Cover Manipulator: a small modal window that shows the slot's picture beside the edited one,
// with five toolbar commands, a brightness slider, twenty filter commands in three menus, one level
// of undo, and "Accept" to write the result back into the slot.
#include "manipulator/anchored_layout.h"
#include "manipulator/cimage.h"
#include "manipulator/crop_rect.h"
#include "manipulator/filter_commands.h"
#include "manipulator/manipulator_buffers.h"
#include "manipulator/manipulator_workspace.h"
#include "platform/platform.h"

#include <QDialog>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolBar;

namespace kavi {

class ManipulatorWindow : public QDialog {
    Q_OBJECT
public:
    ManipulatorWindow(Platform& platform, ManipulatorWorkspace& workspace, QWidget* parent = nullptr);
    ~ManipulatorWindow() override;

    // Controls.
    QMenuBar* menuBar = nullptr;
    QMenu* normal = nullptr;
    QMenu* Special = nullptr;
    QMenu* colors = nullptr;
    QMenu* picture = nullptr; // "&Picture": "&Crop..."
    QToolBar* Toolbar1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Original = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* NewImage = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command2 = nullptr;
    QProgressBar* progressBar = nullptr; // shows the progress variable while a filter runs

    // The picture buffers, the DIB image filled at load, and the progress variable of the filters.
    ManipulatorBuffers buffers;
    std::unique_ptr<cImage> image;
    int progress = 0;

    void lockform();
    void unlockform();
    bool isLocked() const { return locked_; }
    bool filterRunning() const { return filterRunning_; }

    // Handlers.
    void Form_Load();
    void Form_Activate();
    void Form_Unload() {}
    void Command5_Click();
    void Command2_Click();
    void Toolbar1_ButtonClick(int index);
    // Opens the Crop window over the current result and, on OK, crops to its rectangle.
    void crop_Click();
    // Crops the current result to the rectangle (its pixels), as one command that Undo takes back.
    void applyCrop(const CropRect& rect);
    void HScroll1_Change();
    void HScroll1_Scroll();
    void Toolbar1_MouseMove();
    void Frame1_MouseMove();
    // The shared frame of the twenty filter menu items.
    void runFilter(int number, int amount);

    // Activation moved to this window from `previous` (null: from another program). Form_Activate runs
    // on the first activation and when coming from another window of Kavi, never from another
    // program and never while a command runs.
    void activationFrom(QWindow* previous);

    // Called between lockform and the command, for tests that look at the window mid-command.
    std::function<void()> commandProbe;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* client);
    void buildControls(QWidget* client);
    // Both panes when `original`, else only the result's.
    void showPictures(bool original);
    // Whether a buffer's picture is shown with its transparency: the slot's picture had it and it is
    // that picture, or the commands since have kept it.
    bool showsTransparency(const PictureBox& box) const;
    void onFocusWindowChanged(QWindow* now);
    void finishClose();

    Platform& platform_;
    ManipulatorWorkspace& workspace_;
    bool locked_ = false;
    bool cursorSet_ = false;
    bool filterRunning_ = false;
    bool stopRequested_ = false;
    bool closePending_ = false;
    bool activatedOnce_ = false;
    QPointer<QWindow> lastFocus_; // null when that window is gone
    std::unique_ptr<AnchoredLayout> layout_;
    bool pictureHasAlpha_ = false;
    bool previewsPending_ = false;
};

} // namespace kavi
