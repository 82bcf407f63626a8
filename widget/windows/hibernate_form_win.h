// THibernateForm: the warning shown before the widget hibernates, with the choice not to show it again.
#pragma once

#include "base/dialog_win.h"
#include "widget/settings_file.h"

namespace nimbo {

class THibernateForm final : public Dialog {
public:
    explicit THibernateForm(SettingsFile& settings) : m_settings(settings) {}

    // Runs modally over `owner`; General/HibernateAlert is written and flushed however the dialog closes.
    void ShowModal(HWND owner);

private:
    bool OnInit() override;
    void OnOK() override { FormClose(IDOK); }
    void OnCancel() override { FormClose(IDCANCEL); }
    void FormClose(INT_PTR result);

    SettingsFile& m_settings;
};

}  // namespace nimbo
