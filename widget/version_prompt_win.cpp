// The new-version question box and the download page.
#include "widget/version_prompt_win.h"

#include <shellapi.h>

#include "base/wide_text_win.h"
#include "widget/version_check.h"

namespace nimbo {

void OpenUrl(HWND owner, const std::string& url) {
    ShellExecuteW(owner, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool OfferNewVersion(HWND owner, const std::string& latest, const std::string& downloadPageUrl,
                     const std::function<void(HWND, const std::string&)>& open) {
    const int answer = MessageBoxW(owner, Widen(NewVersionQuestion(latest)).c_str(), Widen(kNewVersionCaption).c_str(),
                                   MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES) return false;
    open(owner, downloadPageUrl);
    return true;
}

}  // namespace nimbo
