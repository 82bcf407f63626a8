// Opening a web page in the user's browser.
#pragma once

#include <windows.h>

#include <string>

namespace nimbo {

// Opens a web page (http or https) with the shell's "open" verb, shown normally; any other address is not opened.
void OpenUrl(HWND owner, const std::string& url);

}  // namespace nimbo
