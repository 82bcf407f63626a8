// Deletions through the Windows functions, progress through the removal page's controls.
#include "uninstaller/removal_thread_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlwapi.h>

#include <memory>

#include "base/wide_text_win.h"
#include "resources/uninstall_ids.h"

namespace nimbo::uninstall {
namespace {

// Every result is ignored: the removal goes on whatever fails, as the page's list shows every item tried.
class WindowsRemovalActions : public RemovalActions {
public:
    explicit WindowsRemovalActions(HWND page) : m_page(page) {}

    void RemoveFile(const std::string& path) override { DeleteFileW(Widen(path).c_str()); }
    void RemoveFolder(const std::string& path) override { RemoveDirectoryW(Widen(path).c_str()); }
    void RemoveKey(const KeyRemoval& key) override {
        const std::wstring path = Widen(key.path);
        if (key.onlyIfEmpty) {
            SHDeleteEmptyKeyW(HKEY_LOCAL_MACHINE, path.c_str());
        } else {
            SHDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
        }
    }
    // The bar starts full and loses one step per item.
    void BeginItems(int total) override {
        const HWND bar = GetDlgItem(m_page, IDC_REMOVAL_PROGRESS);
        SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, total));
        SendMessageW(bar, PBM_SETSTEP, static_cast<WPARAM>(-1), 0);
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(total), 0);
    }
    // The newest item on top.
    void ItemDone(const std::string& path) override {
        const std::wstring line = Widen(path);
        SendMessageW(GetDlgItem(m_page, IDC_REMOVED_LIST), LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageW(GetDlgItem(m_page, IDC_REMOVAL_PROGRESS), PBM_STEPIT, 0, 0);
        Sleep(0);
    }

private:
    HWND m_page;
};

struct RemovalJob {
    HWND page;
    RemovalPlan plan;
};

class ComForThread {
public:
    ComForThread() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComForThread() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComForThread(const ComForThread&) = delete;
    ComForThread& operator=(const ComForThread&) = delete;

private:
    HRESULT m_result;
};

DWORD WINAPI RemovalThread(void* parameter) {
    const std::unique_ptr<RemovalJob> job(static_cast<RemovalJob*>(parameter));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const ComForThread com;
    WindowsRemovalActions actions(job->page);
    CarryOut(job->plan, actions);
    // The page grants the cancel without a question, so this closes the sheet. The sheet's modal loop notices
    // that it has ended only when a message is posted to it, and a message sent from this thread is not.
    const HWND sheet = GetParent(job->page);
    SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    PostMessageW(sheet, WM_NULL, 0, 0);
    return 0;
}

}  // namespace

HANDLE StartRemovalThread(HWND page, const RemovalPlan& plan) {
    auto job = std::make_unique<RemovalJob>(RemovalJob{page, plan});
    const HANDLE thread = CreateThread(nullptr, 0, &RemovalThread, job.get(), CREATE_SUSPENDED, nullptr);
    if (!thread) return nullptr;
    job.release();  // the thread owns it now
    ResumeThread(thread);
    return thread;
}

}  // namespace nimbo::uninstall
