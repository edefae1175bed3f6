// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/raster/parallel_parts.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace raster {

namespace {

int coreCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : int(std::min(n, 64u));
}

std::atomic<int> wantedThreads{coreCount()};
thread_local bool insidePart = false;

// One call of runParts as the workers see it.
struct Job {
    const std::function<void(int)>* part = nullptr;
    int parts = 0;
    std::atomic<int> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;

    void runAvailable() {
        insidePart = true;
        for (int i; (i = next.fetch_add(1)) < parts;) {
            try {
                (*part)(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure) failure = std::current_exception();
            }
        }
        insidePart = false;
    }
};

// Worker threads started on first use and kept until the process ends.
class Pool {
public:
    ~Pool() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
    }

    // False when another call holds the pool; the caller then runs the parts alone.
    bool run(Job& job, int threads) {
        std::unique_lock dispatch(dispatch_, std::try_to_lock);
        if (!dispatch.owns_lock()) return false;
        {
            std::unique_lock lock(mutex_);
            while (int(threads_.size()) < threads - 1) {
                try {
                    threads_.emplace_back([this] { workerLoop(); });
                } catch (const std::system_error&) {
                    break; // no more threads to be had: fewer helpers
                }
            }
            job_ = &job;
            helpersWanted_ = threads - 1;
            ++generation_;
        }
        wake_.notify_all();
        job.runAvailable();
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return busy_ == 0; });
        job_ = nullptr;
        return true;
    }

private:
    void workerLoop() {
        std::unique_lock lock(mutex_);
        unsigned long seen = generation_;
        for (;;) {
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            if (!job_ || helpersWanted_ <= 0) continue;
            --helpersWanted_;
            Job* job = job_;
            ++busy_;
            lock.unlock();
            job->runAvailable();
            lock.lock();
            if (--busy_ == 0) done_.notify_all();
        }
    }

    std::mutex dispatch_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    Job* job_ = nullptr;
    int helpersWanted_ = 0;
    int busy_ = 0;
    unsigned long generation_ = 0;
    bool stopping_ = false;
};

Pool& pool() {
    static Pool p;
    return p;
}

} // namespace

int workerThreads() { return wantedThreads.load(); }

void setWorkerThreads(int count) { wantedThreads = count <= 0 ? coreCount() : std::min(count, 64); }

void runParts(int parts, const std::function<void(int)>& part) {
    if (parts <= 0) return;
    Job job;
    job.part = &part;
    job.parts = parts;
    const int threads = std::min(parts, workerThreads());
    if (threads <= 1 || insidePart || !pool().run(job, threads)) job.runAvailable();
    if (job.failure) std::rethrow_exception(job.failure);
}

void runRanges(int count, int grain, const std::function<void(int, int)>& body) {
    if (count <= 0) return;
    grain = std::max(1, grain);
    const int grains = (count + grain - 1) / grain;
    const int parts = std::max(1, std::min(grains, workerThreads()));
    runParts(parts, [&](int p) {
        const int begin = int(std::int64_t(grains) * p / parts) * grain;
        const int end = std::min(count, int(std::int64_t(grains) * (p + 1) / parts) * grain);
        if (begin < end) body(begin, end);
    });
}

} // namespace raster
