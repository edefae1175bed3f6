// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/undo_actions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace kavi {

UndoActions::UndoActions(CoverDocument& document, QMenu& edit, std::function<void()> layoutRestored)
    : document_(document), history_(document), layoutRestored_(std::move(layoutRestored)) {
    undo_ = edit.addAction(QStringLiteral("&Undo"));
    undo_->setObjectName(QStringLiteral("Undo"));
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = edit.addAction(QStringLiteral("&Redo"));
    redo_->setObjectName(QStringLiteral("Redo"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QObject::connect(undo_, &QAction::triggered, undo_, [this] { step(true); });
    QObject::connect(redo_, &QAction::triggered, redo_, [this] { step(false); });
    history_.setStepsChanged([this] { showSteps(); });
    showSteps();
}

void UndoActions::step(bool back) {
    const DocumentPrintLayout layout = document_.printLayout();
    if (back) history_.undo();
    else history_.redo();
    if (document_.printLayout() != layout && layoutRestored_) layoutRestored_();
}

void UndoActions::showSteps() {
    undo_->setEnabled(history_.canUndo());
    redo_->setEnabled(history_.canRedo());
}

} // namespace kavi
