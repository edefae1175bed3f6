// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/print/cups_job.h"

#include "platform/print/cups_call.h"

#include <cups/cups.h>

#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <optional>

namespace kavi {

namespace {

constexpr int kConnectMilliseconds = 5000;
constexpr double kSilenceSeconds = 5; // a server that neither answers nor takes data for this long is given up

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpCloser>;

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

// A job whose send broke off while the server did not answer. Its number is unknown when the
// server took the request to create it but never answered: it is then found by its queue, name,
// owner and start, and by holding no document.
struct LeftoverJob {
    QByteArray queue;
    QByteArray title;
    int id = 0;
    std::time_t started = 0;
};

std::mutex leftoverMutex;
std::vector<LeftoverJob> leftovers;

// Cancels the job over the connection; true when it is gone or was never there.
bool cancelLeftover(http_t* http, const LeftoverJob& job) {
    if (job.id != 0) {
        cupsCancelJob2(http, job.queue.constData(), job.id, 0);
        const ipp_status_t status = cupsLastError();
        return status <= IPP_STATUS_OK_CONFLICTING || status == IPP_STATUS_ERROR_NOT_FOUND ||
            status == IPP_STATUS_ERROR_NOT_POSSIBLE;
    }
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(http, &jobs, job.queue.constData(), 1, CUPS_WHICHJOBS_ACTIVE);
    if (count < 0 || (count == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING)) return false;
    bool done = true;
    for (int i = 0; i < count; ++i) {
        const cups_job_t& j = jobs[i];
        if (j.title && job.title == j.title && j.size == 0 && j.creation_time >= job.started - 1) {
            cupsCancelJob2(http, job.queue.constData(), j.id, 0);
            if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) done = false;
        }
    }
    cupsFreeJobs(count, jobs);
    return done;
}

void rememberLeftover(LeftoverJob job) {
    const std::lock_guard lock(leftoverMutex);
    leftovers.push_back(std::move(job));
}

} // namespace

void cancelLeftoverJobs() {
    std::vector<LeftoverJob> pending;
    {
        const std::lock_guard lock(leftoverMutex);
        pending.swap(leftovers);
    }
    if (pending.empty()) return;
    Connection http(connectToServer());
    for (LeftoverJob& job : pending)
        if (!http || !cancelLeftover(http.get(), job)) rememberLeftover(std::move(job));
}

namespace {

// A connection that a request given up on may still hold: it is closed by whoever lets go last.
using SharedConnection = std::shared_ptr<http_t>;

SharedConnection connectShared() {
    http_t* http = connectToServer();
    return http ? SharedConnection(http, HttpCloser()) : SharedConnection();
}

struct Created {
    int job = 0;
    ipp_status_t status = IPP_STATUS_OK;
};

} // namespace

// libcups may wait far longer than the connection's time-out for an answer to a request (it
// reconnects and tries again), so each request runs bounded; the document's data is written here,
// where the time-out holds.
bool printPdfJob(const QString& printer, const QString& title, const JobOptions& options,
                 const std::function<bool(const pdf::Sink&)>& writeDocument) {
    if (printServiceHanging()) return false; // an earlier question still waits for the server
    runBounded(cancelLeftoverJobs);
    SharedConnection http = connectShared();
    if (!http) return false;
    const QByteArray queue = printer.toUtf8();
    const QByteArray name = title.toUtf8();
    const std::time_t started = std::time(nullptr);
    const std::optional<Created> created = callBounded<Created>([http, queue, name, options] {
        Options jobOptions;
        for (const auto& [option, value] : options)
            jobOptions.count = cupsAddOption(option.constData(), value.constData(), jobOptions.count, &jobOptions.list);
        const int job =
            cupsCreateJob(http.get(), queue.constData(), name.constData(), jobOptions.count, jobOptions.list);
        return Created{job, cupsLastError()};
    });
    if (!created || created->job == 0) {
        // No answer: the server may still take the request once it runs again, and would then
        // hold an empty job.
        if (!created || created->status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ||
            created->status == IPP_STATUS_ERROR_INTERNAL)
            rememberLeftover({queue, name, 0, started});
        return false;
    }
    const int job = created->job;

    bool sent = callBounded<bool>([http, queue, name, job] {
                    return cupsStartDocument(http.get(), queue.constData(), job, name.constData(), CUPS_FORMAT_PDF,
                                             1) == HTTP_STATUS_CONTINUE;
                }).value_or(false);
    if (sent) {
        try {
            sent = writeDocument([&http](const void* data, std::size_t size) {
                return cupsWriteRequestData(http.get(), static_cast<const char*>(data), size) == HTTP_STATUS_CONTINUE;
            });
        } catch (const std::bad_alloc&) {
            sent = false; // too little memory to finish the document
        }
    }
    if (sent)
        sent = callBounded<bool>([http, queue] {
                   return cupsFinishDocument(http.get(), queue.constData()) <= IPP_STATUS_OK_CONFLICTING;
               }).value_or(false);
    if (!sent) {
        // The document is unfinished: drop that connection, so the server never prints the part it
        // has, and cancel the job over a fresh one; if the server does not take that now, later.
        http.reset();
        const LeftoverJob leftover{queue, name, job, started};
        const bool cancelled = callBounded<bool>([leftover] {
                                   Connection fresh(connectToServer());
                                   return fresh && cancelLeftover(fresh.get(), leftover);
                               }).value_or(false);
        if (!cancelled) rememberLeftover(leftover);
    }
    return sent;
}

} // namespace kavi
