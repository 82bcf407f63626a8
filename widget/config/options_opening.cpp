// Opening the options dialog from the main form.
#include "widget/config/options_opening.h"

namespace nimbo {
namespace {

// Puts the check timer back on leaving, by return or by exception.
class CheckTimerRestore {
public:
    explicit CheckTimerRestore(const OptionsOpening& form) : m_form(form) {}
    ~CheckTimerRestore() { m_form.setCheckTimerEnabled(m_form.autoUpdate()); }
    CheckTimerRestore(const CheckTimerRestore&) = delete;
    CheckTimerRestore& operator=(const CheckTimerRestore&) = delete;

private:
    const OptionsOpening& m_form;
};

}  // namespace

void OpenOptions(const OptionsOpening& form) {
    form.setCheckTimerEnabled(false);
    const CheckTimerRestore restore(form);
    form.saveWidgetSettings();
    const OptionsOutcome outcome = form.runDialog();
    if (!outcome.confirmed) {
        form.composeFace();
        return;
    }
    form.loadWidgetSettings();
    if (outcome.locationChanged) {
        form.startWeatherDownload();
    } else {
        form.composeFace();
    }
    form.rebuildInfoText();
    form.applyInfoWindow();
}

}  // namespace nimbo
