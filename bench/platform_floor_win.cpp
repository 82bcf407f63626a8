// The platform's share of the memory bench: the empty layered window plus what any program pays for the
// services the widget is built on, used once each and then idle. One picture decoded and one text drawn through
// GDI+ (with the codecs and the fonts), a tray icon through the shell, one download through WinInet on a thread
// of its own, and that document read by the platform's XML DOM. None of the widget's own work: no face, no
// caches, no second window.
//
//   nimbo_platform_floor.exe <feed URL>    (run from build/win64, where Contents\ lies)
//
// It links none of the widget's code, so that its own image stays small: the widget's image is the widget's cost.
#include <windows.h>
#include <msxml2.h>
#include <shellapi.h>
#include <wininet.h>

#include <process.h>

#include <string>

#include "base/gdiplus_session_win.h"
#include "base/unique_handle_win.h"

namespace {

using namespace nimbo;

constexpr int kWidth = 233;
constexpr int kHeight = 248;

struct Download {
    std::wstring url;
    std::string text;
};

// The widget's way: one session, a URL, its body read to the end, the connection not kept.
unsigned __stdcall DownloadThread(void* parameter) {
    auto* download = static_cast<Download*>(parameter);
    HINTERNET session = InternetOpenW(L"Velmor Weather XML", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return 1;
    if (HINTERNET request = InternetOpenUrlW(session, download->url.c_str(), L"Connection: close\r\n",
                                             static_cast<DWORD>(-1), INTERNET_FLAG_RESYNCHRONIZE, 0)) {
        char buffer[8192];
        DWORD read = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0) download->text.append(buffer, read);
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
    return 0;
}

// The platform's DOM reads the document and answers one query.
void ReadDocument(const std::string& text) {
    CLSID id{};
    if (FAILED(CLSIDFromProgID(L"Microsoft.XMLDOM", &id))) return;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(document.Put())))) {
        return;
    }
    const std::wstring wide(text.begin(), text.end());  // the test feed is ASCII
    BSTR xml = SysAllocString(wide.c_str());
    BSTR query = SysAllocString(L"/rss/channel/item/title");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    IXMLDOMNode* node = nullptr;
    if (SUCCEEDED(document->loadXML(xml, &loaded)) && loaded && SUCCEEDED(document->selectSingleNode(query, &node)) &&
        node) {
        node->Release();
    }
    SysFreeString(query);
    SysFreeString(xml);
}

// Draws one picture and one text the way the face does, then shows the result on the layered window.
void Present(HWND window) {
    Gdiplus::Bitmap surface(kWidth, kHeight, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&surface);
        Gdiplus::Bitmap picture(L"Contents\\Resources\\Big\\Few Clouds.png");
        graphics.DrawImage(&picture, 30, 20);
        Gdiplus::FontFamily family(L"Trebuchet MS");
        Gdiplus::Font font(&family, 24, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
        Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
        graphics.DrawString(L"İstanbul 12°", -1, &font, Gdiplus::PointF(10, 180), &white);
    }
    HBITMAP bitmap = nullptr;
    if (surface.GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &bitmap) != Gdiplus::Ok) return;
    const UniqueBitmap owned(bitmap);
    const MemoryDc memory(CreateCompatibleDC(nullptr));
    const SelectGuard selected(memory.Get(), bitmap);
    SIZE size{kWidth, kHeight};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, nullptr, &size, memory.Get(), &origin, 0, &blend, ULW_ALPHA);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    if (FAILED(CoInitialize(nullptr))) return 1;
    GdiplusSession gdiplus;

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NimboPlatformFloor";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Nimbo!", WS_POPUP, 300, 300,
                                  kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    Present(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);

    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(icon.szTip, L"Nimbo!", 64);
    Shell_NotifyIconW(NIM_ADD, &icon);

    Download download{argv[1], {}};
    const UniqueKernelHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &DownloadThread, &download, 0, nullptr)));
    if (thread) WaitForSingleObject(thread.Get(), INFINITE);
    ReadDocument(download.text);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    Shell_NotifyIconW(NIM_DELETE, &icon);
    CoUninitialize();
    return 0;
}
