// The new-version question box and the download page.
#include "widget/version_prompt_win.h"

#include "base/wide_text_win.h"
#include "widget/version_check.h"

namespace nimbo {

bool OfferNewVersion(HWND owner, const std::string& latest, const std::string& downloadPageUrl,
                     const std::function<void(HWND, const std::string&)>& open) {
    const int answer = MessageBoxW(owner, Widen(NewVersionQuestion(latest)).c_str(), Widen(kNewVersionCaption).c_str(),
                                   MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES) return false;
    open(owner, downloadPageUrl);
    return true;
}

}  // namespace nimbo
