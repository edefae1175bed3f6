// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's notice: where it shows (over no control on any tab), and that it goes away
// when its time is up or at the user's next press in the window, but not at the press that brought
// it nor at presses elsewhere.
#include "app/main_window.h"
#include "app/notice_label.h"
#include "app/tab_strip.h"
#include "tests/support/test_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>

using namespace kavi;

namespace {

class Notice : public ::testing::Test {
protected:
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};
    NoticeLabel& label = *window.lblNotice;

    void SetUp() override { window.show(); }
    // Shows a notice and lets the press that brought it finish.
    void showNotice(const QString& text) {
        window.ShowNotice(text);
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(Notice, ShowsOneLineBesideTheToolbarButtonsUntilItsTimeIsUp) {
    EXPECT_TRUE(label.notice().isEmpty());
    showNotice("First.");
    EXPECT_TRUE(label.isVisible());
    EXPECT_EQ(label.text(), "First.");
    const QRect bar = window.Toolbar1->geometry(), line = label.geometry();
    EXPECT_TRUE(bar.contains(line)) << "in the toolbar's row";
    EXPECT_GT(line.width(), bar.width() / 4) << "long enough to be read";
    EXPECT_LT(line.height(), 2 * label.fontMetrics().height()) << "one line";
    EXPECT_EQ(label.tmrNotice->interval(), NoticeLabel::kShowMs);
    label.tmrNotice_Timer();
    EXPECT_FALSE(label.isVisible());
    EXPECT_TRUE(label.notice().isEmpty());

    const QString longer = QString("A long text that cannot fit. ").repeated(10) + "The end.";
    showNotice("Second.");
    showNotice(longer);
    EXPECT_EQ(label.notice(), longer) << "the newest notice replaces the one showing";
    EXPECT_TRUE(label.text().contains(QChar(0x2026)) && label.text().endsWith("The end.")) << "cut in the middle";
    EXPECT_TRUE(label.tmrNotice->isActive());
}

// Every control a user sees on the tab showing, the Scan tab's buttons and each cover's
// "Picture:" box included, and each cover picture: none of them lies under the notice.
TEST_F(Notice, CoversNoControlAndNoCoverOnAnyTab) {
    showNotice("A notice that says what happened to a file with a rather long name.jpg");
    const QRect line(label.mapTo(&window, QPoint(0, 0)), label.size());
    for (int tab = 0; tab < window.SSTab1->count(); ++tab) {
        window.SSTab1->setCurrentIndex(tab);
        QApplication::processEvents();
        ASSERT_TRUE(label.isVisible());
        int controls = 0;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (w == &label || !w->isVisible() || w->isAncestorOf(&label)) continue;
            const bool leaf = std::none_of(w->children().begin(), w->children().end(), [](QObject* child) {
                return child->isWidgetType() && static_cast<QWidget*>(child)->isVisible();
            });
            if (!leaf && !qobject_cast<QAbstractButton*>(w) && !qobject_cast<QComboBox*>(w)) continue;
            ++controls;
            const QRect at(w->mapTo(&window, QPoint(0, 0)), w->size());
            EXPECT_FALSE(at.intersects(line))
                << "tab " << tab << ": " << w->metaObject()->className() << " " << w->objectName().toStdString();
        }
        EXPECT_GT(controls, 10) << "the controls of tab " << tab << " were looked at";
    }
    EXPECT_NE(window.findChild<QWidget*>("cmdSave"), nullptr);
}

TEST_F(Notice, GoesAwayAtTheNextPressInItsWindowOnly) {
    QWidget other;
    other.show();
    showNotice("Pressed away.");
    QTest::mouseClick(&other, Qt::LeftButton);
    QTest::keyClick(&other, Qt::Key_A);
    EXPECT_EQ(label.notice(), "Pressed away.") << "presses in other windows leave it";
    QTest::mouseClick(window.Frame4, Qt::LeftButton);
    EXPECT_TRUE(label.notice().isEmpty()) << "a mouse press in the window";
    EXPECT_FALSE(label.tmrNotice->isActive());

    showNotice("Keyed away.");
    QTest::keyClick(&window, Qt::Key_Shift);
    EXPECT_TRUE(label.notice().isEmpty()) << "a key press in the window";

    // A press that brings a notice, even one passed on to the controls below, leaves it standing.
    struct Announcer final : QWidget {
        using QWidget::QWidget;
        MainWindow* window = nullptr;
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
    EXPECT_EQ(label.notice(), "From a press.");
}
