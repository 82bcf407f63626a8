// Times one main-face composition with its present, each kind of drawing operation, a fade step, a full fade
// (against the 30 ms of its own delays) and the growth animation; medians, since the machines are shared.
// Run from the build folder (the picture set lies beside the program): nimbo_compose_bench.exe [rounds [dpi]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "base/gdiplus_session_win.h"
#include "widget/face/display_scale.h"
#include "widget/face/face_renderer_win.h"

namespace {

constexpr double kFadeSleepsMs = 30.0;

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median of `rounds` timings of `timed`, each after an untimed `prepare`; `body` takes the round's index.
template <typename Body, typename Prepare = void (*)(), typename Timed = void (*)()>
double MedianMs(
    int rounds, Body body, Prepare prepare = [] {}, Timed timed = [] {}) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const double start = NowMs();
        body(i);
        timed();
        samples.push_back(NowMs() - start);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

nimbo::WeatherData SampleWeather() {
    nimbo::WeatherData w;
    w.City = "İstanbul";
    w.Temperature = "6";
    w.ConditionCode = "30";
    w.ConditionDate = "Tue, 08 Dec 2026 9:50 am EET";
    w.Sunrise = "7:14 am";
    w.Sunset = "4:37 pm";
    const char* days[] = {"Tue", "Wed", "Thu", "Fri", "Sat"};
    for (size_t i = 0; i < nimbo::kForecastDays; ++i) {
        w.Forecast[i].Day = days[i];
        w.Forecast[i].High = std::to_string(10 + i);
        w.Forecast[i].Low = std::to_string(2 + i);
        w.Forecast[i].Code = std::to_string(28 + i);
    }
    return w;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace nimbo;
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
    const DisplayScale scale(argc > 2 ? _wtoi(argv[2]) : kLayoutDpi);
    const SizeI windowSize = scale.Pixels(SizeI{kMainFaceWidth, kMainFaceHeight});
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::filesystem::current_path(std::filesystem::path(program).parent_path());

    GdiplusSession gdiplus;
    if (!gdiplus.Ok()) return 1;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NimboComposeBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Nimbo!", WS_POPUP, 40, 40,
                                  windowSize.width, windowSize.height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);

    {
        FacePainter painter(window, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255, scale.Dpi());
        FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
        FirstLoadGrowth(layout, false, [] {});
        const WeatherData weather = SampleWeather();
        const WidgetSettings settings;
        SYSTEMTIME local;
        GetLocalTime(&local);
        SystemTime now;
        now.year = local.wYear;
        now.month = local.wMonth;
        now.dayOfWeek = local.wDayOfWeek;
        now.day = local.wDay;
        now.hour = local.wHour;
        now.minute = local.wMinute;
        now.second = local.wSecond;
        const FaceInputs inputs{weather, settings, ConnectionState::Succeeded, true, true, now};

        // A fresh painter's first composition: every picture decoded, every text drawn, the glass tinted.
        double firstMs = 0;
        {
            FacePainter fresh(window, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255, scale.Dpi());
            const double start = NowMs();
            ComposeMainFace(fresh, layout, inputs);
            firstMs = NowMs() - start;
        }

        ComposeMainFace(painter, layout, inputs);  // warm caches and the font system
        const double composeMs = MedianMs(rounds, [&](int) { ComposeMainFace(painter, layout, inputs); });
        const double layoutMs = MedianMs(rounds, [&](int) { ComposeFace(layout, inputs, painter); });
        const DrawList ops = ComposeFace(layout, inputs, painter);
        const double drawMs = MedianMs(rounds, [&](int) { painter.Draw(ops); });

        std::printf("at %d DPI (%d x %d pixels)\n", scale.Dpi(), windowSize.width, windowSize.height);
        std::printf("ComposeFace with present (median of %d): %.2f ms\n", rounds, composeMs);
        std::printf("  layout and measuring %.2f ms, drawing the %zu operations %.2f ms; first composition %.2f ms\n",
                    layoutMs, ops.size(), drawMs, firstMs);

        // The cost of each kind of operation, drawn alone in the same order.
        const auto kindOf = [](const DrawOp& op) -> int {
            if (const auto* picture = std::get_if<PictureOp>(&op)) {
                if (picture->mode == PictureMode::Tinted) return 1;
                const bool glass = std::find(kBackgroundPictures.begin(), kBackgroundPictures.end(), picture->name) !=
                                   kBackgroundPictures.end();
                return glass ? 2 : 3;
            }
            if (const auto* text = std::get_if<TextOp>(&op)) return text->shadow ? 4 : 5;
            return 0;
        };
        const char* const kindNames[] = {"clear",
                                         "tinted slices (colour matrix)",
                                         "other glass slices",
                                         "plain pictures",
                                         "texts with shadow",
                                         "texts without shadow"};
        std::printf("per kind of operation, drawn alone (median):\n");
        for (int kind = 0; kind < 6; ++kind) {
            DrawList only;
            for (const DrawOp& op : ops) {
                if (kindOf(op) == kind) only.push_back(op);
            }
            if (only.empty()) continue;
            painter.Draw(only);
            std::printf("  %-30s %2zu ops %7.2f ms\n", kindNames[kind], only.size(),
                        MedianMs(rounds, [&](int) { painter.Draw(only); }));
        }
        painter.Draw(ops);
        painter.Present();

        // One fade step: a new constant alpha on the composed surface, nothing composed again.
        const double stepMs = MedianMs(rounds, [&](int i) { painter.PresentAlpha(static_cast<BYTE>(100 + i % 100)); });
        std::printf("one fade step (new alpha, present): %.2f ms\n", stepMs);

        const double fadeMs = MedianMs(
            rounds / 5 + 3, [&](int) {}, [&] { painter.SetAlpha(0); }, [&] { painter.FadeIn(255); });
        std::printf("full fade 0 -> 255 (15 presents, 14 steps of 2 ms): %.2f ms = %.2f x its 30 ms of sleeps\n",
                    fadeMs, fadeMs / kFadeSleepsMs);

        // The growth after the first feed: a backdrop per step of the stretch, as the main form runs it.
        int steps = 0;
        const double growthMs = MedianMs(
            5, [&](int) {}, [] {},
            [&] {
                FaceLayout growing = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
                steps = 0;
                FirstLoadGrowth(growing, true, [&] {
                    ComposeMainBackdrop(painter, growing, settings);
                    Sleep(0);
                    ++steps;
                });
            });
        std::printf("growth animation (%d compositions): %.2f ms\n", steps, growthMs);
    }
    DestroyWindow(window);
    return 0;
}
