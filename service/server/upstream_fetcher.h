// Upstream calls off the event loop: worker threads ask the forecast API with libcurl (or read a recorded
// answer) and hand each result back to the loop thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct event;
struct event_base;

namespace nimbo::service {

struct UpstreamResult {
    uint32_t place = 0;
    bool ok = false;
    std::string body;
    std::string error;
    double seconds = 0;
};

struct UpstreamSettings {
    std::string url;  // the endpoint; the query is the service's own
    int timeoutSeconds = 10;
    std::string recordedFolder;  // when set, <folder>/<place>.json instead of the network
};

class UpstreamFetcher {
public:
    // `done` runs on the loop thread of `base` (which must have libevent's pthreads locking on).
    UpstreamFetcher(event_base* base, UpstreamSettings settings, std::function<void(UpstreamResult)> done,
                    int threads = 4);
    ~UpstreamFetcher();
    UpstreamFetcher(const UpstreamFetcher&) = delete;
    UpstreamFetcher& operator=(const UpstreamFetcher&) = delete;

    // `query` is made by the service from coordinates it looked up itself.
    void Fetch(uint32_t place, std::string query);

    // Drops the queued calls and aborts the running ones (within about a second: curl asks its progress
    // callback that often); their results are not delivered.
    void Stop();

private:
    struct Job {
        uint32_t place;
        std::string query;
    };

    void Work();
    UpstreamResult Call(const Job& job) const;
    static void OnResults(int, short, void* self);

    UpstreamSettings m_settings;
    std::function<void(UpstreamResult)> m_done;
    event* m_wake = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_jobsReady;
    std::deque<Job> m_jobs;
    std::vector<UpstreamResult> m_results;
    std::atomic<bool> m_stopping{false};
    std::vector<std::thread> m_threads;
};

}  // namespace nimbo::service
