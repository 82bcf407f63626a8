// NimboSetup.dll: the setup's own functions, called from nimbo.nsi as NimboSetup::Name. Each takes its arguments
// from the installer's stack and leaves its answer there.
#include <windows.h>

#include <string>

#include "base/untrusted_text.h"
#include "base/wide_text_win.h"
#include "installer/folder_permissions_win.h"
#include "installer/setup_rules.h"
#include "installer/user_start_win.h"
#include "installer/widget_closing_win.h"

namespace {

// The installer's stack of texts, as NSIS hands it to a plug-in.
struct StackItem {
    StackItem* next;
    wchar_t text[1];
};

class InstallerStack {
public:
    InstallerStack(StackItem** top, int textSize) : m_top(top), m_textSize(textSize) {}

    std::string Pop() {
        StackItem* item = *m_top;
        if (!item) return {};
        std::wstring text(item->text, wcsnlen(item->text, static_cast<size_t>(m_textSize)));
        *m_top = item->next;
        GlobalFree(item);
        return nimbo::Narrow(text);
    }

    void Push(const std::string& text) {
        const std::wstring wide = nimbo::Widen(text).substr(0, static_cast<size_t>(m_textSize) - 1);
        auto* item = static_cast<StackItem*>(
            GlobalAlloc(GPTR, sizeof(StackItem) + static_cast<size_t>(m_textSize) * sizeof(wchar_t)));
        if (!item) return;
        wide.copy(item->text, wide.size());
        item->next = *m_top;
        *m_top = item;
    }

private:
    StackItem** m_top;
    int m_textSize;
};

}  // namespace

#define NIMBO_SETUP_FUNCTION(name) \
    extern "C" __declspec(dllexport) void __cdecl name(HWND, int textSize, wchar_t*, StackItem** top, void*)

// Leaves the data service's base address and then "none" (no /SERVER=), "ok" or "bad" (anything but an http:// or
// https:// base address): the status on top.
NIMBO_SETUP_FUNCTION(ServerOption) {
    InstallerStack stack(top, textSize);
    const auto text = nimbo::setup::ServerOptionText(nimbo::Narrow(GetCommandLineW()));
    const auto base = text ? nimbo::ServerBaseFromOption(*text) : std::nullopt;
    stack.Push(base.value_or(""));
    stack.Push(!text ? "none" : base ? "ok" : "bad");
}

// Takes the path of the installed Nimbo.exe; leaves "ok" when no widget of it runs any more, else "running".
NIMBO_SETUP_FUNCTION(CloseWidget) {
    InstallerStack stack(top, textSize);
    stack.Push(nimbo::setup::CloseWidgetOf(stack.Pop()) ? "ok" : "running");
}

// Takes the installation folder; leaves "inherited" (inside Program Files), "own" (made and given permissions of
// its own), "refused" (outside, and holding files of something else) or "failed".
NIMBO_SETUP_FUNCTION(PrepareFolder) {
    InstallerStack stack(top, textSize);
    const std::string folder = nimbo::setup::FullPath(stack.Pop());
    switch (nimbo::setup::DecideFolderPermissions(folder, nimbo::setup::ProgramFilesFolders(),
                                                  nimbo::setup::HoldsOnlyNimbo(folder))) {
        case nimbo::setup::FolderPermissions::Inherited:
            stack.Push("inherited");
            return;
        case nimbo::setup::FolderPermissions::Own:
            stack.Push(nimbo::setup::GiveOwnPermissions(folder) ? "own" : "failed");
            return;
        case nimbo::setup::FolderPermissions::Refused:
            stack.Push("refused");
            return;
    }
}

// Takes a file; leaves "ok" once it has only the permissions its folder hands down, else "failed".
NIMBO_SETUP_FUNCTION(InheritPermissions) {
    InstallerStack stack(top, textSize);
    stack.Push(nimbo::setup::InheritPermissionsOnly(stack.Pop()) ? "ok" : "failed");
}

// Takes a program; leaves "ok" when the desktop shell started it as the user, else "failed".
NIMBO_SETUP_FUNCTION(StartAsUser) {
    InstallerStack stack(top, textSize);
    stack.Push(nimbo::setup::StartAsDesktopUser(stack.Pop()) ? "ok" : "failed");
}
