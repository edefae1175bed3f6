// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/help_viewer.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace kavi {

class HtmlHelpViewer::Window : public QWidget {
public:
    Window() {
        setObjectName(QStringLiteral("helpWindow"));
        setWindowTitle(QStringLiteral("Kavi Help"));
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* bar = new QToolBar(this);
        bar->setObjectName(QStringLiteral("helpToolbar"));
        bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        browser = new QTextBrowser(this);
        browser->setOpenExternalLinks(true);

        back = addButton(bar, "helpBack", "Back", QStyle::SP_ArrowBack);
        forward = addButton(bar, "helpForward", "Forward", QStyle::SP_ArrowForward);
        contents = addButton(bar, "helpContents", "Contents", QStyle::SP_FileDialogContentsView);
        back->setShortcut(QKeySequence::Back);
        forward->setShortcut(QKeySequence::Forward);
        back->setEnabled(false);
        forward->setEnabled(false);
        QObject::connect(back, &QAction::triggered, browser, &QTextBrowser::backward);
        QObject::connect(forward, &QAction::triggered, browser, &QTextBrowser::forward);
        QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
        QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
        QObject::connect(contents, &QAction::triggered, browser, [this] {
            if (QFileInfo(contentsPage).isFile()) browser->setSource(QUrl::fromLocalFile(contentsPage));
        });

        layout->addWidget(bar);
        layout->addWidget(browser);
        resize(720, 560);
    }

    // The table of contents of the help folder a page belongs to.
    void setHelpFolder(const QString& folder) {
        contentsPage = QDir(folder).filePath(QStringLiteral("contents.html"));
        contents->setEnabled(QFileInfo(contentsPage).isFile());
    }

    QTextBrowser* browser;
    QAction* back;
    QAction* forward;
    QAction* contents;
    QString contentsPage;

private:
    QAction* addButton(QToolBar* bar, const char* name, const char* text, QStyle::StandardPixmap icon) {
        QAction* action = bar->addAction(style()->standardIcon(icon), QString::fromUtf8(text));
        action->setObjectName(QString::fromUtf8(name));
        return action;
    }
};

HtmlHelpViewer::~HtmlHelpViewer() { delete window_; }

int HtmlHelpViewer::openWindows() const { return window_ && window_->isVisible() ? 1 : 0; }

QWidget* HtmlHelpViewer::window() const { return window_; }

bool HtmlHelpViewer::show(QWidget*, const QString& page) {
    if (!QFileInfo(page).isFile()) return false;
    if (!window_) window_ = new Window;
    window_->setHelpFolder(QFileInfo(page).absolutePath());
    window_->browser->setSource(QUrl::fromLocalFile(page));
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

bool HtmlHelpViewer::command(QWidget* owner, const QString& helpFile, HelpCommand command) {
    switch (command) {
    case HelpCommand::DisplayTopic: return show(owner, QDir(helpFile).filePath(QStringLiteral("index.html")));
    case HelpCommand::DisplayToc: return show(owner, QDir(helpFile).filePath(QStringLiteral("contents.html")));
    case HelpCommand::CloseAll:
        if (window_) window_->close();
        return true;
    }
    return false;
}

} // namespace kavi
