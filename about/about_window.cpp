// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/about_window.h"

#include "about/about_credits.h"
#include "platform/files/program_folder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace kavi {

namespace {

// Credits are light grey on the dark panel.
const QColor kLineColor(0xE0, 0xE0, 0xE0);

// The leading whole number of a text, as a number field reads it: "Text1" and "" read as 0.
int leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == '-' || t[end] == '+')) ++end;
    const int digitsFrom = end;
    while (end < t.size() && t[end].isDigit() && end - digitsFrom < 9) ++end;
    return end > digitsFrom ? t.left(end).toInt() : 0;
}

} // namespace

void CreditsPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked();
}

AboutWindow::AboutWindow(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      platform_(platform) {
    setObjectName("frmAbout");
    setWindowTitle("About");
    background_.load(inProgramFolder("about.bmp"));

    const ScreenUnits& s = platform_.screen;
    setFixedSize(s.x(kPanelWidth), s.y(kPanelHeight));
    // Centred in the available area of the screen.
    const QRect area = platform_.desktop.available();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);

    Picture1 = placeControl(s, new CreditsPanel(this), "Picture1", 0, 0, kPanelWidth, kPanelHeight);
    Picture1->setToolTip("Double click to stop credits.");
    Picture1->setAutoFillBackground(true);
    connect(Picture1, &CreditsPanel::doubleClicked, this, &AboutWindow::Picture1_DblClick);

    Text1 = new QLineEdit("Text1", this);
    Text1->setObjectName("Text1");
    Text1->setVisible(false);

    // Line 1 is the pattern the others are made from.
    auto* first = new QLabel(Picture1);
    first->setObjectName("Label1_1");
    QFont font("Arial");
    font.setPointSize(kFontPoints);
    first->setFont(font);
    QPalette palette = first->palette();
    palette.setColor(QPalette::WindowText, kLineColor);
    first->setPalette(palette);
    first->setAttribute(Qt::WA_TransparentForMouseEvents);
    first->setVisible(false);
    lines_.push_back({first, 0, 0});

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerInterval);
    connect(Timer1, &QTimer::timeout, this, &AboutWindow::Timer1_Timer);
    Timer1->start();
}

QColor AboutWindow::panelColor(raster::ColorRef buttonText) {
    const int r = raster::redOf(buttonText), g = raster::greenOf(buttonText), b = raster::blueOf(buttonText);
    // Under a dark desktop theme button text is light; the light-grey credits need a dark panel.
    const bool dark = 299 * r + 587 * g + 114 * b < 96 * 1000;
    return dark ? QColor(r, g, b) : QColor(Qt::black);
}

void AboutWindow::Form_Activate() {
    // The opener set the busy pointer just before showing this window.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void AboutWindow::Form_Resize() {
    const QLabel* pattern = lines_.front().label;
    for (int i = 2; i <= kLineCount; ++i) {
        if (int(lines_.size()) >= i) continue;
        auto* label = new QLabel(Picture1);
        label->setObjectName(QString("Label1_%1").arg(i));
        label->setFont(pattern->font());
        label->setPalette(pattern->palette());
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        lines_.push_back({label, 0, 0});
    }
    for (Line& l : lines_) {
        l.label->setVisible(true);
        l.label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l.label->setAutoFillBackground(false);
        placeBelowPanel(l);
    }

    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, panelColor(platform_.systemColors.color(kColorButtonText)));
    Picture1->setPalette(palette);

    const QStringList captions = aboutCreditLines();
    for (int i = 0; i < kLineCount; ++i) {
        lines_[std::size_t(i)].label->setText(captions.value(i));
        lines_[std::size_t(i)].label->adjustSize();
    }
    for (Line& l : lines_) {
        centre(l);
        apply(l);
    }
}

void AboutWindow::Timer1_Timer() {
    if (int(lines_.size()) < kLineCount) return; // not laid out yet
    const int offset = scrollOffset() + kScrollStep;
    Text1->setText(QString::number(offset));
    for (int i = 1; i <= kLineCount; ++i) {
        Line& l = lines_[std::size_t(i - 1)];
        l.top = kLineSpacing * i + kPanelHeight - offset;
        apply(l);
    }
    if (lines_.back().top < kRestartAbove) {
        // The last line has left the panel: start again from below its bottom edge.
        for (Line& l : lines_) {
            placeBelowPanel(l);
            QFont font = l.label->font();
            font.setPointSize(kFontPoints);
            l.label->setFont(font);
            l.label->adjustSize();
            centre(l);
            apply(l);
        }
        Text1->setText("0");
    }
}

void AboutWindow::Picture1_DblClick() { close(); }

QLabel* AboutWindow::line(int i) const {
    return i >= 1 && i <= int(lines_.size()) ? lines_[std::size_t(i - 1)].label : nullptr;
}
int AboutWindow::lineTop(int i) const { return line(i) ? lines_[std::size_t(i - 1)].top : 0; }
int AboutWindow::lineLeft(int i) const { return line(i) ? lines_[std::size_t(i - 1)].left : 0; }
int AboutWindow::lineWidth(int i) const { return line(i) ? twipsWide(line(i)) : 0; }
int AboutWindow::lineHeight(int i) const { return line(i) ? twipsHigh(line(i)) : 0; }
int AboutWindow::scrollOffset() const { return leadingNumber(Text1->text()); }

int AboutWindow::twipsWide(const QLabel* label) const {
    return int(std::lround(pixelsToTwips(label->width(), platform_.screen.logicalDpiX())));
}

int AboutWindow::twipsHigh(const QLabel* label) const {
    return int(std::lround(pixelsToTwips(label->fontMetrics().height(), platform_.screen.logicalDpiY())));
}

void AboutWindow::placeBelowPanel(Line& l) { l.top = kPanelHeight + twipsHigh(l.label); }

void AboutWindow::centre(Line& l) { l.left = (kPanelWidth - twipsWide(l.label)) / 2; }

void AboutWindow::apply(const Line& l) { l.label->move(platform_.screen.x(l.left), platform_.screen.y(l.top)); }

bool AboutWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) Form_Activate();
    return QDialog::event(e);
}

void AboutWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}

void AboutWindow::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
}

} // namespace kavi
