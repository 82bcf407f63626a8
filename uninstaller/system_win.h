// The uninstaller's shared routines: registry reads, starting programs, shell folders, the single-instance guard.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle_win.h"
#include "uninstaller/removal_plan.h"

namespace nimbo::uninstall {

inline constexpr char kWidgetKey[] = "SOFTWARE\\Pelvar\\Nimbo";

// A value as text (an empty name reads the default value); empty on any failure, whatever the value's type.
std::string ReadRegString(HKEY root, const std::string& key, const std::string& name);

// The default value, "Path" and "Version" of the widget's key under HKEY_LOCAL_MACHINE.
InstallRecord ReadInstallRecord();

// Starts `file` hidden with one argument, in the file's folder, and waits up to `timeoutMs` (INFINITE allowed).
// 0 when it ended in time, -1 when it did not start or still runs. A program still running after a bounded,
// non-zero wait is ended: it would otherwise stay behind hidden.
int RunAndWait(const std::string& file, const std::string& argument, DWORD timeoutMs);

bool FileExists(const std::string& path);

ShellFolders LookUpShellFolders();

// Moves the window, same size, to the middle of the desktop's work area.
void CenterOnWorkArea(HWND window);

// One uninstaller in removal mode at a time: the mutex "..._Class" and a hidden marker window of class "..._Mutex".
class InstanceGuard {
public:
    InstanceGuard();
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;
    // Another uninstaller already runs in removal mode; this one then made no mutex and no window of its own.
    bool AnotherIsRunning() const { return m_anotherIsRunning; }

private:
    UniqueKernelHandle m_mutex;
    HWND m_marker = nullptr;
    bool m_anotherIsRunning = false;
};

}  // namespace nimbo::uninstall
