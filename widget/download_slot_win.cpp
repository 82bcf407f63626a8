// The start and finish of one kind of request.
#include "widget/download_slot_win.h"

namespace nimbo {

bool DownloadSlot::Start(const std::string& url) {
    m_thread.reset();
    auto thread = std::make_unique<TInternetThread>(true, m_owner, url, m_doneMessage);
    if (!thread->Resume()) return false;
    m_thread = std::move(thread);
    return true;
}

std::optional<std::string> DownloadSlot::Finish() {
    if (!m_thread) return std::nullopt;
    std::string bytes = m_thread->ResultText();
    m_thread.reset();
    return bytes;
}

}  // namespace nimbo
