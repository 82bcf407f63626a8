// The uninstaller's Wizard97 sheet: six pages of the product's setup wizard, opened on the removal page.
#pragma once

#include "uninstaller/removal_plan.h"

namespace nimbo::uninstall {

// Runs the sheet modally; it returns when the removal thread has closed it, or when the user cancelled.
void RunRemovalWizard(const RemovalPlan& plan);

}  // namespace nimbo::uninstall
