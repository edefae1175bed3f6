// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's HTML help, shown in a window of its own. The help is a folder of HTML pages in the
// program folder named like a help file (Kavi4.chm); index.html is the first topic, contents.html the
// table of contents. The window has Back and Forward (enabled while there is a page to go to) and
// Contents, which shows the table of contents.
#include <QString>

class QWidget;

namespace kavi {

enum class HelpCommand { DisplayTopic = 0, DisplayToc = 1, CloseAll = 18 };

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Returns true when the command was carried out.
    virtual bool command(QWidget* owner, const QString& helpFile, HelpCommand command) = 0;
};

class HtmlHelpViewer final : public HelpViewer {
public:
    ~HtmlHelpViewer() override;
    bool command(QWidget* owner, const QString& helpFile, HelpCommand command) override;
    int openWindows() const;
    // The help window once it has been opened, for tests; null before.
    QWidget* window() const;

private:
    bool show(QWidget* owner, const QString& page);
    class Window;
    Window* window_ = nullptr;
};

} // namespace kavi
