// The main window's notice: where it shows, and that it goes away by itself or at the user's next
// press in the window, but not at the press that brought it nor at presses in other windows.
#include "frmcovercreator.h"
#include "notice_label.h"
#include "tab_strip.h"
#include "support/test_platform.h"

#include <QApplication>
#include <QGroupBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

class Notice : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    frmcovercreator window{services.platform};
    NoticeLabel* notice() { return window.lblNotice; }

    void SetUp() override { window.show(); }
    // Shows a notice and lets the press that brought it finish.
    void showNotice(const QString& text) {
        window.ShowNotice(text);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(Notice, ShowsOneLineOverTheBottomOfTheTabStrip) {
    EXPECT_TRUE(notice()->notice().isEmpty());
    EXPECT_FALSE(notice()->isVisible());
    showNotice("A short line.");
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_EQ(notice()->notice(), "A short line.");
    EXPECT_EQ(notice()->text(), "A short line.");
    const QRect strip = window.SSTab1->geometry(), line = notice()->geometry();
    EXPECT_TRUE(strip.contains(line)) << "inside the tab strip";
    EXPECT_GT(line.top(), strip.center().y()) << "in its lower half";
    EXPECT_LT(line.height(), 2 * notice()->fontMetrics().height()) << "one line";

    const QString longer = QString("A long text that cannot fit. ").repeated(10) + "The end.";
    showNotice(longer);
    EXPECT_EQ(notice()->notice(), longer);
    EXPECT_TRUE(notice()->text().contains(QChar(0x2026))) << "cut with an ellipsis";
    EXPECT_TRUE(notice()->text().endsWith("The end.")) << "cut in the middle";
}

TEST_F(Notice, GoesAwayWhenItsTimeIsUpAndANewOneStartsAgain) {
    showNotice("First.");
    EXPECT_TRUE(notice()->tmrNotice->isActive());
    EXPECT_EQ(notice()->tmrNotice->interval(), NoticeLabel::kShowMs);
    notice()->tmrNotice_Timer();
    EXPECT_FALSE(notice()->isVisible());
    EXPECT_TRUE(notice()->notice().isEmpty());
    EXPECT_FALSE(notice()->tmrNotice->isActive());

    showNotice("Second.");
    showNotice("Third.");
    EXPECT_EQ(notice()->notice(), "Third.");
    EXPECT_TRUE(notice()->tmrNotice->isActive());
}

TEST_F(Notice, GoesAwayAtTheNextPressInItsWindowOnly) {
    QWidget other;
    other.show();
    showNotice("Pressed away.");
    QTest::mouseClick(&other, Qt::LeftButton);
    QTest::keyClick(&other, Qt::Key_A);
    EXPECT_EQ(notice()->notice(), "Pressed away.") << "presses in other windows leave it";

    QTest::mouseClick(window.Frame4, Qt::LeftButton);
    EXPECT_TRUE(notice()->notice().isEmpty()) << "a mouse press in the window";
    EXPECT_FALSE(notice()->tmrNotice->isActive());

    showNotice("Keyed away.");
    QTest::keyClick(&window, Qt::Key_Shift);
    EXPECT_TRUE(notice()->notice().isEmpty()) << "a key press in the window";

    // A press that brings a notice, even one passed on to the controls below, leaves it standing.
    struct Announcer final : QWidget {
        using QWidget::QWidget;
        frmcovercreator* window = nullptr;
        void mousePressEvent(QMouseEvent* event) override {
            window->ShowNotice("From a press.");
            event->ignore();
        }
    };
    auto* announcer = new Announcer(window.Frame4);
    announcer->window = &window;
    announcer->setGeometry(0, 0, 20, 20);
    announcer->show();
    QTest::mouseClick(announcer, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(notice()->notice(), "From a press.");
}
