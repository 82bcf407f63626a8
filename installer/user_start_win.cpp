// The desktop shell's own ShellExecute, reached through its window (IShellWindows -> IShellDispatch2), starts the
// program in Explorer's process.
#include "installer/user_start_win.h"

#include <exdisp.h>
#include <shlobj.h>

#include "base/wide_text_win.h"

namespace nimbo::setup {
namespace {

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : m_text(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return m_text; }

private:
    BSTR m_text;
};

}  // namespace

ComPtr<IShellDispatch2> DesktopShell() {
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                reinterpret_cast<void**>(windows.Put())))) {
        return {};
    }
    VARIANT location;
    VariantInit(&location);
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT root;
    VariantInit(&root);
    long desktopWindow = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH, desktop.Put()) !=
            S_OK ||
        !desktop) {
        return {};
    }
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.Put()))) ||
        FAILED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, reinterpret_cast<void**>(browser.Put()))) ||
        FAILED(browser->QueryActiveShellView(view.Put())) || !view ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(background.Put()))) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, reinterpret_cast<void**>(folderView.Put()))) ||
        FAILED(folderView->get_Application(application.Put())) || !application ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(shell.Put())))) {
        return {};
    }
    return shell;
}

namespace {

bool StartThroughDesktopShell(const std::wstring& program) {
    const ComInitializer com;
    const ComPtr<IShellDispatch2> shell = DesktopShell();
    if (!shell) return false;
    const Bstr file(program);
    // Started in its own folder, as its shortcuts start it.
    const Bstr folder(program.substr(0, program.find_last_of(L'\\')));
    VARIANT none;
    VariantInit(&none);
    VARIANT directory;
    VariantInit(&directory);
    directory.vt = VT_BSTR;
    directory.bstrVal = folder.Get();
    return SUCCEEDED(shell->ShellExecute(file.Get(), none, directory, none, none));
}

}  // namespace

bool RunsElevatedWithUserTokenBeside() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    const UniqueKernelHandle token(opened);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    // Windows XP knows no elevation: the question fails there, and the answer is no.
    return GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size) &&
           type == TokenElevationTypeFull;
}

bool StartAsDesktopUser(const std::string& program) {
    const std::wstring wide = Widen(program);
    if (StartThroughDesktopShell(wide)) return true;
    if (RunsElevatedWithUserTokenBeside()) return false;
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) >
           32;
}

}  // namespace nimbo::setup
