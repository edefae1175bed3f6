// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AboutWindow: the product name, release and version, then credits scrolling upward through a dark
// panel like film credits, until the user double-clicks the panel or closes the window.
#include "platform/platform.h"

#include <QDialog>
#include <QImage>

#include <vector>

class QLabel;
class QLineEdit;
class QTimer;

namespace kavi {

// The panel the credits scroll in; a double-click on it closes the window.
class CreditsPanel : public QWidget {
    Q_OBJECT
public:
    explicit CreditsPanel(QWidget* parent) : QWidget(parent) {}
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    // Layout and motion in twips and milliseconds.
    static constexpr int kPanelWidth = 4800;
    static constexpr int kPanelHeight = 3000;
    static constexpr int kLineCount = 44;
    static constexpr int kLineSpacing = 400;
    static constexpr int kScrollStep = 20;
    static constexpr int kRestartAbove = -200;
    static constexpr int kTimerInterval = 40;
    static constexpr int kFontPoints = 12;

    explicit AboutWindow(Platform& platform, QWidget* parent = nullptr);

    void Form_Activate();
    void Form_Resize();
    void Timer1_Timer();
    void Picture1_DblClick();

    // Line i (1 ... kLineCount) once laid out, else null; its place and size in twips.
    QLabel* line(int i) const;
    int lineTop(int i) const;
    int lineLeft(int i) const;
    int lineWidth(int i) const;
    int lineHeight(int i) const;
    // The scroll offset in twips as Text1 holds it; text that is no number reads as 0.
    int scrollOffset() const;
    // The panel's colour: the desktop's button-text colour when it is dark, else black.
    static QColor panelColor(raster::ColorRef buttonText);

    CreditsPanel* Picture1;
    QLineEdit* Text1;
    QTimer* Timer1;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        QLabel* label = nullptr;
        int top = 0;
        int left = 0;
    };
    void placeBelowPanel(Line& line);
    void centre(Line& line);
    void apply(const Line& line);
    int twipsWide(const QLabel* label) const;
    int twipsHigh(const QLabel* label) const;

    Platform& platform_;
    QImage background_;
    std::vector<Line> lines_; // index 0 is line 1
};

} // namespace kavi
