// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HTTP GET of small files, always with a time-out and a size limit, never blocking the window.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace kavi {

struct HttpResponse {
    enum class Outcome {
        Ok, // a 2xx answer with the whole body
        HttpError, // the server answered with another status (404, 500, ...)
        NetworkError, // no answer: refused, unknown host, connection dropped
        TimedOut, // no complete answer within the time-out
        TooLarge, // the body was longer than the limit
    };
    Outcome outcome = Outcome::NetworkError;
    int status = 0; // the HTTP status, 0 when the server never answered
    QByteArray body; // the body when the outcome is Ok
    QString error; // the network layer's description when it is not
};

// A running GET. Destroying it abandons the transfer: its callback never runs afterwards.
class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;
};

using HttpCallback = std::function<void(const HttpResponse&)>;

class Http {
public:
    virtual ~Http() = default;
    // The server of the maker's files; a path such as "/kavi/kaviver.txt" is fetched from there.
    virtual QUrl baseAddress() const = 0;
    QUrl address(const QString& path) const;
    // Starts fetching the address; `done` runs once on the event loop, never inside this call. The
    // transfer must outlive the call of `done`: drop it afterwards, not from inside `done`.
    virtual std::unique_ptr<HttpTransfer> get(const QUrl& url, int timeoutMs, qint64 maxBytes, HttpCallback done) = 0;
};

// Qt Network. The network access manager is made at the first request.
class QtHttp final : public Http {
public:
    explicit QtHttp(QUrl baseAddress);
    ~QtHttp() override;
    QUrl baseAddress() const override { return base_; }
    void setBaseAddress(const QUrl& base) { base_ = base; }
    std::unique_ptr<HttpTransfer> get(const QUrl& url, int timeoutMs, qint64 maxBytes, HttpCallback done) override;

private:
    QUrl base_;
    std::unique_ptr<QNetworkAccessManager> manager_;
};

} // namespace kavi
