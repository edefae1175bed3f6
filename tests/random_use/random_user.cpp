// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/random_use/random_user.h"

#include "app/drive_list.h"
#include "app/file_list.h"
#include "app/folder_list.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "coverset/cover_set_file.h"
#include "manipulator/manipulator_window.h"
#include "platform/imaging/image_encoders.h"
#include "platform/imaging/picture_loader.h"
#include "platform/imaging/qt_raster.h"
#include "popup/alert_popup_window.h"
#include "tests/support/test_platform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <set>

namespace kavi::testing {

namespace {

// A picture's size and pixels as one comparable value; empty for no picture.
QByteArray digest(const QImage& picture) {
    if (picture.isNull()) return {};
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Md5);
    for (int y = 0; y < argb.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(argb.constScanLine(y)), argb.width() * 4));
    return QByteArray::number(argb.width()) + 'x' + QByteArray::number(argb.height()) + ':' + hash.result().toHex();
}

QImage pattern(int w, int h, int seed, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgba((x * 7 + seed * 40) & 255, (y * 11 + seed * 13) & 255, ((x ^ y) * 5) & 255,
                                 format == QImage::Format_ARGB32 ? (x * 8) & 255 : 255));
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// A BMP header that claims a picture far too large to decode.
QByteArray giantBmpHeader() {
    QByteArray b(54, '\0');
    const auto put32 = [&b](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    b[26] = 1;
    b[28] = 24;
    return b;
}

// The answers of message boxes, picked at random among the box's own buttons.
class RandomMessageBoxes final : public MessageBoxes {
public:
    explicit RandomMessageBoxes(std::mt19937& rng) : rng_(rng) {}
    MsgResult show(const MessageRequest& request) override {
        ++count;
        lastText = request.text;
        std::vector<MsgResult> choices;
        switch (request.buttons) {
        case MsgButtons::Ok: choices = {MsgResult::Ok}; break;
        case MsgButtons::OkCancel: choices = {MsgResult::Ok, MsgResult::Cancel}; break;
        case MsgButtons::AbortRetryIgnore: choices = {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore}; break;
        case MsgButtons::YesNoCancel: choices = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}; break;
        case MsgButtons::YesNo: choices = {MsgResult::Yes, MsgResult::No}; break;
        case MsgButtons::RetryCancel: choices = {MsgResult::Retry, MsgResult::Cancel}; break;
        case MsgButtons::SaveDiscardCancel: choices = {MsgResult::Save, MsgResult::Discard, MsgResult::Cancel}; break;
        }
        return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(rng_)];
    }
    int count = 0;
    QString lastText;

private:
    std::mt19937& rng_;
};

// The save dialog: cancelled now and then, otherwise a name in one of a few folders (one of them
// missing) with one of the extensions a user might type, or none.
class RandomSaveDialog final : public SaveDialog {
public:
    RandomSaveDialog(std::mt19937& rng, QString root) : rng_(rng), root_(std::move(root)) {}
    SaveDialogResult ask(const SaveDialogRequest& request) override {
        const auto pick = [this](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); };
        if (pick(5) == 0) return {};
        static const char* const kExtensions[] = {".BMP", ".bmp", ".gif",  ".jpg", ".JPG", ".png",
                                                  ".tif", ".pdf", ".kavi", ".xyz", ""};
        const int folder = pick(10);
        const QString dir = folder < 6 ? root_ + "/saved" : folder < 9 ? root_ + "/pictures" : root_ + "/missing";
        QString ext = QString::fromLatin1(kExtensions[pick(11)]);
        if (request.defaultSuffix == QLatin1String("pdf") && pick(4) != 0) ext = ".pdf";
        if (request.defaultSuffix == QLatin1String("kavi") && pick(2) != 0) ext = ".kavi";
        lastFile = dir + "/saved" + QString::number(pick(3)) + ext;
        ++answers;
        return {true, lastFile, 0};
    }
    QString lastFile; // the last name given
    int answers = 0; // how many names were given

private:
    std::mt19937& rng_;
    QString root_;
};

