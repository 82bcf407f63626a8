// One download per search on a Win32 thread (the XP build has no std::thread), handed back by a posted message.
#include "widget/config/place_search_win.h"

#include <process.h>

#include <atomic>

namespace nimbo {

// Shared by the dialog and the thread, so that either may end first.
struct PlaceSearch::Job {
    HWND dialog;
    UINT doneMessage;
    WPARAM number;
    std::string url;
    DownloadTimeouts timeouts;
    const char* userAgent;
    std::atomic<bool> abandoned{false};
    // Written by the thread before it posts; read by the dialog only after the message arrived.
    std::atomic<bool> done{false};
    int32_t resultCode = -1;
    std::string bytes;
};

namespace {

unsigned __stdcall SearchThread(void* parameter) {
    const std::unique_ptr<std::shared_ptr<PlaceSearch::Job>> owner(
        static_cast<std::shared_ptr<PlaceSearch::Job>*>(parameter));
    PlaceSearch::Job& job = **owner;
    job.resultCode = DownloadText(job.url, job.bytes, job.timeouts, job.userAgent);
    job.done = true;
    if (!job.abandoned) PostMessageW(job.dialog, job.doneMessage, job.number, 0);
    return 0;
}

}  // namespace

PlaceSearch::~PlaceSearch() { Abandon(); }

void PlaceSearch::Abandon() {
    if (m_running) m_running->abandoned = true;
    m_running.reset();
}

bool PlaceSearch::Start(HWND dialog, const std::string& url, const DownloadTimeouts& timeouts, const char* userAgent) {
    Abandon();
    auto job = std::make_shared<Job>();
    job->dialog = dialog;
    job->doneMessage = m_doneMessage;
    job->number = ++m_number;
    job->url = url;
    job->timeouts = timeouts;
    job->userAgent = userAgent;
    auto threadsShare = std::make_unique<std::shared_ptr<Job>>(job);
    const auto thread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &SearchThread, threadsShare.get(), 0, nullptr));
    if (!thread) return false;
    threadsShare.release();  // the thread owns it now
    CloseHandle(thread);
    m_running = std::move(job);
    return true;
}

std::optional<PlaceSearch::Answer> PlaceSearch::Finish(WPARAM searchNumber) {
    if (!m_running || m_running->number != searchNumber || !m_running->done) return std::nullopt;
    Answer answer{m_running->resultCode, std::move(m_running->bytes)};
    m_running.reset();
    return answer;
}

}  // namespace nimbo
