// libcurl on worker threads; results return through a libevent event activated from the worker.
#include "service/server/upstream_fetcher.h"

#include <chrono>
#include <fstream>
#include <sstream>

#include <curl/curl.h>
#include <event2/event.h>

namespace nimbo::service {
namespace {

constexpr size_t kMaxAnswerBytes = 1 << 20;  // a forecast answer is a few kilobytes

size_t Append(char* data, size_t size, size_t count, void* target) {
    auto& body = *static_cast<std::string*>(target);
    if (body.size() + size * count > kMaxAnswerBytes) return 0;  // ends the transfer with an error
    body.append(data, size * count);
    return size * count;
}

// Non-zero ends the transfer: the service is stopping.
int AbortWhenStopping(void* stopping, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(stopping)->load() ? 1 : 0;
}

struct CurlHandle {
    CURL* handle = curl_easy_init();
    ~CurlHandle() { curl_easy_cleanup(handle); }
};

}  // namespace

UpstreamFetcher::UpstreamFetcher(event_base* base, UpstreamSettings settings, std::function<void(UpstreamResult)> done,
                                 int threads)
    : m_settings(std::move(settings)), m_done(std::move(done)) {
    m_wake = event_new(base, -1, 0, &UpstreamFetcher::OnResults, this);
    for (int i = 0; i < threads; ++i) m_threads.emplace_back([this] { Work(); });
}

UpstreamFetcher::~UpstreamFetcher() {
    Stop();
    for (std::thread& thread : m_threads) thread.join();
    event_free(m_wake);
}

void UpstreamFetcher::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_jobsReady.notify_all();
}

void UpstreamFetcher::Fetch(uint32_t place, std::string query) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back({place, std::move(query)});
    }
    m_jobsReady.notify_one();
}

void UpstreamFetcher::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_jobsReady.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        UpstreamResult result = Call(job);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping) return;
            m_results.push_back(std::move(result));
        }
        event_active(m_wake, 0, 0);
    }
}

UpstreamResult UpstreamFetcher::Call(const Job& job) const {
    const auto start = std::chrono::steady_clock::now();
    UpstreamResult result;
    result.place = job.place;
    if (!m_settings.recordedFolder.empty()) {
        std::ifstream file(m_settings.recordedFolder + "/" + std::to_string(job.place) + ".json", std::ios::binary);
        if (file) {
            std::ostringstream body;
            body << file.rdbuf();
            result.body = body.str();
        }
        result.ok = !result.body.empty();
        if (!result.ok) result.error = "no recorded answer for this place";
    } else {
        CurlHandle curl;
        const std::string url = m_settings.url + "?" + job.query;
        char message[CURL_ERROR_SIZE] = "";
        curl_easy_setopt(curl.handle, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl.handle, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl.handle, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl.handle, CURLOPT_TIMEOUT, static_cast<long>(m_settings.timeoutSeconds));
        curl_easy_setopt(curl.handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_settings.timeoutSeconds));
        curl_easy_setopt(curl.handle, CURLOPT_ACCEPT_ENCODING, "");
        curl_easy_setopt(curl.handle, CURLOPT_USERAGENT, "nimbo-service/1.60");
        curl_easy_setopt(curl.handle, CURLOPT_WRITEFUNCTION, &Append);
        curl_easy_setopt(curl.handle, CURLOPT_WRITEDATA, &result.body);
        curl_easy_setopt(curl.handle, CURLOPT_ERRORBUFFER, message);
        curl_easy_setopt(curl.handle, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl.handle, CURLOPT_XFERINFOFUNCTION, &AbortWhenStopping);
        curl_easy_setopt(curl.handle, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&m_stopping));
        const CURLcode code = curl_easy_perform(curl.handle);
        long status = 0;
        curl_easy_getinfo(curl.handle, CURLINFO_RESPONSE_CODE, &status);
        if (code != CURLE_OK) {
            result.error = message[0] ? message : curl_easy_strerror(code);
        } else if (status != 200) {
            result.error = "HTTP status " + std::to_string(status);
        } else {
            result.ok = true;
        }
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void UpstreamFetcher::OnResults(int, short, void* self) {
    auto& fetcher = *static_cast<UpstreamFetcher*>(self);
    std::vector<UpstreamResult> results;
    {
        std::lock_guard<std::mutex> lock(fetcher.m_mutex);
        results.swap(fetcher.m_results);
    }
    for (UpstreamResult& result : results) fetcher.m_done(std::move(result));
}

}  // namespace nimbo::service
