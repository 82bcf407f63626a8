// Web pages through the shell, and nothing else through it.
#include "widget/web_page_win.h"

#include <shellapi.h>

#include "base/untrusted_text.h"
#include "base/wide_text_win.h"

namespace nimbo {

void OpenUrl(HWND owner, const std::string& url) {
    // The shell opens programs, shares and every registered scheme too: only a web page goes to it.
    if (!IsWebAddress(url)) return;
    ShellExecuteW(owner, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace nimbo
