// The options dialog's place search on a thread of its own: the dialog answers, can be closed and can search again
// while a server takes its time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "widget/internet_thread_win.h"

namespace nimbo {

class PlaceSearch {
public:
    // A finished search posts `doneMessage` to the dialog, with the search's number as wParam.
    explicit PlaceSearch(UINT doneMessage) : m_doneMessage(doneMessage) {}
    // Abandons a running search: its thread ends within its time limits and posts nothing.
    ~PlaceSearch();
    PlaceSearch(const PlaceSearch&) = delete;
    PlaceSearch& operator=(const PlaceSearch&) = delete;

    // Starts downloading `url` and abandons the search that still runs, whose answer is then never taken. False
    // when no thread could be started.
    bool Start(HWND dialog, const std::string& url, const DownloadTimeouts& timeouts, const char* userAgent);
    bool Running() const { return m_running != nullptr; }

    struct Answer {
        int32_t resultCode;  // DownloadText's
        std::string bytes;
    };
    // On the done message: the answer of the search it names when that is the latest; nothing for the late answer
    // of an abandoned one.
    std::optional<Answer> Finish(WPARAM searchNumber);

    struct Job;

private:
    void Abandon();

    UINT m_doneMessage;
    WPARAM m_number = 0;
    std::shared_ptr<Job> m_running;
};

}  // namespace nimbo
