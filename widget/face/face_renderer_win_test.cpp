// The face drawn by GDI+ from recorded feeds in every view style, saved as PNG and checked pixel by pixel,
// and presented on a real layered window.
#include "widget/face/face_renderer_win.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "base/unique_handle_win.h"
#include "tests/support/system_time_at.h"
#include "tests/support/temp_folder.h"
#include "widget/document_text.h"
#include "widget/weather_feed.h"

namespace nimbo {
namespace {

using testing::At;

namespace fs = std::filesystem;

// The picture set is rendered into the build folder, beside the test program.
fs::path ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Makes a folder current for one test and puts the previous one back.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : m_previous(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(m_previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path m_previous;
};

WeatherData Feed(const char* name) {
    ComInitializer com;
    WeatherData data;
    data.FeedText = DecodeDocumentText(testing::ReadBytes((fs::path(NIMBO_TEST_DATA_DIR) / "feeds" / name).string()));
    ParseWeatherFeed(data);
    return data;
}

int Alpha(uint32_t argb) { return static_cast<int>(argb >> 24); }
int Red(uint32_t argb) { return static_cast<int>((argb >> 16) & 0xFF); }
int Green(uint32_t argb) { return static_cast<int>((argb >> 8) & 0xFF); }
int Blue(uint32_t argb) { return static_cast<int>(argb & 0xFF); }

// Opaque, nearly white pixels inside a rectangle: drawn text.
int WhitePixels(const ArgbSurface& s, const Placeholder& p) {
    int count = 0;
    for (int y = std::max(0, p.top); y < std::min(s.height, p.top + p.height); ++y) {
        for (int x = std::max(0, p.left); x < std::min(s.width, p.left + p.width); ++x) {
            const uint32_t c = s.At(x, y);
            if (Alpha(c) > 200 && Red(c) > 220 && Green(c) > 220 && Blue(c) > 220) ++count;
        }
    }
    return count;
}

constexpr int kFaceLeft = 40;
constexpr int kFaceTop = 40;
constexpr COLORREF kDesktopColour = RGB(0x3a, 0x6e, 0xa5);

// A plain window of a desktop's blue behind the face, so that what the screen shows is a face on a desktop.
class DesktopWindow {
public:
    DesktopWindow() : m_brush(CreateSolidBrush(kDesktopColour)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = m_brush.Get();
        wc.lpszClassName = L"NimboFaceTestDesktop";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, kFaceLeft - 20, kFaceTop - 20,
                                   kMainFaceWidth + 40, kMainFaceHeight + 40, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        UpdateWindow(m_window);
    }
    ~DesktopWindow() {
        if (m_window) DestroyWindow(m_window);
        UnregisterClassW(L"NimboFaceTestDesktop", GetModuleHandleW(nullptr));
    }
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

private:
    UniqueBrush m_brush;
    HWND m_window = nullptr;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// What the screen shows where the face window is, as 0x00RRGGBB.
ArgbSurface GrabScreen() {
    ArgbSurface grab(kMainFaceWidth, kMainFaceHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = grab.width;
    info.bmiHeader.biHeight = -grab.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !bits || !memory) return grab;
    {
        SelectGuard select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, grab.width, grab.height, screen.Get(), kFaceLeft, kFaceTop, SRCCOPY);
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < grab.pixels.size(); ++i) grab.pixels[i] = pixels[i] & 0xFFFFFF;
    return grab;
}

// How a layered window reaches the screen. With a compositing window manager (as on Windows) each pixel is blended
// over what lies behind; Wine on an X server without one cuts out the fully transparent pixels and shows the
// others premultiplied, that is over black.
enum class ScreenModel { Composited, CutOut };

// Screen pixels farther than a few levels from the face shown with `faceAlpha` over the desktop's blue.
int BlendMismatches(const ArgbSurface& screen, const ArgbSurface& face, BYTE faceAlpha, ScreenModel model) {
    const int desktop[] = {GetRValue(kDesktopColour), GetGValue(kDesktopColour), GetBValue(kDesktopColour)};
    int mismatches = 0;
    for (size_t i = 0; i < face.pixels.size(); ++i) {
        const uint32_t c = face.pixels[i];
        const double a = Alpha(c) / 255.0 * faceAlpha / 255.0;
        const bool cutOut = model == ScreenModel::CutOut && Alpha(c) == 0;
        const double behind = model == ScreenModel::Composited || cutOut ? 1 : 0;
        const int drawn[] = {Red(c), Green(c), Blue(c)};
        const int shown[] = {Red(screen.pixels[i]), Green(screen.pixels[i]), Blue(screen.pixels[i])};
        for (int k = 0; k < 3; ++k) {
            const double expected = cutOut ? desktop[k] : drawn[k] * a + behind * desktop[k] * (1 - a);
            if (std::abs(expected - shown[k]) > 6) {
                ++mismatches;
                break;
            }
        }
    }
    return mismatches;
}

// Waits, with a deadline, until the screen shows the face over the desktop in one of the two ways, but for at most
// `allowed` pixels; the last grab is kept.
int WaitForScreen(const ArgbSurface& face, BYTE faceAlpha, ArgbSurface& grab, int allowed = 0) {
    const DWORD start = GetTickCount();
    int mismatches = 0;
    do {
        PumpMessages();
        grab = GrabScreen();
        mismatches = std::min(BlendMismatches(grab, face, faceAlpha, ScreenModel::Composited),
                              BlendMismatches(grab, face, faceAlpha, ScreenModel::CutOut));
    } while (mismatches > allowed && GetTickCount() - start < 5000 && (Sleep(10), true));
    return mismatches;
}

bool SaveScreenPng(const ArgbSurface& grab, const fs::path& path) {
    ArgbSurface opaque = grab;
    for (uint32_t& pixel : opaque.pixels) pixel |= 0xFF000000;
    Gdiplus::Bitmap bitmap(opaque.width, opaque.height, opaque.width * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(opaque.pixels.data()));
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (bytes == 0 || Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            return bitmap.Save(path.wstring().c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

// A layered popup of the face's size, shown above the desktop window once it has a face.
class FaceWindow {
public:
    FaceWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"NimboFaceTestWindow";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Nimbo!", WS_POPUP, kFaceLeft,
                                   kFaceTop, kMainFaceWidth, kMainFaceHeight, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~FaceWindow() {
        if (m_window) DestroyWindow(m_window);
        UnregisterClassW(L"NimboFaceTestWindow", GetModuleHandleW(nullptr));
    }
    void Show() const {
        SetWindowPos(m_window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    FaceWindow(const FaceWindow&) = delete;
    FaceWindow& operator=(const FaceWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

class FaceRenderer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_gdiplus.Ok());
        ASSERT_TRUE(fs::exists(ProgramFolder() / "Contents" / "Resources" / "UI" / "Grid.png"))
            << "build the picture_set target";
        // NIMBO_FACE_SHOTS keeps the pictures for a person to look at; otherwise they go with the test.
        const char* keep = std::getenv("NIMBO_FACE_SHOTS");
        m_shots = keep && *keep ? fs::path(keep) : m_temp.Path();
        fs::create_directories(m_shots);
    }

    struct Rendered {
        FaceLayout layout;
        ArgbSurface pixels{0, 0};
        bool presented = false;
        int screenMismatches = 0;  // pixels where the screen differs from the face over the desktop
    };

    Rendered Render(const WeatherData& weather, const WidgetSettings& settings, ViewStyle style, const SystemTime& now,
                    const std::string& shot, bool faceActive = false) {
        CurrentFolder folder(ProgramFolder());
        Rendered r{MainFaceLayout(style, "Arial", "Arial")};
        FirstLoadGrowth(r.layout, false, [] {});
        FacePainter painter(m_window.Get(), kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255);
        const FaceInputs inputs{weather, settings, ConnectionState::Succeeded, faceActive, true, now};
        painter.Draw(ComposeFace(r.layout, inputs, painter));
        r.presented = painter.Present();
        r.pixels = painter.Pixels();
        EXPECT_TRUE(painter.SavePng((m_shots / (shot + ".png")).wstring())) << shot;
        m_window.Show();
        ArgbSurface grab(0, 0);
        r.screenMismatches = WaitForScreen(r.pixels, painter.Alpha(), grab);
        EXPECT_TRUE(SaveScreenPng(grab, m_shots / ("screen-" + shot + ".png"))) << shot;
        return r;
    }

    GdiplusSession m_gdiplus;
    testing::TempFolder m_temp;
    fs::path m_shots;
    DesktopWindow m_desktop;
    FaceWindow m_window;
};

const char* const kStyleNames[] = {"small", "medium", "large"};

TEST_F(FaceRenderer, DayAndNightFeedsInEveryStyle) {
    const WeatherData day = Feed("07-new-york-2013-c.xml");  // fair: the sun behind the clouds
    const WeatherData night = Feed("12-singapore-2016-c.xml");
    ASSERT_EQ(day.City, "New York");
    ASSERT_EQ(night.City, "Singapore");
    const WidgetSettings settings;  // "Kalın cam"
    for (int style = 0; style < 3; ++style) {
        for (const bool isDay : {true, false}) {
            const std::string shot = std::string(isDay ? "day-" : "night-") + kStyleNames[style];
            const Rendered r = Render(isDay ? day : night, settings, static_cast<ViewStyle>(style),
                                      isDay ? At(2013, 3, 27, 10) : At(2016, 3, 12, 23), shot);
            EXPECT_TRUE(r.presented) << shot;
            // The real window on the screen shows exactly the face, blended over the desktop.
            EXPECT_EQ(r.screenMismatches, 0) << shot;
            EXPECT_EQ(r.layout.dayNight, isDay ? DayNight::Day : DayNight::Night) << shot;
            const ArgbSurface& s = r.pixels;
            // Outside the glass: the corners, left of the glass below the sky, right of it.
            for (const auto& [x, y] : {std::pair{232, 247}, {0, 247}, {5, 200}, {230, 150}, {232, 0}}) {
                EXPECT_EQ(Alpha(s.At(x, y)), 0) << shot << " at " << x << "," << y;
            }
            // Below the glass of the small and medium styles.
            if (style < 2) {
                EXPECT_EQ(Alpha(s.At(150, 245)), 0) << shot;
            }
            // The temperature and the place name are drawn in white where their labels were sized.
            EXPECT_GT(WhitePixels(s, r.layout.temperatureLbl), 40) << shot;
            EXPECT_GT(WhitePixels(s, r.layout.cityNameLbl), 10) << shot;
            EXPECT_LT(r.layout.temperatureLbl.left + r.layout.temperatureLbl.width, 225) << shot;
            // Cells only in the larger styles: the tomorrow title sits above the second cell.
            Placeholder tomorrow = r.layout.dayLbl[1];
            tomorrow.top -= 14;
            tomorrow.height = 14;
            if (style == 0) {
                EXPECT_EQ(WhitePixels(s, tomorrow), 0) << shot;
            } else {
                EXPECT_GT(WhitePixels(s, tomorrow), 5) << shot;
            }
        }
    }
}

TEST_F(FaceRenderer, MilkyCoffeeTintsTheGlass) {
    WidgetSettings settings;
    settings.background = 3;  // "Sütlü Kahve"
    const Rendered r = Render(Feed("awkward-istanbul-utf8.xml"), settings, ViewStyle::Small, At(2026, 12, 8, 10),
                              "day-small-milky-coffee", true);
    // Inside the glass, right of the sky and below the place name: (128, 64, 0) under the thin smoke.
    const uint32_t c = r.pixels.At(215, 114);
    EXPECT_EQ(Alpha(c), 255);
    EXPECT_NEAR(Red(c), 121, 12);
    EXPECT_NEAR(Green(c), 69, 12);
    EXPECT_NEAR(Blue(c), 17, 14);
    // No seam where the stretched middle slice meets the top and the base.
    for (const int y : {56, 57, 58, 110, 111, 112}) {
        EXPECT_EQ(Alpha(r.pixels.At(215, y)), 255) << y;
    }
    // Active: the close button is drawn at its place.
    EXPECT_GT(Alpha(r.pixels.At(194 + 9, 41 + 9)), 200);

    settings.background = 0;  // no glass: only pictures and texts
    const Rendered bare = Render(Feed("awkward-istanbul-utf8.xml"), settings, ViewStyle::Small, At(2026, 12, 8, 10),
                                 "day-small-no-glass");
    EXPECT_EQ(Alpha(bare.pixels.At(215, 114)), 0);
    EXPECT_GT(WhitePixels(bare.pixels, bare.layout.temperatureLbl), 40);
}

// The mean difference per channel between a surface and one at twice its size, halved by averaging each 2 x 2
// block (colours weighted by their alpha).
double MeanDifferenceToHalved(const ArgbSurface& small, const ArgbSurface& large) {
    double total = 0;
    for (int y = 0; y < small.height; ++y) {
        for (int x = 0; x < small.width; ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
                const uint32_t p = large.At(2 * x + dx, 2 * y + dy);
                a += Alpha(p);
                r += Red(p) * Alpha(p);
                g += Green(p) * Alpha(p);
                b += Blue(p) * Alpha(p);
            }
            const uint32_t q = small.At(x, y);
            const double weight = a > 0 ? a : 1;
            total += std::abs(a / 4 - Alpha(q)) + std::abs(r / weight - Red(q)) * Alpha(q) / 255.0 +
                     std::abs(g / weight - Green(q)) * Alpha(q) / 255.0 +
                     std::abs(b / weight - Blue(q)) * Alpha(q) / 255.0;
        }
    }
    return total / (4.0 * small.width * small.height);
}

TEST_F(FaceRenderer, At192DpiTheFaceIsThe96DpiFaceAtTwiceTheSize) {
    CurrentFolder folder(ProgramFolder());
    const WeatherData weather = Feed("07-new-york-2013-c.xml");
    const WidgetSettings settings;
    const FaceInputs inputs{weather, settings, ConnectionState::Succeeded, true, true, At(2013, 3, 27, 10)};
    std::vector<ArgbSurface> faces;
    for (const int dpi : {96, 192}) {
        FacePainter painter(nullptr, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255, dpi);
        FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
        FirstLoadGrowth(layout, false, [] {});
        painter.Draw(ComposeFace(layout, inputs, painter));
        faces.push_back(painter.Pixels());
        // Layout units whatever the DPI: the pictures measure as at 96 DPI.
        EXPECT_EQ(painter.PictureSize("UI\\Grid.png").width, 191) << dpi;
    }
    ASSERT_EQ(faces[1].width, 2 * kMainFaceWidth);
    ASSERT_EQ(faces[1].height, 2 * kMainFaceHeight);
    // Texts are hinted at each size of their own and edges filtered differently: a few levels on average. The
    // same face drawn one pixel to the right differs by far more.
    const double difference = MeanDifferenceToHalved(faces[0], faces[1]);
    EXPECT_LT(difference, 5.0);  // 3.2 under Wine; moved by one pixel, 8.4
    ArgbSurface shifted(faces[0].width, faces[0].height);
    for (int y = 0; y < shifted.height; ++y) {
        for (int x = 1; x < shifted.width; ++x) shifted.At(x, y) = faces[0].At(x - 1, y);
    }
    EXPECT_GT(MeanDifferenceToHalved(shifted, faces[1]), 2 * difference);
}

TEST_F(FaceRenderer, MissingPicturesAndFontsLeaveTheRestOfTheFace) {
    CurrentFolder empty(m_temp.Path());  // no picture set here
    FacePainter painter(nullptr, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255);
    EXPECT_EQ(painter.PictureSize("UI\\Grid.png").width, 0);
    FaceLayout layout = MainFaceLayout(ViewStyle::Large, "No Such Family Anywhere", "Arial");
    FirstLoadGrowth(layout, false, [] {});
    const WeatherData weather = Feed("awkward-istanbul-utf8.xml");
    const WidgetSettings settings;
    painter.Draw(ComposeFace(layout, {weather, settings, ConnectionState::Succeeded, true, true, {}}, painter));
    EXPECT_FALSE(painter.Present());  // no window
    const ArgbSurface s = painter.Pixels();
    EXPECT_EQ(Alpha(s.At(62, 50)), 0);                     // no sky
    EXPECT_GT(WhitePixels(s, layout.temperatureLbl), 40);  // the sans-serif stand-in
    EXPECT_GT(layout.temperatureLbl.width, 20);
}

TEST_F(FaceRenderer, StaleWeatherIsDrawnAtHalfOpacity) {
    const WeatherData weather = Feed("awkward-istanbul-utf8.xml");
    WidgetSettings settings;
    settings.background = 0;  // no glass under the texts
    const auto mostAlpha = [&](bool stale) {
        FacePainter painter(nullptr, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255);
        FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
        FirstLoadGrowth(layout, false, [] {});
        FaceInputs inputs{weather, settings, ConnectionState::Succeeded, false, true, At(2026, 12, 8, 10)};
        inputs.stale = stale;
        painter.Draw(ComposeFace(layout, inputs, painter));
        const ArgbSurface s = painter.Pixels();
        int most = 0;
        const Placeholder& label = layout.temperatureLbl;
        for (int y = label.top; y < label.top + label.height; ++y) {
            for (int x = label.left; x < label.left + label.width; ++x) most = std::max(most, Alpha(s.At(x, y)));
        }
        return most;
    };
    EXPECT_EQ(mostAlpha(false), 255);
    const int stale = mostAlpha(true);
    EXPECT_GE(stale, 120);
    EXPECT_LE(stale, 135);
}

TEST_F(FaceRenderer, FadesReachTheirTargetsOnAWindow) {
    CurrentFolder folder(ProgramFolder());
    FacePainter painter(m_window.Get(), kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 0);
    FaceLayout layout = MainFaceLayout(ViewStyle::Medium, "Arial", "Arial");
    const WidgetSettings settings;
    ComposeMainBackdrop(painter, layout, settings);
    painter.FadeIn(255);
    EXPECT_EQ(painter.Alpha(), 255);
    painter.FadeOut(127);
    EXPECT_EQ(painter.Alpha(), 127);
    painter.FadeIn(127);
    EXPECT_EQ(painter.Alpha(), 127);
    m_window.Show();
    ArgbSurface grab(0, 0);
    // The whole face at half its opacity. Cut out, the faintest shadow pixels may round to fully transparent.
    constexpr int kFaintEdgePixels = 60;
    EXPECT_LE(WaitForScreen(painter.Pixels(), 127, grab, kFaintEdgePixels), kFaintEdgePixels);
    painter.SetAlpha(255);
    EXPECT_TRUE(painter.Present());
    EXPECT_EQ(WaitForScreen(painter.Pixels(), 255, grab), 0);
}

TEST_F(FaceRenderer, MainFaceAnimatesBetweenStylesOnItsWindow) {
    CurrentFolder folder(ProgramFolder());
    MainFace face(m_window.Get(), 255);
    EXPECT_EQ(face.Layout().backgroundStretch, 1.25f);
    EXPECT_FALSE(face.Layout().gridLbl.visible);
    face.SetFonts("Tahoma", "No Such Family Anywhere");
    const WeatherData weather = Feed("07-new-york-2013-c.xml");
    const WidgetSettings settings;
    face.Layout().style = ViewStyle::Large;
    face.GrowToViewStyle(true, settings);
    EXPECT_EQ(face.Layout().backgroundStretch, 4.0f);
    EXPECT_TRUE(face.Layout().moonLbl.visible);
    const FaceInputs inputs{weather, settings, ConnectionState::Succeeded, true, true, At(2013, 3, 27, 10)};
    face.Compose(inputs);
    EXPECT_GT(WhitePixels(face.Painter().Pixels(), face.Layout().cityNameLbl), 10);  // the stand-in font draws
    EXPECT_TRUE(face.ChangeViewStyle(ViewStyle::Medium, inputs));
    EXPECT_EQ(face.Layout().backgroundStretch, 2.5f);
    EXPECT_FALSE(face.ChangeViewStyle(ViewStyle::Medium, inputs));
    // The glass now ends below the first row of cells.
    EXPECT_EQ(Alpha(face.Painter().Pixels().At(150, 200)), 0);
}

TEST_F(FaceRenderer, EveryRecordedFeedDrawsInEveryState) {
    CurrentFolder folder(ProgramFolder());
    FacePainter painter(nullptr, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), 255);
    int feeds = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(NIMBO_TEST_DATA_DIR) / "feeds")) {
        if (entry.path().extension() != ".xml") continue;
        ++feeds;
        const WeatherData weather = Feed(entry.path().filename().string().c_str());
        for (int state = 0; state < 4; ++state) {
            FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
            FirstLoadGrowth(layout, false, [] {});
            WidgetSettings settings;
            settings.background = static_cast<uint8_t>(state + 1);
            const FaceInputs inputs{weather, settings, static_cast<ConnectionState>(state),
                                    true,    true,     At(2026, 12, 8, 10)};
            painter.Draw(ComposeFace(layout, inputs, painter));
            const ArgbSurface s = painter.Pixels();
            EXPECT_EQ(Alpha(s.At(232, 247)), 0) << entry.path().filename();
            EXPECT_GT(Alpha(s.At(100, 200)), 30) << entry.path().filename();  // the glass is there
        }
    }
    EXPECT_GE(feeds, 20);
}

TEST_F(FaceRenderer, AboutWindowGlassIsWiderWithTheSameEnds) {
    CurrentFolder folder(ProgramFolder());
    FacePainter painter(nullptr, 329, 249,
                        std::vector<std::string>(kBackgroundPictures.begin(), kBackgroundPictures.end()), 255);
    DrawList ops{ClearOp{}};
    DrawBackground(ops, painter, 4, 8, 321, 4.5f, {0x804000, 255}, 10);
    painter.Draw(ops);
    EXPECT_TRUE(painter.SavePng((m_shots / "about-glass.png").wstring()));
    const ArgbSurface s = painter.Pixels();
    // The same milky coffee near the right end as in the middle, and nothing beyond the glass.
    for (const int x : {60, 160, 310}) {
        EXPECT_EQ(Alpha(s.At(x, 150)), 255) << x;
        EXPECT_NEAR(Red(s.At(x, 150)), 121, 12) << x;
        EXPECT_NEAR(Green(s.At(x, 150)), 69, 12) << x;
    }
    // No seam between the slices, nor between the rounded ends and the widened middle.
    for (const int y : {17, 18, 19, 211, 212, 213}) {
        EXPECT_EQ(Alpha(s.At(160, y)), 255) << y;
    }
    for (const int x : {19, 20, 21, 308, 309, 310}) {
        EXPECT_EQ(Alpha(s.At(x, 150)), 255) << x;
    }
    EXPECT_EQ(Alpha(s.At(327, 150)), 0);
    EXPECT_EQ(Alpha(s.At(2, 150)), 0);
    EXPECT_EQ(Alpha(s.At(160, 248)), 0);
}

}  // namespace
}  // namespace nimbo
