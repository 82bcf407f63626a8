// System DLLs used through run-time linking: for functions a Windows version may lack, and for libraries loaded
// only when a feature needs them, so that an idle widget does not carry them.
#pragma once

#include <windows.h>

#include "base/unique_handle_win.h"

namespace nimbo {

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};

// A loaded DLL, freed when this object ends.
class SystemLibrary {
public:
    // Found the way the loader finds imports, so the manifest's common controls stay the ones used.
    explicit SystemLibrary(const wchar_t* name) : m_module(LoadLibraryW(name)) {}

    // The exported function `name` typed as `Function` (a function type), or null.
    template <typename Function>
    Function* Find(const char* name) const {
        return FindIn<Function>(m_module.Get(), name);
    }

    template <typename Function>
    static Function* FindIn(HMODULE module, const char* name) {
        if (!module) return nullptr;
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

private:
    UniqueHandle<LibraryTraits> m_module;
};

// Loads the common controls (tooltips, tabs, progress bars) the first time a window needs them and keeps them
// for the rest of the process, since the windows of their classes may live until then. False when the library
// is missing.
bool EnsureCommonControls();

}  // namespace nimbo
