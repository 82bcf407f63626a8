// THibernateForm: the warning shown before the widget hibernates, with the choice not to show it again.
#pragma once

#include <optional>

#include "base/dialog_win.h"

namespace nimbo {

class THibernateForm final : public Dialog {
public:
    // Runs modally over `owner`: whether "Bu uyarıyı bir daha gösterme" was ticked, however the dialog closed;
    // nothing when it could not be shown.
    std::optional<bool> Run(HWND owner);

private:
    bool OnInit() override;
    void OnOK() override { CloseWithChoice(IDOK); }
    void OnCancel() override { CloseWithChoice(IDCANCEL); }
    void CloseWithChoice(INT_PTR result);

    // Set as the dialog closes; nothing while it never showed.
    std::optional<bool> m_dontShowAgain;
};

}  // namespace nimbo
