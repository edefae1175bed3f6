// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tiny HTTP server on 127.0.0.1 inside the test process, answering on the test's event loop.
#include <QByteArray>
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <functional>

namespace kavi::testing {

class LocalHttpServer {
public:
    enum class Mode { Answer, NeverAnswer, CloseAtOnce };

    LocalHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(&server_);
                ++connections;
                if (mode == Mode::CloseAtOnce) {
                    s->close();
                    continue;
                }
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { onRequest(s); });
            }
        });
    }

    QUrl base() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort())); }
    bool listening() const { return server_.isListening(); }

    Mode mode = Mode::Answer;
    int status = 200;
    QByteArray body;
    bool sendLength = true;
    int connections = 0;
    QByteArray lastRequestLine;

private:
    void onRequest(QTcpSocket* s) {
        const QByteArray request = s->readAll();
        lastRequestLine = request.left(request.indexOf("\r\n"));
        if (mode == Mode::NeverAnswer) return;
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Error") + "\r\n";
        reply += "Content-Type: text/plain\r\nConnection: close\r\n";
        if (sendLength) reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        reply += "\r\n" + body;
        s->write(reply);
        s->disconnectFromHost();
    }

    QTcpServer server_;
};

// A port on 127.0.0.1 where nothing listens: a connection there is refused.
inline quint16 closedLocalPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort(); // closed again when the probe goes
}

} // namespace kavi::testing
