// SPDX-License-Identifier: GPL-3.0-or-later
#include "cups_job.h"

#include <cups/cups.h>

#include <memory>
#include <new>

namespace kavi {

namespace {

constexpr int kConnectMilliseconds = 10000;
constexpr double kSilenceSeconds = 60; // a server that takes no data for this long is given up

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};

struct Options {
    int count = 0;
    cups_option_t* list = nullptr;
    ~Options() { cupsFreeOptions(count, list); }
};

http_t* connectToServer() {
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMilliseconds, nullptr);
    if (http)
        httpSetTimeout(
            http, kSilenceSeconds, [](http_t*, void*) { return 0; }, nullptr);
    return http;
}

} // namespace

bool printPdfJob(const QString& printer, const QString& title, const JobOptions& options,
                 const std::function<bool(const pdf::Sink&)>& writeDocument) {
    std::unique_ptr<http_t, HttpCloser> http(connectToServer());
    if (!http) return false;
    Options jobOptions;
    for (const auto& [name, value] : options)
        jobOptions.count = cupsAddOption(name.constData(), value.constData(), jobOptions.count, &jobOptions.list);
    const QByteArray queue = printer.toUtf8();
    const QByteArray name = title.toUtf8();
    const int job = cupsCreateJob(http.get(), queue.constData(), name.constData(), jobOptions.count, jobOptions.list);
    if (job == 0) return false;

    bool sent = cupsStartDocument(http.get(), queue.constData(), job, name.constData(), CUPS_FORMAT_PDF, 1) ==
        HTTP_STATUS_CONTINUE;
    if (sent) {
        try {
            sent = writeDocument([&http](const void* data, std::size_t size) {
                return cupsWriteRequestData(http.get(), static_cast<const char*>(data), size) == HTTP_STATUS_CONTINUE;
            });
        } catch (const std::bad_alloc&) {
            sent = false; // too little memory to finish the document
        }
    }
    if (sent) sent = cupsFinishDocument(http.get(), queue.constData()) <= IPP_STATUS_OK_CONFLICTING;
    if (!sent) {
        // The document is unfinished: drop that connection, so the server never prints the part it
        // has, and cancel the job over a fresh one.
        http.reset(connectToServer());
        if (http) cupsCancelJob2(http.get(), queue.constData(), job, 0);
    }
    return sent;
}

} // namespace kavi
