// The removal thread: carries out the removal plan, shows each item on the removal page, then closes the sheet.
#pragma once

#include <windows.h>

#include "uninstaller/removal_plan.h"

namespace nimbo::uninstall {

// Starts the thread for the removal page `page` (a page of the sheet that is its parent). The thread keeps its own
// copy of the plan: when the user cancels, the process ends while the thread is still somewhere in its lists.
// Returns the thread's handle, or nullptr when it could not start.
HANDLE StartRemovalThread(HWND page, const RemovalPlan& plan);

}  // namespace nimbo::uninstall
