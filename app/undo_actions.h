// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's Edit > Undo and Redo (Ctrl+Z, Ctrl+Shift+Z): the cover document's undo
// history as two menu entries, each enabled only when there is a step to go. The views follow an
// undone step through the document's own change notification.
#include "document/cover_document.h"
#include "document/undo_history.h"

#include <functional>

class QAction;
class QMenu;

namespace kavi {

class UndoActions {
public:
    // Adds "&Undo" and "&Redo" to `edit`; `layoutRestored` is called when a step put another print
    // layout back, so that the settings keep what the menu shows.
    UndoActions(CoverDocument& document, QMenu& edit, std::function<void()> layoutRestored);

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    UndoHistory& history() { return history_; }

private:
    void step(bool back);
    void showSteps();

    CoverDocument& document_;
    UndoHistory history_;
    std::function<void()> layoutRestored_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};

} // namespace kavi
