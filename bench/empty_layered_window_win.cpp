// The baseline of the memory bench: an empty layered window of the widget's size, shown once, then idle.
#include <windows.h>

#include <cstdint>

int wmain() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NimboEmptyLayeredWindow";
    RegisterClassW(&wc);
    constexpr int kWidth = 233;
    constexpr int kHeight = 248;
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Nimbo!", WS_POPUP, 300, 300,
                                  kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return 1;
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < kWidth * kHeight; ++i) pixels[i] = 0x80404040;  // half-transparent grey, premultiplied
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SIZE size{kWidth, kHeight};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, nullptr, &size, memory, &origin, 0, &blend, ULW_ALPHA);
    ShowWindow(window, SW_SHOWNOACTIVATE);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return 0;
}
