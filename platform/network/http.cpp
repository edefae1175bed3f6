// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/network/http.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

namespace kavi {

QUrl Http::address(const QString& path) const {
    QUrl url = baseAddress();
    QString base = url.path();
    while (base.endsWith(QLatin1Char('/'))) base.chop(1);
    url.setPath(base + (path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path));
    return url;
}

namespace {

class QtHttpTransfer final : public QObject, public HttpTransfer {
public:
    QtHttpTransfer(QNetworkReply* reply, int timeoutMs, qint64 maxBytes, HttpCallback done)
        : reply_(reply), maxBytes_(maxBytes), done_(std::move(done)) {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { stop(HttpResponse::Outcome::TimedOut); });
        connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
            if (received > maxBytes_ || total > maxBytes_) stop(HttpResponse::Outcome::TooLarge);
        });
        connect(reply_, &QNetworkReply::finished, this, &QtHttpTransfer::finished);
        timer_.start(timeoutMs);
    }

    ~QtHttpTransfer() override {
        if (!reply_) return;
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }

private:
    // Ends the transfer early; `finished` follows at once and reports the reason.
    void stop(HttpResponse::Outcome reason) {
        if (stopReason_ || !reply_) return;
        stopReason_ = reason;
        reply_->abort();
    }

    void finished() {
        timer_.stop();
        HttpResponse r;
        r.status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        r.error = reply_->errorString();
        if (stopReason_) {
            r.outcome = *stopReason_;
        } else if (reply_->error() == QNetworkReply::NoError && r.status >= 200 && r.status < 300) {
            r.body = reply_->read(maxBytes_ + 1);
            r.outcome = r.body.size() > maxBytes_ ? HttpResponse::Outcome::TooLarge : HttpResponse::Outcome::Ok;
            if (r.outcome != HttpResponse::Outcome::Ok) r.body.clear();
        } else {
            r.outcome = r.status != 0 ? HttpResponse::Outcome::HttpError : HttpResponse::Outcome::NetworkError;
        }
        reply_->disconnect(this);
        reply_->deleteLater();
        reply_ = nullptr;
        // The callback may destroy this transfer, so nothing of it is touched afterwards.
        HttpCallback done = std::move(done_);
        if (done) done(r);
    }

    QPointer<QNetworkReply> reply_;
    qint64 maxBytes_;
    HttpCallback done_;
    QTimer timer_;
    std::optional<HttpResponse::Outcome> stopReason_;
};

} // namespace

QtHttp::QtHttp(QUrl baseAddress) : base_(std::move(baseAddress)) {}
QtHttp::~QtHttp() = default;

std::unique_ptr<HttpTransfer> QtHttp::get(const QUrl& url, int timeoutMs, qint64 maxBytes, HttpCallback done) {
    if (!manager_) manager_ = std::make_unique<QNetworkAccessManager>();
    // A proxy from the environment must not stand between us and a server on this machine.
    const bool local = QHostAddress(url.host()).isLoopback() || url.host() == QLatin1String("localhost");
    manager_->setProxy(local ? QNetworkProxy(QNetworkProxy::NoProxy) : QNetworkProxy(QNetworkProxy::DefaultProxy));
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    return std::make_unique<QtHttpTransfer>(manager_->get(request), timeoutMs, maxBytes, std::move(done));
}

} // namespace kavi
