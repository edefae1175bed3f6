// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > New Cover From Layout... and File > Save As Layout...: ready layouts are cover sets without
// pictures that set the design and texts of the kinds they have. Kavi's own lie in the layouts
// folder among its files (beside the executable in the build folder, in the share folder when
// installed); the user's own in their data folder ($XDG_DATA_HOME/kavi/layouts). A layout is named
// after its file. A file that does not open as a cover set is named in a message and skipped.
#include "covers/cover_kinds.h"
#include "coverset/cover_set.h"
#include "document/cover_document.h"
#include "platform/desktop/message_boxes.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QWidget;

namespace kavi {

struct LayoutFolders {
    QString ready; // Kavi's own layouts
    QString own; // the user's, made when the first is saved
};
// The folders of the running program.
LayoutFolders programLayoutFolders();

struct FoundLayout {
    QString name; // the file's name without ".kavi"
    QString path;
    bool own = false;
    CoverSet layout;
    KindFlags kinds{}; // the kinds it sets (CoverDocument::layoutKinds)
};
struct LayoutSearch {
    std::vector<FoundLayout> layouts; // Kavi's own by name, then the user's by name
    QStringList problems; // one sentence for each file skipped
};
LayoutSearch findLayouts(const LayoutFolders& folders);

// What the chooser lists for a layout: its name, whose it is and the covers it sets.
QString layoutLabel(const FoundLayout& layout);

// Why a name cannot name a layout file; empty when it can.
QString layoutNameProblem(const QString& name);

class LayoutsMenu : public QObject {
public:
    // Picks one of the labels: its index, or none when the user cancels.
    using Chooser = std::function<std::optional<int>(const QStringList& labels)>;
    // Asks for a new layout's name; none when the user cancels.
    using NameAsker = std::function<std::optional<QString>()>;

    // Adds "New Cover From &Layout..." and "Save As La&yout..." to `file`. `notice` shows a line
    // of what was done in the window.
    LayoutsMenu(QMenu& file, CoverDocument& document, MessageBoxes& messages, LayoutFolders folders,
                std::function<void(const QString&)> notice, QWidget* window);

    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
    void setNameAsker(NameAsker asker) { nameAsker_ = std::move(asker); }
    const LayoutFolders& folders() const { return folders_; }
    void setFolders(LayoutFolders folders) { folders_ = std::move(folders); }

    void NewCoverFromLayout_Click();
    // True when the layout was saved.
    bool SaveAsLayout_Click();

private:
    void tell(const QString& text, const QString& title, MsgIcon icon) const;

    CoverDocument& document_;
    MessageBoxes& messages_;
    LayoutFolders folders_;
    std::function<void(const QString&)> notice_;
    QWidget* window_;
    Chooser chooser_;
    NameAsker nameAsker_;
};

} // namespace kavi
