// TInternetThread: one HTTP GET of a whole document on a background thread, ended by one posted message.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "base/unique_handle_win.h"

namespace nimbo {

// Bounds of one download, so that a server that accepts and never answers, or drips bytes for ever, ends
// as a failure instead of keeping the widget connecting.
struct DownloadTimeouts {
    DWORD connectMs = 15000;  // to open the connection
    DWORD idleMs = 30000;     // for sending the request and for each wait for data
    DWORD totalMs = 120000;   // for the whole download
};

inline constexpr char kDownloadUserAgent[] = "Velmor Weather XML";

// Far above any real feed (tens of kB) or the large recorded ones, low enough that a server that never
// stops sending cannot fill memory.
inline constexpr size_t kMaxDownloadBytes = 8 * 1024 * 1024;

// 0 after a whole document arrived with a 2xx status, -1 when no connection or request could be opened, the
// server answered with another status (an error page is no document), a read failed, the server sent less
// than it announced or more than kMaxDownloadBytes, or a time-out ended the download. `text` holds the
// received bytes after 0 and is empty after -1.
int32_t DownloadText(const std::string& url, std::string& text, const DownloadTimeouts& timeouts = {},
                     const char* userAgent = kDownloadUserAgent);

class TInternetThread {
public:
    // The thread is created suspended when asked (all callers do) and started by Resume.
    TInternetThread(bool createSuspended, HWND owner, std::string url, UINT messageId, DownloadTimeouts timeouts = {});
    // Sets Terminated and waits for a running download to end; a thread never resumed is ended without a
    // wait, and without downloading or posting.
    ~TInternetThread();
    TInternetThread(const TInternetThread&) = delete;
    TInternetThread& operator=(const TInternetThread&) = delete;

    // False when the thread could not be created or started.
    bool Resume();
    void Terminate() { m_terminated = true; }
    bool Terminated() const { return m_terminated; }

    // Read by the owner only after the message arrived: the message is the thread's last action.
    const std::string& ResultText() const { return m_resultText; }
    int32_t ResultCode() const { return m_resultCode; }
    const std::string& URL() const { return m_url; }
    UINT MessageID() const { return m_messageId; }
    HANDLE ThreadHandle() const { return m_thread.Get(); }

private:
    static unsigned __stdcall ThreadProc(void* self);
    void Execute();

    HWND m_owner;
    std::string m_url;
    std::string m_resultText;
    int32_t m_resultCode = -1;
    UINT m_messageId;
    DownloadTimeouts m_timeouts;
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_started{false};
    UniqueKernelHandle m_thread;
};

}  // namespace nimbo
