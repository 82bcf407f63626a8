// Uninstall.exe: restarts from a copy of itself, confirms, closes the widget and runs the removal sheet.
#include <windows.h>
#include <commctrl.h>

#include "uninstaller/close_widget_win.h"
#include "uninstaller/removal_plan.h"
#include "uninstaller/self_copy_win.h"
#include "uninstaller/system_win.h"
#include "uninstaller/wizard_win.h"

namespace nimbo::uninstall {
namespace {

constexpr wchar_t kCaption[] = L"Nimbo Kaldır";
constexpr wchar_t kConfirmation[] =
    L"Nimbo ve bileşenleri bilgisayarınızdan tamamen kaldırlacak.\r\n"
    L"Eğer kaldırmak isterseniz Evet'i, işlemden vazgeçmek için Hayır'ı seçin.";
constexpr wchar_t kNotInstalled[] =
    L"Nimbo bilgisayarınıza yüklenmemiş yada yükleme ile ilgili bazı sistem dosyaları bozulmuş.";

constexpr wchar_t kCopyFailed[] =
    L"Nimbo kaldırılamadı: kaldırma programı geçici klasöre güvenle kopyalanamadı.\r\n"
    L"Hiçbir şey silinmedi ve hiçbir program çalıştırılmadı.";

// The installed Uninstall.exe is among the files it deletes, so a copy in a folder of its own does the work.
void CopyAndRestart() {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t temp[MAX_PATH] = {};
    const DWORD tempLength = GetTempPathW(MAX_PATH, temp);
    if (length > 0 && length < MAX_PATH && tempLength > 0 && tempLength < MAX_PATH) {
        SelfCopy copy(self, temp);
        if (copy.Start(L"-uninstall")) return;
    }
    MessageBoxW(nullptr, kCopyFailed, kCaption, MB_OK | MB_ICONERROR);
}

void Remove() {
    const InstanceGuard instance;
    if (instance.AnotherIsRunning()) return;
    const ShellFolders shell = LookUpShellFolders();
    const InstallRecord record = ReadInstallRecord();
    if (!IsWidgetInstalled(record, FileExists(record.widgetExePath))) {
        MessageBoxW(GetDesktopWindow(), kNotInstalled, kCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (MessageBoxW(GetDesktopWindow(), kConfirmation, kCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    CloseRunningWidget();
    RunRemovalWizard(PlanRemoval(shell, FolderToEmpty(record)));
}

class ComSession {
public:
    ComSession() : m_result(CoInitialize(nullptr)) {}
    ~ComSession() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;

private:
    HRESULT m_result;
};

// The removal mode's whole run; every object it made is gone when it returns, after an exception too.
void RunRemovalMode() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const ComSession com;
    try {
        Remove();
    } catch (...) {
        // Ends quietly, as after a cancel.
    }
}

}  // namespace
}  // namespace nimbo::uninstall

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace nimbo::uninstall;
    // Any argument at all means removal mode; the restart passes "-uninstall".
    if (__argc <= 1) {
        CopyAndRestart();
        return 0;
    }
    RunRemovalMode();
    // A cancelled removal thread may still be running: the process ends with it.
    ExitProcess(0);
}