class RandomUser : public QObject {
public:
    RandomUser(std::uint32_t seed, const QString& root)
        : seed_(seed), rng_(seed), root_(root), messages_(rng_), saveDialog_(rng_, root) {
        services_.printers.install({QStringLiteral("Office"), QStringLiteral("Label")});
        services_.scanner.picture = pattern(30, 20, int(seed % 7));
        makeFolders();
    }

    RandomUseReport run(int steps) {
        target_ = steps;
        startWindow(true);
        while (report_.steps < target_ && report_.failure.isEmpty()) {
            QEventLoop loop;
            outer_ = &loop;
            QTimer::singleShot(0, this, [this] { step(); });
            loop.exec();
            outer_ = nullptr;
            if (restartPending_) restart();
        }
        if (window_ && report_.failure.isEmpty()) {
            window_->close(); // the final Exit writes the settings like any other
            QCoreApplication::processEvents();
        }
        window_.reset();
        report_.messageBoxes = messages_.count;
        return report_;
    }

private:
    int pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T>
    T* pickOf(const std::vector<T*>& v) {
        return v.empty() ? nullptr : v[std::size_t(pick(int(v.size())))];
    }

    void note(const QString& what) {
        if (trace_)
            std::fprintf(stderr, "seed %u step %s\n", seed_, qPrintable(QString::number(report_.steps) + ": " + what));
        trail_.push_back(QString::number(report_.steps) + ": " + what);
        if (trail_.size() > 30) trail_.pop_front();
    }

    void fail(const QString& what) {
        if (!report_.failure.isEmpty()) return;
        QStringList lines{QStringLiteral("seed %1, step %2: %3").arg(seed_).arg(report_.steps).arg(what),
                          QStringLiteral("last steps:")};
        for (const QString& t : trail_) lines << "  " + t;
        report_.failure = lines.join('\n');
    }

    // ---- Set-up ----

    void makeFolders() {
        QDir root(root_);
        for (const char* sub : {"settings", "pictures", "pictures/sub", "saved", "empty"}) root.mkpath(sub);
        const QString p = root_ + "/pictures/";
        writeFile(p + "front.bmp", encoded(pattern(64, 40, 1), "BMP"));
        writeFile(p + "photo.jpg", encoded(pattern(48, 32, 2), "JPEG"));
        writeFile(p + "logo.png", encoded(pattern(40, 40, 3, QImage::Format_ARGB32), "PNG"));
        writeFile(p + "anim.gif", encoded(pattern(32, 24, 4).convertToFormat(QImage::Format_Indexed8), "GIF"));
        writeFile(p + "scan.TIF", encoded(pattern(30, 20, 5), "TIFF"));
        writeFile(p + "sub/inner.jpg", encoded(pattern(20, 50, 6), "JPEG"));
        // Files that look like pictures and are not, or are cut short, or claim to be huge.
        QByteArray noise(500, '\0');
        for (char& c : noise) c = char(pick(256));
        writeFile(p + "broken.jpg", noise);
        writeFile(p + "empty.gif", {});
        const QByteArray png = encoded(pattern(40, 40, 7), "PNG");
        writeFile(p + "cut.png", png.left(png.size() / 2));
        writeFile(p + "giant.bmp", giantBmpHeader());
        writeFile(p + "text.BMP", "not a picture\n");
    }

    void startWindow(bool first) {
        window_ = std::make_unique<MainWindow>(platform_);
        window_->settingsFile = root_ + "/settings/kavi4.ini";
        window_->programFolderPath = root_ + "/settings";
        window_->recoveryFolder = root_ + "/recovery";
        window_->Form_Load();
        if (first) window_->dirSelect->setPath(root_ + "/pictures");
        expected_ = {};
        held_ = {}; // the history starts afresh with each start
        for (auto& cover : held_) cover.insert(QByteArray());
        connect(window_->fileSelect, &FileList::selectionChangedByUser, this, [this] { notePick(); });
    }

