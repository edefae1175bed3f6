// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's recovery copy: covers that were changed and not saved are kept in a file of
// this run's own a little after each change and when a signal ends the run, and the next start
// offers what a run that ended left behind.
#include "app/main_window.h"

#include "app/recovery_copy.h"
#include "coverset/cover_set_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstring>

namespace kavi {

namespace {

constexpr int kRecoveryDelayMs = 10000;

const QString kRecoveryTitle = QStringLiteral("Unsaved Covers");

} // namespace

void MainWindow::unsavedWorkChanged() {
    if (hasUnsavedWork()) return coversChanged();
    if (tmrRecovery) tmrRecovery->stop();
    if (recovery_) recovery_->remove();
}

void MainWindow::coversChanged() {
    if (hasUnsavedWork() && recovery_ && tmrRecovery) tmrRecovery->start();
}

void MainWindow::tmrRecovery_Timer() {
    if (hasUnsavedWork() && recovery_) recovery_->writeLater(currentCoverSet());
}

void MainWindow::startRecoveryCopy() {
    if (!tmrRecovery) {
        tmrRecovery = new QTimer(this);
        tmrRecovery->setObjectName(QStringLiteral("tmrRecovery"));
        tmrRecovery->setSingleShot(true);
        tmrRecovery->setInterval(kRecoveryDelayMs);
        connect(tmrRecovery, &QTimer::timeout, this, [this] { tmrRecovery_Timer(); });
    }
    // A failed write is told once a run, on the window's own thread.
    auto copy = std::make_unique<RecoveryCopy>(recoveryFolder, [this](int error) {
        QMetaObject::invokeMethod(
            this,
            [this, error] {
                if (recoveryFailureShown_) return;
                recoveryFailureShown_ = true;
                ShowNotice(QStringLiteral("Kavi cannot keep a recovery copy of your unsaved covers in %1: %2.")
                               .arg(recoveryFolder, QString::fromLocal8Bit(std::strerror(error))));
            },
            Qt::QueuedConnection);
    });
    // Without a file of its own the run keeps no copy; the covers can still be saved as ever.
    if (copy->claim() == 0) recovery_ = std::move(copy);
    offerLeftCopies();
    if (hasUnsavedWork()) coversChanged();
}

void MainWindow::offerLeftCopies() {
    std::vector<LeftCopy> left = leftCopies(recoveryFolder);
    for (LeftCopy& copy : left) {
        const MsgResult answer =
            platform.messages.show({QStringLiteral("Kavi was closed with unsaved covers. Open them again?"),
                                    kRecoveryTitle, MsgIcon::Question, MsgButtons::YesNo, MsgDefault::First});
        if (answer != MsgResult::Yes) {
            discardLeftCopy(copy);
            continue;
        }
        const CoverSetReading reading = loadCoverSetFile(copy.path);
        if (!reading.set) {
            // Never deleted unread: it is put aside under a name that is not offered again.
            const QString kept = copy.path + QStringLiteral(".damaged");
            QFile::rename(copy.path, kept);
            platform.messages.show({coverSetProblemText(reading, QFileInfo(copy.path).fileName()) +
                                        QStringLiteral("\n\nThe file is kept as %1.").arg(kept),
                                    kRecoveryTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgDefault::First, true});
            continue;
        }
        applyCoverSet(*reading.set);
        // The covers are this run's unsaved work now, and the file already holds them.
        if (!recovery_ || !recovery_->adopt(copy.path)) discardLeftCopy(copy);
        adoptingCopy_ = true;
        setUnsavedWork(true);
        adoptingCopy_ = false;
        if (!recovery_ || !QFile::exists(recovery_->path())) coversChanged();
        // Any further copies stay for a later start: opening one would replace these covers.
        return;
    }
}

void MainWindow::stopRequested(int) {
    if (!unloaded_ && hasUnsavedWork() && recovery_) {
        tmrRecovery->stop();
        // Even a failed write leaves the last copy in place, which is better than none.
        recovery_->writeNow(currentCoverSet());
        keepRecoveryCopy_ = true;
    }
    Form_Unload();
}

void MainWindow::endRecoveryCopy() {
    if (tmrRecovery) tmrRecovery->stop();
    if (recovery_ && !keepRecoveryCopy_) recovery_->remove();
    recovery_.reset();
}

} // namespace kavi
