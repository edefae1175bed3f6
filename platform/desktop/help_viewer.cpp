#include "help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
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
        browser = new QTextBrowser(this);
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        resize(720, 560);
    }
    QTextBrowser* browser;
};

HtmlHelpViewer::~HtmlHelpViewer() { delete window_; }

int HtmlHelpViewer::openWindows() const { return window_ && window_->isVisible() ? 1 : 0; }

bool HtmlHelpViewer::show(QWidget*, const QString& page) {
    if (!QFileInfo(page).isFile()) return false;
    if (!window_) window_ = new Window;
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
