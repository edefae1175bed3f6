// SPDX-License-Identifier: GPL-3.0-or-later
// The HTTP service against a server on 127.0.0.1 that the test runs itself.
#include "tests/update/local_http_server.h"

#include "platform/network/http.h"
#include "tests/support/process_events.h"

#include <gtest/gtest.h>
#include <optional>

using namespace kavi;
using kavi::testing::LocalHttpServer;
using kavi::testing::processEventsUntil;
using Outcome = HttpResponse::Outcome;

namespace {

struct Fetch {
    std::optional<HttpResponse> response;
    std::unique_ptr<HttpTransfer> transfer;
    bool calledInsideGet = false;
};

HttpResponse fetch(Http& http, const QUrl& url, int timeoutMs = 5000, qint64 maxBytes = 1024) {
    Fetch f;
    bool inside = true;
    f.transfer = http.get(url, timeoutMs, maxBytes, [&](const HttpResponse& r) {
        f.calledInsideGet = inside;
        f.response = r;
    });
    inside = false;
    EXPECT_FALSE(f.calledInsideGet);
    processEventsUntil([&] { return f.response.has_value(); });
    return *f.response;
}

} // namespace

TEST(Http, AddressJoinsTheServerAndThePath) {
    QtHttp http(QUrl(QStringLiteral("http://127.0.0.1:8080")));
    EXPECT_EQ(http.address(QStringLiteral("/kavi/kaviver.txt")).toString(),
              QStringLiteral("http://127.0.0.1:8080/kavi/kaviver.txt"));
    http.setBaseAddress(QUrl(QStringLiteral("http://127.0.0.1:8080/mirror/")));
    EXPECT_EQ(http.address(QStringLiteral("/kavi/kaviver.txt")).toString(),
              QStringLiteral("http://127.0.0.1:8080/mirror/kavi/kaviver.txt"));
}

TEST(Http, AnswersAndServerErrorsAreTold) {
    LocalHttpServer server;
    ASSERT_TRUE(server.listening());
    QtHttp http(server.base());

    server.body = "5.00\n";
    HttpResponse ok = fetch(http, http.address(QStringLiteral("/kavi/kaviver.txt")));
    EXPECT_EQ(ok.outcome, Outcome::Ok);
    EXPECT_EQ(ok.status, 200);
    EXPECT_EQ(ok.body, QByteArray("5.00\n"));
    EXPECT_EQ(server.lastRequestLine, QByteArray("GET /kavi/kaviver.txt HTTP/1.1"));

    server.status = 404;
    server.body = "<html>not found</html>";
    HttpResponse missing = fetch(http, http.address(QStringLiteral("/kavi/kaviver.txt")));
    EXPECT_EQ(missing.outcome, Outcome::HttpError);
    EXPECT_EQ(missing.status, 404);
    EXPECT_TRUE(missing.body.isEmpty());

    server.status = 500;
    EXPECT_EQ(fetch(http, http.address(QStringLiteral("/x"))).outcome, Outcome::HttpError);
}

TEST(Http, NoServerIsANetworkErrorAndSilenceATimeOut) {
    QtHttp http(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(kavi::testing::closedLocalPort())));
    HttpResponse refused = fetch(http, http.address(QStringLiteral("/kavi/kaviver.txt")));
    EXPECT_EQ(refused.outcome, Outcome::NetworkError);
    EXPECT_EQ(refused.status, 0);
    EXPECT_FALSE(refused.error.isEmpty());

    LocalHttpServer silent;
    silent.mode = LocalHttpServer::Mode::NeverAnswer;
    http.setBaseAddress(silent.base());
    HttpResponse late = fetch(http, http.address(QStringLiteral("/kavi/kaviver.txt")), 300);
    EXPECT_EQ(late.outcome, Outcome::TimedOut);
    EXPECT_EQ(silent.connections, 1);

    LocalHttpServer hangUp;
    hangUp.mode = LocalHttpServer::Mode::CloseAtOnce;
    http.setBaseAddress(hangUp.base());
    EXPECT_EQ(fetch(http, http.address(QStringLiteral("/v"))).outcome, Outcome::NetworkError);
}

TEST(Http, BodiesOverTheLimitAreRefusedWithOrWithoutALength) {
    LocalHttpServer server;
    QtHttp http(server.base());
    server.body = QByteArray(100, '7');
    EXPECT_EQ(fetch(http, http.address(QStringLiteral("/v")), 5000, 100).outcome, Outcome::Ok);

    server.body = QByteArray(101, '7');
    HttpResponse big = fetch(http, http.address(QStringLiteral("/v")), 5000, 100);
    EXPECT_EQ(big.outcome, Outcome::TooLarge);
    EXPECT_TRUE(big.body.isEmpty());

    server.sendLength = false; // the body simply runs on until the server closes
    server.body = QByteArray(5000, '7');
    EXPECT_EQ(fetch(http, http.address(QStringLiteral("/v")), 5000, 100).outcome, Outcome::TooLarge);
}

TEST(Http, AnAbandonedTransferNeverCallsBack) {
    LocalHttpServer silent;
    silent.mode = LocalHttpServer::Mode::NeverAnswer;
    QtHttp http(silent.base());
    bool called = false;
    auto transfer = http.get(http.address(QStringLiteral("/v")), 200, 100, [&](const HttpResponse&) { called = true; });
    processEventsUntil([&] { return silent.connections == 1; });
    transfer.reset();
    // A second transfer that ends by its time-out proves the event loop ran past the first one's.
    std::optional<HttpResponse> second;
    auto other = http.get(http.address(QStringLiteral("/v")), 400, 100, [&](const HttpResponse& r) { second = r; });
    processEventsUntil([&] { return second.has_value(); });
    EXPECT_FALSE(called);
}
