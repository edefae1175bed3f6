// SPDX-License-Identifier: GPL-3.0-or-later
// The help window's Back, Forward and Contents buttons.
#include "platform/desktop/help_viewer.h"
#include "tests/support/temp_folder.h"

#include <QAction>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

namespace kavi {
namespace {

TEST(HelpViewer, BackAndForwardFollowTheHistoryAndContentsShowsTheContents) {
    kavi::testing::TempFolder help;
    for (const char* page : {"index", "a", "contents"})
        help.write(QString("%1.html").arg(page), QByteArray("<html><head><title>") + page + "</title></head></html>");
    HtmlHelpViewer viewer;
    ASSERT_TRUE(viewer.command(nullptr, help.path(), HelpCommand::DisplayTopic));
    auto* browser = viewer.window()->findChild<QTextBrowser*>();
    auto* back = viewer.window()->findChild<QAction*>("helpBack");
    auto* forward = viewer.window()->findChild<QAction*>("helpForward");
    auto* contents = viewer.window()->findChild<QAction*>("helpContents");
    ASSERT_TRUE(browser && back && forward && contents);
    const auto page = [&] { return browser->documentTitle(); };
    EXPECT_FALSE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    browser->setSource(QUrl("a.html")); // as a click on a link does
    back->trigger();
    EXPECT_EQ(page(), "index");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(page(), "a");
    EXPECT_FALSE(forward->isEnabled());

    contents->trigger();
    EXPECT_EQ(page(), "contents");
    back->trigger();
    EXPECT_EQ(page(), "a") << "the contents page is a step in the history";
}

} // namespace
} // namespace kavi
