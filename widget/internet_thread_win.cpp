// The download thread over WinInet, with the time-outs that bound every download.
#include "widget/internet_thread_win.h"

#include <process.h>
#include <wininet.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/wide_text_win.h"

namespace nimbo {
namespace {

constexpr DWORD kReadBufferSize = 8193;

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;

// Set on every level: Windows passes them down from the root handle, Wine reads them from the connection
// and the request.
void SetTimeouts(HINTERNET handle, const DownloadTimeouts& timeouts) {
    DWORD connectMs = timeouts.connectMs;
    DWORD idleMs = timeouts.idleMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &idleMs, sizeof idleMs);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &idleMs, sizeof idleMs);
}

// The length the server announced, or -1 when it announced none or an unreadable one.
long long AnnouncedLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    DWORD index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, &index) || !text[0]) return -1;
    long long length = 0;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c < L'0' || *c > L'9' || length > (1LL << 40)) return -1;
        length = length * 10 + (*c - L'0');
    }
    return length;
}

// Only a 2xx answer is the document asked for; an error page or a redirect that was not followed is not.
bool StatusIsSuccess(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    DWORD index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index)) return false;
    return status >= 200 && status <= 299;
}

// The parts of an http or https URL a request needs; false for anything else.
struct UrlParts {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring object;  // path and query, without the fragment
    bool secure = false;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
    URL_COMPONENTSW components{};
    components.dwStructSize = sizeof components;
    components.dwHostNameLength = 1;
    components.dwUrlPathLength = 1;
    components.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) return false;
    if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (!components.lpszHostName || components.dwHostNameLength == 0) return false;
    parts.host.assign(components.lpszHostName, components.dwHostNameLength);
    parts.port = components.nPort;
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    if (components.lpszUrlPath) parts.object.assign(components.lpszUrlPath, components.dwUrlPathLength);
    if (components.lpszExtraInfo) parts.object.append(components.lpszExtraInfo, components.dwExtraInfoLength);
    parts.object = parts.object.substr(0, parts.object.find(L'#'));
    if (parts.object.empty()) parts.object = L"/";
    return true;
}

// Reads the body to its end: data is asked for only once it is there, so the time-out of each wait and
// the deadline of the whole download both hold, even against a server that drips bytes.
bool ReadBody(HINTERNET request, DWORD totalMs, std::string& body) {
    const long long announced = AnnouncedLength(request);
    if (announced > static_cast<long long>(kMaxDownloadBytes)) return false;
    const DWORD start = GetTickCount();
    std::vector<char> buffer(kReadBufferSize);
    for (;;) {
        if (GetTickCount() - start > totalMs) return false;
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) return false;
        std::fill(buffer.begin(), buffer.end(), '\0');
        DWORD read = 0;
        const DWORD wanted = available == 0 ? kReadBufferSize : std::min(available, kReadBufferSize);
        if (!InternetReadFile(request, buffer.data(), wanted, &read)) return false;
        if (read == 0) return announced < 0 || static_cast<long long>(body.size()) >= announced;
        if (body.size() + read > kMaxDownloadBytes) return false;
        body.append(buffer.data(), read);
    }
}

}  // namespace

int32_t DownloadText(const std::string& url, std::string& text, const DownloadTimeouts& timeouts,
                     const char* userAgent) {
    text.clear();
    UrlParts parts;
    if (!CrackUrl(Widen(url), parts)) return -1;

    const UniqueInternetHandle session(
        InternetOpenW(Widen(userAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return -1;
    SetTimeouts(session.Get(), timeouts);
    const UniqueInternetHandle connection(
        InternetConnectW(session.Get(), parts.host.c_str(), parts.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return -1;
    SetTimeouts(connection.Get(), timeouts);
    const DWORD flags = INTERNET_FLAG_RESYNCHRONIZE | (parts.secure ? INTERNET_FLAG_SECURE : 0);
    const UniqueInternetHandle request(
        HttpOpenRequestW(connection.Get(), L"GET", parts.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request) return -1;
    SetTimeouts(request.Get(), timeouts);
    // A download every half hour or so: a kept connection would only hold a socket, and WinInet's thread that
    // collects idle connections, until the server drops it.
    static constexpr wchar_t kCloseConnection[] = L"Connection: close\r\n";
    if (!HttpSendRequestW(request.Get(), kCloseConnection, static_cast<DWORD>(-1), nullptr, 0)) return -1;
    if (!StatusIsSuccess(request.Get())) return -1;

    std::string body;
    if (!ReadBody(request.Get(), timeouts.totalMs, body)) return -1;
    text = std::move(body);
    return 0;
}

TInternetThread::TInternetThread(bool createSuspended, HWND owner, std::string url, UINT messageId,
                                 DownloadTimeouts timeouts)
    : m_owner(owner), m_url(std::move(url)), m_messageId(messageId), m_timeouts(timeouts) {
    m_thread.Reset(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &TInternetThread::ThreadProc, this, CREATE_SUSPENDED, nullptr)));
    if (!createSuspended) Resume();
}

TInternetThread::~TInternetThread() {
    if (!m_thread) return;
    Terminate();
    if (!m_started) {
        // It never ran a line of ours, so ending it is safe; resuming and waiting could hang for ever when
        // the thread cannot be resumed.
        TerminateThread(m_thread.Get(), 0);
        return;
    }
    WaitForSingleObject(m_thread.Get(), INFINITE);
}

bool TInternetThread::Resume() {
    if (!m_thread || m_started) return false;
    m_started = true;
    if (ResumeThread(m_thread.Get()) == static_cast<DWORD>(-1)) {
        m_started = false;
        return false;
    }
    return true;
}

unsigned __stdcall TInternetThread::ThreadProc(void* self) {
    auto* thread = static_cast<TInternetThread*>(self);
    if (thread->m_started && !thread->m_terminated) thread->Execute();
    return 0;
}

void TInternetThread::Execute() {
    m_resultText.clear();
    m_resultCode = DownloadText(m_url, m_resultText, m_timeouts);
    PostMessageW(m_owner, m_messageId, 0, static_cast<LPARAM>(m_resultCode));
}

}  // namespace nimbo
