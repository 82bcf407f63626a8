// A copy of the uninstaller that nobody else can have written, checked byte for byte before it runs.
#include "uninstaller/self_copy_win.h"

#include <ntsecapi.h>
#include <sddl.h>

namespace nimbo::uninstall {
namespace {

// Administrators and the system may do anything in the folder and its file; nobody else may do anything.
constexpr wchar_t kFolderSecurity[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
constexpr wchar_t kCopyName[] = L"Uninstall.exe";
constexpr int kNameAttempts = 4;

bool ReadWhole(HANDLE file, std::vector<char>& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > (64 << 20)) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

bool ReadFileBytes(const std::wstring& path, std::vector<char>& bytes) {
    const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ReadWhole(file.Get(), bytes);
}

// "Nimbo-" and 128 random bits: a name nobody can prepare in advance.
std::wstring UnpredictableName() {
    unsigned char random[16] = {};
    if (!RtlGenRandom(random, sizeof random)) return {};
    std::wstring name = L"Nimbo-";
    for (const unsigned char byte : random) {
        name += L"0123456789abcdef"[byte >> 4];
        name += L"0123456789abcdef"[byte & 15];
    }
    return name;
}

struct LocalMemory {
    void* pointer = nullptr;
    ~LocalMemory() { LocalFree(pointer); }
};

}  // namespace

SelfCopy::SelfCopy(const std::wstring& program, const std::wstring& parent) {
    std::vector<char> bytes;
    if (!ReadFileBytes(program, bytes)) return;
    LocalMemory descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderSecurity, SDDL_REVISION_1, &descriptor.pointer,
                                                              nullptr)) {
        return;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor.pointer, FALSE};
    const std::wstring base = parent.empty() || parent.back() == L'\\' ? parent : parent + L'\\';
    for (int attempt = 0; attempt < kNameAttempts && m_folder.empty(); ++attempt) {
        const std::wstring name = UnpredictableName();
        if (name.empty()) return;
        // Fails for a folder that exists already: the one used is always one this process made.
        if (CreateDirectoryW((base + name).c_str(), &security)) {
            m_folder = base + name;
        } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
    if (m_folder.empty()) return;
    m_path = m_folder + L'\\' + kCopyName;
    {
        const UniqueFileHandle copy(
            CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!copy || !WriteFile(copy.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            RemoveNow();
            return;
        }
    }
    // Held open without write or delete sharing until it has started: what was checked is what runs.
    m_held.Reset(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<char> copied;
    if (!m_held || !ReadWhole(m_held.Get(), copied) || copied != bytes) {
        RemoveNow();
        return;
    }
    m_ready = true;
}

SelfCopy::~SelfCopy() {
    m_held.Reset();
    if (!m_started) RemoveNow();
}

bool SelfCopy::Start(const std::wstring& argument) {
    if (!m_ready || m_started) return false;
    std::wstring commandLine = L"\"" + m_path + L"\" " + argument;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(m_path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(),
                        &startup, &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    m_started = true;
    m_held.Reset();
    // In this order: the folder can go only once its file has.
    MoveFileExW(m_path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExW(m_folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return true;
}

void SelfCopy::RemoveNow() {
    m_held.Reset();
    m_ready = false;
    if (!m_path.empty()) DeleteFileW(m_path.c_str());
    if (!m_folder.empty()) RemoveDirectoryW(m_folder.c_str());
}

}  // namespace nimbo::uninstall
