// Starting a program as the signed-in user: the setup runs elevated, the widget never does.
#pragma once

#include <windows.h>
// Before shldisp.h: the ShellExecute macro then renames IShellDispatch2's method wherever it is seen.
#include <shellapi.h>
#include <shldisp.h>

#include <string>

#include "base/unique_handle_win.h"

namespace nimbo::setup {

// The desktop shell's dispatch object, reached through its window (IShellWindows), in Explorer's process; null when
// no desktop shell answers.
ComPtr<IShellDispatch2> DesktopShell();

// Asks the desktop shell (Explorer, which runs with the user's own, unelevated token) to start `program`, so that
// the program gets that token and not the setup's. Without a desktop shell the program is started directly only
// when this process has no elevated token that it could pass on (Windows XP, UAC turned off); otherwise it is not
// started. True when it was started.
bool StartAsDesktopUser(const std::string& program);

// Whether this process runs with the elevated half of a split token (an administrator's, User Account Control on).
bool RunsElevatedWithUserTokenBeside();

}  // namespace nimbo::setup
