// The help window's Back, Forward and Contents buttons.
#include "desktop/help_viewer.h"
#include "support/temp_folder.h"

#include <QAction>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

namespace kavi {
namespace {

using kavi::testing::TempFolder;

TEST(HelpViewer, BackAndForwardFollowTheHistoryAndContentsShowsTheContents) {
    TempFolder help;
    help.write("index.html", "<html><head><title>Welcome</title></head><body><a href=\"a.html\">a</a></body></html>");
    help.write("a.html", "<html><head><title>Page A</title></head><body>A</body></html>");
    help.write("contents.html", "<html><head><title>Contents</title></head><body>C</body></html>");

    HtmlHelpViewer viewer;
    ASSERT_TRUE(viewer.command(nullptr, help.path(), HelpCommand::DisplayTopic));
    QWidget* window = viewer.window();
    ASSERT_NE(window, nullptr);
    auto* browser = window->findChild<QTextBrowser*>();
    auto* back = window->findChild<QAction*>("helpBack");
    auto* forward = window->findChild<QAction*>("helpForward");
    auto* contents = window->findChild<QAction*>("helpContents");
    ASSERT_TRUE(browser && back && forward && contents);
    const auto page = [&] { return browser->documentTitle(); };
    EXPECT_EQ(page(), "Welcome");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());
    EXPECT_TRUE(contents->isEnabled());

    browser->setSource(QUrl("a.html")); // as a click on the link does
    EXPECT_EQ(page(), "Page A");
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(page(), "Welcome");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(page(), "Page A");
    EXPECT_FALSE(forward->isEnabled());

    contents->trigger();
    EXPECT_EQ(page(), "Contents");
    back->trigger();
    EXPECT_EQ(page(), "Page A") << "the contents page is a step in the history";
}

TEST(HelpViewer, ContentsIsOffWhereTheHelpHasNoContentsPage) {
    TempFolder help;
    help.write("index.html", "<html><head><title>Welcome</title></head><body>W</body></html>");
    HtmlHelpViewer viewer;
    ASSERT_TRUE(viewer.command(nullptr, help.path(), HelpCommand::DisplayTopic));
    EXPECT_FALSE(viewer.window()->findChild<QAction*>("helpContents")->isEnabled());
}

} // namespace
} // namespace kavi
