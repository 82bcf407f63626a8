// The question about a newer version, and opening the download page when the user wants it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "widget/web_page_win.h"

namespace nimbo {

// Shows the Turkish Yes/No question owned by `owner`; on Yes opens `downloadPageUrl` through `open`.
// True when the user answered Yes.
bool OfferNewVersion(HWND owner, const std::string& latest, const std::string& downloadPageUrl,
                     const std::function<void(HWND, const std::string&)>& open = OpenUrl);

}  // namespace nimbo
