// The uninstaller's copy of itself, which does the removal: the installed Uninstall.exe is among the files removed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/unique_handle_win.h"

namespace nimbo::uninstall {

class SelfCopy {
public:
    // Copies `program` into a new folder with an unpredictable name under `parent`, made by this process and
    // changeable by administrators and the system only, so that nobody can have planted a file in it. Ready only
    // when the copy holds exactly the program's bytes; on any failure nothing is left behind.
    SelfCopy(const std::wstring& program, const std::wstring& parent);
    // Removes the copy and its folder unless the copy was started.
    ~SelfCopy();
    SelfCopy(const SelfCopy&) = delete;
    SelfCopy& operator=(const SelfCopy&) = delete;

    bool Ready() const { return m_ready; }
    const std::wstring& Path() const { return m_path; }
    const std::wstring& Folder() const { return m_folder; }

    // Starts the checked copy with one argument in its own folder. Until then the copy is held open so that it
    // cannot change. A running program cannot be deleted, so the copy and its folder are deleted when Windows
    // next starts. False when the copy is not ready or did not start.
    bool Start(const std::wstring& argument);

private:
    void RemoveNow();

    std::wstring m_folder;
    std::wstring m_path;
    UniqueFileHandle m_held;  // the checked copy, open for reading and shared with readers only
    bool m_ready = false;
    bool m_started = false;
};

}  // namespace nimbo::uninstall
