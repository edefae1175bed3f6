// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notice_label.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace kavi {

NoticeLabel::NoticeLabel(QWidget* parent) : QLabel(parent), tmrNotice(new QTimer(this)) {
    setObjectName(QStringLiteral("lblNotice"));
    setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(38, 42, 48, 228); color: white; padding: 3px 8px; border-radius: 3px; }"));
    setTextFormat(Qt::PlainText);
    // Presses go to whatever lies below; the notice itself is never a target.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    tmrNotice->setObjectName(QStringLiteral("tmrNotice"));
    tmrNotice->setSingleShot(true);
    tmrNotice->setInterval(kShowMs);
    connect(tmrNotice, &QTimer::timeout, this, [this] { tmrNotice_Timer(); });
}

void NoticeLabel::showNotice(const QString& text) {
    text_ = text;
    fitText();
    raise();
    show();
    tmrNotice->start();
    // The press that led to this notice is still being delivered: watching starts after it.
    QMetaObject::invokeMethod(
        this, [this] { watchUserActions(!isHidden()); }, Qt::QueuedConnection);
}

void NoticeLabel::dismiss() {
    tmrNotice->stop();
    watchUserActions(false);
    hide();
}

void NoticeLabel::tmrNotice_Timer() { dismiss(); }

void NoticeLabel::watchUserActions(bool watch) {
    if (watch == watching_) return;
    watching_ = watch;
    if (watch) qApp->installEventFilter(this);
    else qApp->removeEventFilter(this);
}

bool NoticeLabel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::KeyPress) {
        const auto* target = qobject_cast<QWidget*>(watched);
        if (target && target->window() == window()) dismiss();
    }
    return false;
}

void NoticeLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}

void NoticeLabel::fitText() { setText(fontMetrics().elidedText(text_, Qt::ElideMiddle, contentsRect().width())); }

} // namespace kavi
