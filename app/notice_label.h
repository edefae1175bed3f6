// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line notice beside the toolbar's buttons that says what just happened (a file that
// would not load, ...). It goes away by itself after a few seconds, or at the user's next mouse or
// key press anywhere in its window; nothing on it is to be clicked.
#include <QLabel>
#include <QString>

class QTimer;

namespace kavi {

class NoticeLabel final : public QLabel {
    Q_OBJECT
public:
    static constexpr int kShowMs = 6000;

    explicit NoticeLabel(QWidget* parent);

    // Shows text for kShowMs in place of any notice still showing. A text too long for the line is
    // cut in the middle with an ellipsis.
    void showNotice(const QString& text);
    void dismiss();
    // The whole text of the notice showing, or empty.
    QString notice() const { return isHidden() ? QString() : text_; }

    QTimer* tmrNotice; // single shot, kShowMs
    void tmrNotice_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void watchUserActions(bool watch);
    void fitText();
    QString text_;
    bool watching_ = false;
};

} // namespace kavi
