// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layouts_menu.h"

#include "coverset/cover_set_file.h"
#include "platform/files/program_folder.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>

#include <cstring>

namespace kavi {

namespace {

const QString kNewTitle = QStringLiteral("New Cover From Layout");
const QString kSaveTitle = QStringLiteral("Save As Layout");
constexpr int kLongestName = 80;
// A layout holds texts and designs, no pictures: a file this large is not one.
constexpr qint64 kLargestLayoutFile = qint64(8) << 20;
// Enough for any user's collection; a folder of more is not read on.
constexpr int kMostLayoutsPerFolder = 500;

QString kindsOf(const KindFlags& kinds) {
    QStringList names;
    for (int kind = 1; kind <= kCoverKindCount; ++kind)
        if (kinds[std::size_t(kind - 1)]) names << QString::fromUtf8(coverKind(kind).checkCaption);
    return names.join(QStringLiteral(", "));
}

void searchFolder(const QString& folder, bool own, LayoutSearch& search) {
    if (folder.isEmpty()) return;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.kavi")}, QDir::Files | QDir::Readable,
                                                           QDir::Name | QDir::IgnoreCase);
    CoverSetLimits limits;
    limits.mostFileBytes = kLargestLayoutFile;
    for (qsizetype i = 0; i < files.size() && i < kMostLayoutsPerFolder; ++i) {
        const QFileInfo& file = files[i];
        const CoverSetReading reading = loadCoverSetFile(file.filePath(), limits);
        if (!reading.set) {
            search.problems << coverSetProblemText(reading, file.filePath());
            continue;
        }
        FoundLayout found{file.completeBaseName(), file.filePath(), own, *reading.set,
                          CoverDocument::layoutKinds(*reading.set)};
        if (std::none_of(found.kinds.begin(), found.kinds.end(), [](bool k) { return k; })) {
            search.problems << QStringLiteral("\"%1\" sets no cover's texts or design.").arg(file.filePath());
            continue;
        }
        search.layouts.push_back(std::move(found));
    }
}

} // namespace

LayoutFolders programLayoutFolders() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return {inProgramFolder(QStringLiteral("layouts")), QDir(dataHome).filePath(QStringLiteral("kavi/layouts"))};
}

LayoutSearch findLayouts(const LayoutFolders& folders) {
    LayoutSearch search;
    searchFolder(folders.ready, false, search);
    if (QDir(folders.own).absolutePath() != QDir(folders.ready).absolutePath()) searchFolder(folders.own, true, search);
    return search;
}

QString layoutLabel(const FoundLayout& layout) {
    const QString whose = layout.own ? QStringLiteral(" (yours)") : QString();
    return QStringLiteral("%1%2 \u2014 %3").arg(layout.name, whose, kindsOf(layout.kinds));
}

QString layoutNameProblem(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return QStringLiteral("A layout needs a name.");
    if (trimmed.size() > kLongestName)
        return QStringLiteral("A layout's name may be at most %1 characters long.").arg(kLongestName);
    const bool control =
        std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (trimmed.contains(u'/') || trimmed.startsWith(u'.') || control)
        return QStringLiteral("A layout's name cannot hold \"/\" or a control character, nor begin with \".\".");
    return {};
}

LayoutsMenu::LayoutsMenu(QMenu& file, CoverDocument& document, MessageBoxes& messages, LayoutFolders folders,
                         std::function<void(const QString&)> notice, QWidget* window)
    : QObject(window), document_(document), messages_(messages), folders_(std::move(folders)),
      notice_(std::move(notice)), window_(window) {
    setObjectName(QStringLiteral("LayoutsMenu"));
    QAction* newCover = file.addAction(QStringLiteral("New Cover From &Layout..."));
    newCover->setObjectName(QStringLiteral("NewCoverFromLayout"));
    connect(newCover, &QAction::triggered, this, [this] { NewCoverFromLayout_Click(); });
    QAction* save = file.addAction(QStringLiteral("Save As La&yout..."));
    save->setObjectName(QStringLiteral("SaveAsLayout"));
    connect(save, &QAction::triggered, this, [this] { SaveAsLayout_Click(); });
    chooser_ = [this](const QStringList& labels) -> std::optional<int> {
        bool ok = false;
        const QString chosen =
            QInputDialog::getItem(window_, kNewTitle, QStringLiteral("Layout:"), labels, 0, false, &ok);
        return ok ? std::optional<int>(int(labels.indexOf(chosen))) : std::nullopt;
    };
    nameAsker_ = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(window_, kSaveTitle, QStringLiteral("Name of the layout:"),
                                                   QLineEdit::Normal, {}, &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };
}

