// The question about a newer version, and opening the download page when the user wants it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace nimbo {

// Opens a URL with the shell's "open" verb, shown normally.
void OpenUrl(HWND owner, const std::string& url);

// Shows the Turkish Yes/No question owned by `owner`; on Yes opens `downloadPageUrl` through `open`.
// True when the user answered Yes.
bool OfferNewVersion(HWND owner, const std::string& latest, const std::string& downloadPageUrl,
                     const std::function<void(HWND, const std::string&)>& open = OpenUrl);

}  // namespace nimbo
