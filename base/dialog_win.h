// Dialogs from resource templates, and property-sheet pages: `this` bound at WM_INITDIALOG, named handlers.
#pragma once

#include <windows.h>
#include <prsht.h>

#include <exception>
#include <string>

namespace nimbo {

// A dialog from a template of this program's resources. Exceptions from handlers are caught in the dialog
// procedure and shown through the general error box; none crosses into user32.
class Dialog {
public:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    HWND Handle() const { return m_hwnd; }

    // Runs the dialog modally; returns the value given to End (IDOK, IDCANCEL...), or -1 when it could not be
    // created.
    INT_PTR RunModal(int templateId, HWND owner);
    // Creates the dialog modeless, or as a child when its template has WS_CHILD (a page inside another dialog).
    HWND CreateModeless(int templateId, HWND parent);

protected:
    explicit Dialog(std::string errorCaption = "Nimbo!");

    // WM_INITDIALOG; true lets Windows focus the first control.
    virtual bool OnInit() { return true; }
    // IDOK: Enter or the default button.
    virtual void OnOK() { End(IDOK); }
    // IDCANCEL: Escape, the close box or a Cancel button.
    virtual void OnCancel() { End(IDCANCEL); }
    // Any other WM_COMMAND; true when handled.
    virtual bool OnCommand(int id, int notifyCode, HWND control);
    // WM_NOTIFY; true when handled, with `result` returned through DWLP_MSGRESULT.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);
    // Every other message; true when handled, with `result` the dialog procedure's return value.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    virtual void OnDestroy() {}

    // Ends a modal dialog with `result`; destroys a modeless one.
    void End(INT_PTR result);
    // The general error handler: a handler's exception ends that handler, never the dialog.
    virtual void ShowError(const std::exception& error) const;

    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool IsChecked(int id) const { return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) { CheckDlgButton(m_hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    void EnableItem(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

private:
    friend class PropertyPage;
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    enum class Kind { Modal, Modeless, Page };

    HWND m_hwnd = nullptr;
    Kind m_kind = Kind::Modeless;
    std::string m_errorCaption;
};

// A page of a property sheet or wizard, bound at WM_INITDIALOG through PROPSHEETPAGEW::lParam. Sheet
// notifications (PSN_SETACTIVE, PSN_WIZNEXT...) arrive through OnNotify.
class PropertyPage : public Dialog {
public:
    // Describes the page for PropertySheetW; the object must outlive the sheet. Header texts are string ids.
    PROPSHEETPAGEW Describe(int templateId, DWORD flags = 0, int headerTitleId = 0, int headerSubTitleId = 0);

protected:
    explicit PropertyPage(std::string errorCaption = "Nimbo!") : Dialog(std::move(errorCaption)) {}
    HWND Sheet() const { return GetParent(Handle()); }

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace nimbo
