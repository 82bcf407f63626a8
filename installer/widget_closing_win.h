// Ending the widget of the installation folder before its files are replaced.
#pragma once

#include <windows.h>

#include <string>

namespace nimbo::setup {

// How long the setup waits for the widget, in all: asked to close, then ended when it does not answer.
inline constexpr DWORD kWidgetCloseBudgetMs = 20000;

// Every widget window whose process runs `widgetExe` (letter case aside) is asked to close (WM_WIDGET_CLOSE) and its
// process waited for; one that has not ended after three quarters of `budgetMs` no longer answers and is ended. It
// never starts a program. Returns when no such process runs any more, or when the budget is spent; true when none
// is left.
bool CloseWidgetOf(const std::string& widgetExe, DWORD budgetMs = kWidgetCloseBudgetMs);

}  // namespace nimbo::setup
