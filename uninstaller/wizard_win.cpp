// The sheet and its pages. Only the removal page is ever shown; the others belong to the setup wizard.
#include "uninstaller/wizard_win.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <array>

#include "base/dialog_win.h"
#include "base/unique_handle_win.h"
#include "resources/uninstall_ids.h"
#include "uninstaller/removal_thread_win.h"
#include "uninstaller/system_win.h"

namespace nimbo::uninstall {
namespace {

constexpr char kErrorCaption[] = "Nimbo Kaldır";
constexpr int kRemovalPageIndex = 4;

class EmptyPage : public nimbo::PropertyPage {
public:
    EmptyPage() : PropertyPage(kErrorCaption) {}
};

// Page 5: starts the removal when it becomes active and lets the sheet close without a question.
class RemovalPage : public nimbo::PropertyPage {
public:
    explicit RemovalPage(const RemovalPlan& plan) : PropertyPage(kErrorCaption), m_plan(plan) {}

protected:
    bool OnInit() override {
        CenterOnWorkArea(Sheet());
        m_icon.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_UNINSTALL),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
        SendMessageW(Sheet(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
        return true;
    }

    bool OnNotify(const NMHDR& header, LRESULT& result) override {
        switch (header.code) {
            case PSN_SETACTIVE:
                SendMessageW(Sheet(), PSM_SETWIZBUTTONS, 0, 0);
                if (!m_thread) m_thread.Reset(StartRemovalThread(Handle(), m_plan));
                result = 0;
                return true;
            case PSN_QUERYCANCEL:
                result = FALSE;
                return true;
            case PSN_WIZNEXT:
                m_thread.Reset();
                result = 0;
                return true;
            default:
                return false;
        }
    }

    // The thread is never waited for: a cancelled removal ends with the process.
    void OnDestroy() override { m_thread.Reset(); }

private:
    const RemovalPlan& m_plan;
    UniqueKernelHandle m_thread;
    UniqueIcon m_icon;
};

}  // namespace

void RunRemovalWizard(const RemovalPlan& plan) {
    EmptyPage welcome, licence, folder, user, finish;
    RemovalPage removal(plan);
    std::array<PROPSHEETPAGEW, 6> pages{
        welcome.Describe(IDD_WELCOME_PAGE, PSP_HIDEHEADER),
        licence.Describe(IDD_LICENCE_PAGE, 0, IDS_LICENCE_TITLE, IDS_LICENCE_SUBTITLE),
        folder.Describe(IDD_FOLDER_PAGE, 0, IDS_FOLDER_TITLE, IDS_FOLDER_SUBTITLE),
        user.Describe(IDD_USER_PAGE, 0, IDS_USER_TITLE, IDS_USER_SUBTITLE),
        removal.Describe(IDD_REMOVAL_PAGE, 0, IDS_REMOVAL_TITLE, IDS_REMOVAL_SUBTITLE),
        finish.Describe(IDD_FINISH_PAGE, PSP_HIDEHEADER),
    };
    // The header bitmap is handed over loaded and with the current Wizard97 flag: with the flag's older value,
    // or named by its resource, the picture is drawn behind the page's title, or not at all, instead of at the
    // header's right.
    const UniqueBitmap header(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_WIZARD_HEADER), IMAGE_BITMAP, 0, 0, 0)));
    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_WIZARD97 | PSH_WATERMARK | PSH_HEADER | PSH_USEHBMHEADER | PSH_PROPSHEETPAGE;
    sheet.hwndParent = GetDesktopWindow();
    sheet.hInstance = GetModuleHandleW(nullptr);
    sheet.nPages = static_cast<UINT>(pages.size());
    sheet.nStartPage = kRemovalPageIndex;
    sheet.ppsp = pages.data();
    sheet.pszbmWatermark = MAKEINTRESOURCEW(IDB_WIZARD_WATERMARK);
    sheet.hbmHeader = header.Get();
    PropertySheetW(&sheet);
}

}  // namespace nimbo::uninstall
