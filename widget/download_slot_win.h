// One outstanding request of a kind (feed, address, version): started on a TInternetThread, finished by its
// message.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "widget/internet_thread_win.h"

namespace nimbo {

class DownloadSlot {
public:
    // The finished thread posts `doneMessage` to `owner`.
    DownloadSlot(HWND owner, UINT doneMessage) : m_owner(owner), m_doneMessage(doneMessage) {}

    // A thread exists and has not ended.
    bool Running() const { return m_thread && !m_thread->Terminated(); }
    // Frees the old thread and starts one on `url`; false when it could not be started, and then none is left.
    bool Start(const std::string& url);
    // On the done message: the received bytes, the thread freed. Nothing for a stray message with no thread.
    std::optional<std::string> Finish();
    // Waits for a running download to end.
    void Reset() { m_thread.reset(); }

private:
    HWND m_owner;
    UINT m_doneMessage;
    std::unique_ptr<TInternetThread> m_thread;
};

}  // namespace nimbo
