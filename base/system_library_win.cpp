#include "base/system_library_win.h"

#include <commctrl.h>

namespace nimbo {

bool EnsureCommonControls() {
    // Registered once: the classes stay until the process ends, so the library is never freed.
    static const bool loaded = [] {
        const HMODULE library = LoadLibraryW(L"comctl32.dll");
        const auto initialize = SystemLibrary::FindIn<decltype(InitCommonControlsEx)>(library, "InitCommonControlsEx");
        if (!initialize) return false;
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        return initialize(&controls) != FALSE;
    }();
    return loaded;
}

}  // namespace nimbo