void LayoutsMenu::tell(const QString& text, const QString& title, MsgIcon icon) const {
    messages_.show({text, title, icon, MsgButtons::Ok, MsgDefault::First, true});
}

void LayoutsMenu::NewCoverFromLayout_Click() {
    const LayoutSearch search = findLayouts(folders_);
    if (!search.problems.isEmpty())
        tell(QStringLiteral("These layout files cannot be used and were skipped:\n\n") +
                 search.problems.join(QStringLiteral("\n")),
             kNewTitle, MsgIcon::Exclamation);
    if (search.layouts.empty()) {
        tell(QStringLiteral("No layouts were found. Kavi's own are in \"%1\"; File > Save As Layout... keeps your "
                            "own in \"%2\".")
                 .arg(folders_.ready, folders_.own),
             kNewTitle, MsgIcon::Information);
        return;
    }
    QStringList labels;
    for (const FoundLayout& layout : search.layouts) labels << layoutLabel(layout);
    const std::optional<int> chosen = chooser_(labels);
    if (!chosen || *chosen < 0 || std::size_t(*chosen) >= search.layouts.size()) return;
    const FoundLayout& layout = search.layouts[std::size_t(*chosen)];
    document_.applyLayout(layout.layout);
    if (notice_)
        notice_(QStringLiteral("Applied the layout \u201c%1\u201d to the %2 covers; Edit > Undo takes it back.")
                    .arg(layout.name, kindsOf(layout.kinds)));
}

bool LayoutsMenu::SaveAsLayout_Click() {
    const CoverSet layout = document_.toLayout();
    const KindFlags kinds = CoverDocument::layoutKinds(layout);
    if (std::none_of(kinds.begin(), kinds.end(), [](bool k) { return k; })) {
        tell(QStringLiteral("The covers have no texts or design to keep as a layout."), kSaveTitle,
             MsgIcon::Information);
        return false;
    }
    const std::optional<QString> asked = nameAsker_();
    if (!asked) return false;
    const QString name = asked->trimmed();
    if (const QString problem = layoutNameProblem(name); !problem.isEmpty()) {
        tell(problem, kSaveTitle, MsgIcon::Exclamation);
        return false;
    }
    const QString path = QDir(folders_.own).filePath(name + QStringLiteral(".kavi"));
    if (QFileInfo::exists(path) &&
        messages_.show({QStringLiteral("A layout named \u201c%1\u201d exists already. Replace it?").arg(name),
                        kSaveTitle, MsgIcon::Question, MsgButtons::YesNo, MsgDefault::Second}) != MsgResult::Yes)
        return false;
    if (!QDir().mkpath(folders_.own)) {
        tell(QStringLiteral("The layout \u201c%1\u201d could not be saved: the folder \"%2\" cannot be made.")
                 .arg(name, folders_.own),
             kSaveTitle, MsgIcon::Critical);
        return false;
    }
    if (const int error = saveCoverSetFile(path, layout); error != 0) {
        tell(QStringLiteral("The layout \u201c%1\u201d could not be saved in \"%2\": %3.")
                 .arg(name, folders_.own, QString::fromLocal8Bit(std::strerror(error))),
             kSaveTitle, MsgIcon::Critical);
        return false;
    }
    if (notice_)
        notice_(QStringLiteral("Saved the layout \u201c%1\u201d for the %2 covers.").arg(name, kindsOf(kinds)));
    return true;
}

} // namespace kavi
