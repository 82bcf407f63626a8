// Registry reads, program starts, shell folders, centring and the single-instance guard of the uninstaller.
#include "uninstaller/system_win.h"

#include <shlobj.h>

#include <vector>

#include "base/shared_names.h"
#include "base/wide_text_win.h"

namespace nimbo::uninstall {
namespace {

std::string SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
    return Narrow(path);
}

}  // namespace

std::string ReadRegString(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Widen(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    const UniqueKey owner(opened);
    const std::wstring valueName = Widen(name);
    DWORD size = 0;
    if (RegQueryValueExW(opened, valueName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(opened, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    // Up to the first terminating zero: a value stored with or without its terminator reads the same.
    return Narrow(value.data());
}

InstallRecord ReadInstallRecord() {
    return {ReadRegString(HKEY_LOCAL_MACHINE, kWidgetKey, ""), ReadRegString(HKEY_LOCAL_MACHINE, kWidgetKey, "Path"),
            ReadRegString(HKEY_LOCAL_MACHINE, kWidgetKey, "Version")};
}

int RunAndWait(const std::string& file, const std::string& argument, DWORD timeoutMs) {
    std::wstring commandLine = Widen(CommandLineFor(file, argument));
    const std::wstring folder = Widen(FolderWithSeparator(file));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
        return -1;
    }
    CloseHandle(started.hThread);
    const UniqueKernelHandle process(started.hProcess);
    if (WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0) return 0;
    if (timeoutMs != 0 && timeoutMs != INFINITE) TerminateProcess(process.Get(), 1);
    return -1;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ShellFolders LookUpShellFolders() {
    ShellFolders folders;
    folders.desktop = SpecialFolder(CSIDL_DESKTOP);
    folders.programs = SpecialFolder(CSIDL_PROGRAMS);
    folders.startup = SpecialFolder(CSIDL_STARTUP);
    folders.appData = SpecialFolder(CSIDL_APPDATA);
    folders.quickLaunch = QuickLaunchFolder(folders.appData);
    folders.programFiles = SpecialFolder(CSIDL_PROGRAM_FILES);
    return folders;
}

void CenterOnWorkArea(HWND window) {
    RECT workArea{};
    RECT rect{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    MoveWindow(window, workArea.left + (workArea.right - workArea.left - width) / 2,
               workArea.top + (workArea.bottom - workArea.top - height) / 2, width, height, TRUE);
}

InstanceGuard::InstanceGuard() : m_mutex(CreateMutexW(nullptr, FALSE, Widen(kUninstallerMutexName).c_str())) {
    const bool mutexExisted = GetLastError() == ERROR_ALREADY_EXISTS;
    const std::wstring markerClass = Widen(kUninstallerMarkerClass);
    // Each run works from a copy in a folder of its own, so the marker of any copy counts, whatever its path.
    m_anotherIsRunning = mutexExisted && FindWindowW(markerClass.c_str(), nullptr);
    if (m_anotherIsRunning) {
        m_mutex.Reset();
        return;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = markerClass.c_str();
    RegisterClassW(&windowClass);
    m_marker = CreateWindowExW(0, markerClass.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

InstanceGuard::~InstanceGuard() {
    if (m_marker) DestroyWindow(m_marker);
}

}  // namespace nimbo::uninstall