    // A pick loads the file into the cover of the tab showing, when it decodes.
    void notePick() {
        const int tab = window_->SSTab1->currentIndex();
        const QString entry = window_->fileSelect->selectedEntry();
        if (tab < 0 || tab >= 10 || entry.isEmpty()) return;
        const PictureLoad loaded = loadPictureFile(FileList::fullName(window_->fileSelect->path(), entry));
        if (loaded.status == PictureStatus::Loaded) {
            expect(tab + 1, digest(loaded.picture));
            ++report_.picks;
        }
    }

    void watchManipulator(ManipulatorWindow* m) {
        if (watched_.count(m)) return;
        watched_.insert(m);
        connect(m, &QDialog::finished, this, [this, m](int result) {
            if (result != QDialog::Accepted) return;
            const int n = slotNumberOf(window_->SelectedImage);
            if (n == 0) return;
            expect(n, digest(toImage(m->buffers.NewImage.image())));
            ++report_.accepts;
        });
        connect(m, &QObject::destroyed, this, [this, m] { watched_.erase(m); });
    }

    // ---- Checks ----

    AlertPopupWindow* visiblePopup() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<AlertPopupWindow*>(w); p && p->isVisible() && !p->isUnloaded()) return p;
        return nullptr;
    }

    void checkSelectionRules() {
        int jewel = 0, single = 0, singleKind = 0;
        for (int n = 1; n <= 10; ++n) {
            if (!window_->Check(n)->isChecked()) continue;
            if (n <= 3) {
                ++jewel;
            } else {
                ++single;
                singleKind = n;
            }
        }
        // A disc label prints alone: its box ticked clears the ten and the other disc box.
        int discs = 0;
        for (const char* name : {"CheckDisc", "CheckMiniDisc"})
            if (auto* box = window_->findChild<QCheckBox*>(QString::fromLatin1(name)); box && box->isChecked()) ++discs;
        if (discs > 1) fail("both disc kinds are ticked");
        if (discs && jewel + single) fail("a disc kind is ticked with a case kind");
        const bool any = jewel + single + discs > 0;
        if (window_->cmdPrint->isEnabledTo(window_.get()) != any)
            fail("Print is enabled exactly when something is ticked: broken");
        if (jewel && single) fail("jewel-case and single kinds are ticked together");
        if (single > 1) fail("more than one single kind is ticked");
        for (int n = 1; n <= 10; ++n) {
            const bool enabled = window_->Check(n)->isEnabledTo(window_.get());
            bool want = true;
            if (jewel) want = n <= 3;
            if (single) want = n == singleKind;
            if (enabled != want)
                fail(QStringLiteral("box %1 is %2 with %3 jewel and %4 single ticks")
                         .arg(n)
                         .arg(enabled ? "enabled" : "disabled")
                         .arg(jewel)
                         .arg(single));
        }
    }

    void checkPictures() {
        for (int n = 1; n <= 10; ++n) {
            const QByteArray now = digest(window_->Image(n)->picture());
            if (now != expected_[std::size_t(n - 1)])
                fail(QStringLiteral("cover %1 holds %2 instead of %3")
                         .arg(n)
                         .arg(QString::fromLatin1(now.isEmpty() ? "nothing" : now))
                         .arg(QString::fromLatin1(
                             expected_[std::size_t(n - 1)].isEmpty() ? "nothing" : expected_[std::size_t(n - 1)])));
        }
    }

    void checkNothingStaysDisabled(QWidget* modal) {
        if (auto* m = qobject_cast<ManipulatorWindow*>(modal)) {
            if (!m->filterRunning() && m->isLocked()) fail("the Manipulator stays locked with no filter running");
            return;
        }
        if (modal || visiblePopup()) return;
        if (!window_->isEnabled()) fail("the main window stays disabled");
        if (!window_->Toolbar1->isEnabled() || !window_->File->isEnabled() || !window_->help->isEnabled())
            fail("the toolbar or a menu stays disabled");
        if (QApplication::overrideCursor()) fail("the busy pointer stays");
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !w->isEnabled() && !qobject_cast<QMenu*>(w))
                fail("window " + w->objectName() + " stays disabled");
    }

    void checkAll(QWidget* modal) {
        checkSelectionRules();
        checkPictures();
        checkNothingStaysDisabled(modal);
    }

    // ---- Steps ----

    void step() {
        if (report_.steps >= target_ || !report_.failure.isEmpty()) {
            finish();
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) { // an open menu or list: closed
            note("close popup " + QString::fromLatin1(popup->metaObject()->className()));
            popup->close();
        }
        QWidget* modal = QApplication::activeModalWidget();
        checkAll(modal);
        if (!report_.failure.isEmpty()) {
            finish();
            return;
        }
        ++report_.steps;
        if (pick(8) == 0) { // the next scan: a picture, a failure (leaving part of a file now and then), or junk
            const int kind = pick(6);
            services_.scanner.results.push_back(kind < 2 ? 3 : 0);
            services_.scanner.writeOnFailure = kind == 1;
            services_.scanner.fileBytes = kind == 2 ? QByteArray("BM\x10\0\0\0 cut short", 16) : QByteArray();
        }
        if (modal) {
            ++report_.modalSteps;
            if (auto* m = qobject_cast<ManipulatorWindow*>(modal)) watchManipulator(m);
            QTimer::singleShot(0, this, [this] { step(); });
            actOnWindow(modal, true);
            return;
        }
        // Kept inside the work folder, so that a run does not depend on the rest of the machine.
        if (!window_->dirSelect->path().startsWith(root_)) {
            window_->dirSelect->setPath(root_ + "/pictures");
            window_->dirSelect_Change();
        }
        if (window_->isHidden()) {
            const TrayActivation a = std::array{TrayActivation::SingleClick, TrayActivation::DoubleClick,
                                                TrayActivation::Context, TrayActivation::Middle}[std::size_t(pick(4))];
            note(QStringLiteral("tray activation %1").arg(int(a)));
            QTimer::singleShot(0, this, [this] { step(); });
            services_.tray.activate(a);
            return;
        }
        if (AlertPopupWindow* popup = visiblePopup(); popup && !window_->isEnabled()) {
            QTimer::singleShot(0, this, [this] { step(); });
            if (chance(50) && !popup->tmrClose->isActive()) {
                note("popup Ok");
                popup->Command1->click();
            } else {
                // Time passes: the popup's slide timers run until they stop (or the popup goes).
                note("the popup slides");
                QPointer<AlertPopupWindow> sliding(popup);
                for (int i = 0; i < 2000 && sliding && sliding->tmrOpen->isActive(); ++i) sliding->tmrOpen_Timer();
                for (int i = 0; i < 2000 && sliding && sliding->tmrClose->isActive(); ++i) sliding->tmrClose_Timer();
            }
            return;
        }
        // Another window of Kavi that is not modal (the printer chooser) gets a share of the steps.
        std::vector<QWidget*> others;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window_.get() && w->isVisible() && !qobject_cast<QMenu*>(w) &&
                !qobject_cast<AlertPopupWindow*>(w) && w->windowType() != Qt::ToolTip)
                others.push_back(w);
        if (!others.empty() && chance(30)) {
            QTimer::singleShot(0, this, [this] { step(); });
            actOnWindow(pickOf(others), false);
            return;
        }
        actOnMainWindow();
    }

    void actOnMainWindow() {
        MainWindow& w = *window_;
        const int roll = pick(100);
        if (roll < 1) { // Exit, by the menu or the window's close box, then a new start
            note("exit and start again");
            restartPending_ = true;
            exitState_ = {w.SSTab1->currentIndex(), ticks()};
            exitFolder_ = w.dirSelect->path();
            if (chance(50)) w.findChild<QAction*>(QStringLiteral("exit"))->trigger();
            else w.close();
            if (w.isVisible()) { // unsaved covers, and the question answered Cancel (or the save failed)
                note("exit cancelled");
                restartPending_ = false;
                QTimer::singleShot(0, this, [this] { step(); });
                return;
            }
            outer_->quit();
            return;
        }
        QTimer::singleShot(0, this, [this] { step(); });
        if (roll < 3) {
            note("minimise");
            w.showMinimized();
        } else if (roll < 5) {
            note("list refresh and recovery timers");
            w.Timer1_Timer();
            w.Timer2_Timer();
            w.tmrRecovery_Timer();
        } else if (roll < 6) {
            // Another program deletes the sub-folder (perhaps while it is shown) or puts it back.
            const QString sub = root_ + "/pictures/sub";
            if (QDir(sub).exists()) {
                note("sub-folder deleted");
                QDir(sub).removeRecursively();
            } else {
                note("sub-folder back");
                QDir().mkpath(sub);
                writeFile(sub + "/inner.jpg", encoded(pattern(20, 50, 6), "JPEG"));
            }
        } else if (roll < 16) {
            const int tab = pick(11);
            note(QStringLiteral("tab %1").arg(tab));
            w.SSTab1->setCurrentIndex(tab);
        } else if (roll < 26) {
            const int tab = w.SSTab1->currentIndex();
            if (tab >= 0 && tab < 10) {
                note(QStringLiteral("click cover %1").arg(tab + 1));
                QTest::mouseClick(w.Image(tab + 1), Qt::LeftButton);
            } else if (w.scanTab) {
                note("click the scanned picture");
                QTest::mouseClick(w.findChild<QWidget*>(QStringLiteral("Image20")), Qt::LeftButton);
            }
        } else if (roll < 40) {
            const QStringList entries = w.fileSelect->entries();
            if (entries.isEmpty()) return;
            const int row = pick(int(entries.size()));
            note("pick " + entries[row]);
            w.fileSelect->selectRow(row);
        } else if (roll < 44) {
            const bool up = chance(50);
            note(QStringLiteral("file list key %1").arg(up ? "Up" : "Down"));
            w.fileSelect->setFocus();
            QTest::keyClick(w.fileSelect, up ? Qt::Key_Up : Qt::Key_Down);
        } else if (roll < 48) {
            static const char* const kFolders[] = {"/pictures", "/pictures/sub", "/empty", "/saved"};
            const QString folder = root_ + kFolders[pick(4)];
            note("folder " + folder.mid(root_.size()));
            if (w.dirSelect->setPath(folder)) w.dirSelect_Change();
        } else if (roll < 70) {
            actOnButtons(&w);
        } else if (roll < 86) {
            actOnActions(&w, true);
        } else {
            actOnWindowControls(&w);
        }
    }

    // One random thing done to a window other than the main window: a modal one or the chooser.
    void actOnWindow(QWidget* w, bool modal) {
        const int roll = pick(100);
        const QString name = QString::fromLatin1(w->metaObject()->className());
        if (roll < (modal ? 10 : 8)) {
            note("close " + name);
            w->close();
        } else if (roll < 14) {
            note("Escape in " + name);
            QTest::keyClick(w, Qt::Key_Escape);
        } else if (roll < 50) {
            actOnButtons(w);
        } else if (roll < 70) {
            actOnActions(w, false);
        } else {
            actOnWindowControls(w);
        }
    }

    void actOnButtons(QWidget* w) {
        std::vector<QAbstractButton*> buttons;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->window() == w && b->isVisible() && b->isEnabled()) buttons.push_back(b);
        QAbstractButton* b = pickOf(buttons);
        if (!b) return;
        note("button " + (b->objectName().isEmpty() ? b->text() : b->objectName()) + " in " +
             QString::fromLatin1(w->metaObject()->className()));
        b->click();
    }

    static void collectActions(const QList<QAction*>& actions, std::vector<QAction*>& out) {
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isEnabled() || !a->isVisible()) continue;
            if (QMenu* sub = a->menu()) {
                if (sub->isEnabled()) collectActions(sub->actions(), out);
            } else {
                out.push_back(a);
            }
        }
    }

    void actOnActions(QWidget* w, bool mainWindow) {
        std::vector<QAction*> actions;
        for (QMenuBar* bar : w->findChildren<QMenuBar*>())
            if (bar->window() == w && bar->isEnabled()) collectActions(bar->actions(), actions);
        for (QToolBar* bar : w->findChildren<QToolBar*>())
            if (bar->window() == w && bar->isEnabled() && bar->isVisible()) collectActions(bar->actions(), actions);
        if (mainWindow) // Exit has its own step, which starts the program again
            std::erase_if(actions, [](QAction* a) { return a->objectName() == QLatin1String("exit"); });
        QAction* a = pickOf(actions);
        if (!a) return;
        note("action " + (a->objectName().isEmpty() ? a->text() : a->objectName()) + " in " +
             QString::fromLatin1(w->metaObject()->className()));
        const int answersBefore = saveDialog_.answers;
        a->trigger();
        // A cover set that opened brings its own pictures: exactly those the file holds.
        if (mainWindow && a->objectName() == QLatin1String("OpenCoverSet") && saveDialog_.answers != answersBefore) {
            const CoverSetReading reading = loadCoverSetFile(saveDialog_.lastFile);
            if (reading.set) {
                note("cover set opened");
                for (int n = 1; n <= 10; ++n) expect(n, digest(reading.set->cover(n).picture.image()));
            }
        }
        // Undo and Redo bring back what a cover held since the start, never anything else; from
        // there on the covers are expected to hold what they now show.
        if (mainWindow && (a->objectName() == QLatin1String("Undo") || a->objectName() == QLatin1String("Redo"))) {
            for (int n = 1; n <= 10; ++n) {
                const QByteArray now = digest(window_->Image(n)->picture());
                if (!held_[std::size_t(n - 1)].count(now))
                    fail(QStringLiteral("%1 put a picture on cover %2 that it never held").arg(a->objectName()).arg(n));
                expected_[std::size_t(n - 1)] = now;
            }
        }
    }

    void expect(int cover, const QByteArray& picture) {
        expected_[std::size_t(cover - 1)] = picture;
        held_[std::size_t(cover - 1)].insert(picture);
    }

    void actOnWindowControls(QWidget* w) {
        const auto mine = [w](QWidget* c) { return c->window() == w && c->isVisible() && c->isEnabled(); };
        const int roll = pick(5);
        if (roll == 0) {
            std::vector<QAbstractSlider*> sliders;
            for (auto* s : w->findChildren<QAbstractSlider*>())
                if (mine(s)) sliders.push_back(s);
            if (QAbstractSlider* s = pickOf(sliders)) {
                const int value = s->minimum() + pick(s->maximum() - s->minimum() + 1);
                note(QStringLiteral("slider %1 to %2").arg(s->objectName()).arg(value));
                s->setValue(value);
                return;
            }
        } else if (roll == 1) {
            std::vector<QAbstractItemView*> views;
            for (auto* v : w->findChildren<QAbstractItemView*>())
                if (mine(v) && v->model() && v->model()->rowCount(v->rootIndex()) > 0) views.push_back(v);
            if (QAbstractItemView* v = pickOf(views)) {
                const QModelIndex index =
                    v->model()->index(pick(v->model()->rowCount(v->rootIndex())), 0, v->rootIndex());
                v->scrollTo(index);
                const QPoint at = v->visualRect(index).center();
                const bool twice = chance(20);
                note(QStringLiteral("%1 row %2 of %3")
                         .arg(twice ? "double-click" : "click")
                         .arg(index.row())
                         .arg(v->objectName()));
                if (twice) QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
                else QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
                return;
            }
        } else if (roll == 2) {
            std::vector<QComboBox*> combos;
            for (auto* c : w->findChildren<QComboBox*>())
                if (mine(c) && c->count() > 0 && c != window_->drvSelect) combos.push_back(c);
            if (QComboBox* c = pickOf(combos)) {
                const int index = pick(c->count());
                note(QStringLiteral("choose %1 in %2").arg(index).arg(c->objectName()));
                c->setCurrentIndex(index);
                return;
            }
        } else if (roll == 3) {
            std::vector<QLineEdit*> edits;
            for (auto* e : w->findChildren<QLineEdit*>())
                if (mine(e) && !e->isReadOnly()) edits.push_back(e);
            if (QLineEdit* e = pickOf(edits)) {
                static const char* const kTexts[] = {"0", "12.5", "-3", "abc", "1e9", "", "0.01", "999999"};
                const QString text = QString::fromLatin1(kTexts[pick(8)]);
                note("type \"" + text + "\" into " + e->objectName());
                e->setFocus();
                e->selectAll();
                QTest::keyClicks(e, text);
                return;
            }
        }
        static const Qt::Key kKeys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_Left,    Qt::Key_Right,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,     Qt::Key_Return,
                                        Qt::Key_Space,    Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Delete,
                                        Qt::Key_A,        Qt::Key_1,    Qt::Key_F1};
        const Qt::Key key = kKeys[pick(int(std::size(kKeys)))];
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != w) target = w;
        note(QStringLiteral("key 0x%1 to %2").arg(int(key), 0, 16).arg(target->objectName()));
        QTest::keyClick(target, key);
    }

    // ---- The end of a run and Exit ----

    QString ticks() const {
        QString s;
        for (int n = 1; n <= 10; ++n) s += window_->Check(n)->isChecked() ? '1' : '0';
        return s;
    }

    // The windows still open are closed one at a time (each may hold a nested event loop), then
    // the run's own loop ends.
    void finish() {
        if (++finishAttempts_ > 5000) {
            std::fprintf(stderr, "random use, seed %u: a window would not close\n", seed_);
            std::abort(); // a hang turned into a failure
        }
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* m = qobject_cast<ManipulatorWindow*>(modal); m && m->filterRunning()) m->Command2->click();
            else modal->close();
            QTimer::singleShot(0, this, [this] { finish(); });
            return;
        }
        if (outer_) outer_->quit();
    }

    // After Exit: a new main window on the same settings shows the tab and ticks of the last run,
    // and no pictures.
    void restart() {
        restartPending_ = false;
        window_.reset();
        // Exit saved or discarded the covers, so no recovery copy is left to be offered.
        if (!QDir(root_ + "/recovery").entryList({"*.kavi"}, QDir::Files).isEmpty())
            fail("Exit left a recovery copy behind");
        startWindow(false);
        ++report_.restarts;
        // A folder deleted since it was saved sends the start to the settings fallback.
        const bool folderKept = QDir(exitFolder_).exists();
        const std::pair<int, QString> want = folderKept ? exitState_ : std::pair<int, QString>{0, "0000000000"};
        if (window_->SSTab1->currentIndex() != want.first || ticks() != want.second)
            fail(QStringLiteral("after a restart: tab %1 and ticks %2, but the last run ended on tab %3 with %4")
                     .arg(window_->SSTab1->currentIndex())
                     .arg(ticks())
                     .arg(want.first)
                     .arg(want.second));
        if (folderKept && window_->dirSelect->path() != exitFolder_)
            fail("after a restart the folder list shows " + window_->dirSelect->path() + ", not " + exitFolder_);
    }

    std::uint32_t seed_;
    std::mt19937 rng_;
    QString root_;
    TestPlatform services_;
    RandomMessageBoxes messages_;
    RandomSaveDialog saveDialog_;
    StandardImageEncoders encoders_;
    Platform platform_{
        messages_,         saveDialog_,       services_.shell, services_.help,     services_.tray,
        services_.screen,  services_.facts,   services_.http,  services_.sound,    services_.systemColors,
        services_.desktop, services_.scanner, encoders_,       services_.printers, services_.printer};
    std::unique_ptr<MainWindow> window_;
    std::array<QByteArray, 10> expected_{};
    std::array<std::set<QByteArray>, 10> held_{}; // every picture each cover held since the start
    std::set<ManipulatorWindow*> watched_;
    std::deque<QString> trail_;
    RandomUseReport report_;
    QEventLoop* outer_ = nullptr;
    int target_ = 0;
    int finishAttempts_ = 0;
    bool restartPending_ = false;
    const bool trace_ = !qEnvironmentVariableIsEmpty("KAVI_RANDOM_TRACE"); // every step on the error output
    std::pair<int, QString> exitState_;
    QString exitFolder_;
};

} // namespace

RandomUseReport runRandomUse(std::uint32_t seed, int steps, const QString& workFolder) {
    const QString root = workFolder + QStringLiteral("/seed-%1").arg(seed);
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    RandomUseReport report;
    {
        RandomUser user(seed, root);
        report = user.run(steps);
    }
    QDir(root).removeRecursively();
    return report;
}

} // namespace kavi::testing
