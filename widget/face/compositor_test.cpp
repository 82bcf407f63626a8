// The glass background's drawing operations, the tint matrix, rounding and the fade steps.
#include "widget/face/compositor.h"

#include <gtest/gtest.h>

#include <map>

namespace nimbo {
namespace {

class SizesMeasurer : public FaceMeasurer {
public:
    std::map<std::string, SizeI> sizes;
    SizeI PictureSize(const std::string& name) const override {
        const auto it = sizes.find(name);
        return it == sizes.end() ? SizeI{} : it->second;
    }
    RectF MeasureText(const std::string&, TextAlign, const FontSpec&) const override { return {}; }
};

SizesMeasurer GlassSizes(int midHeight) {
    SizesMeasurer m;
    m.sizes = {{"Colorize\\Top.png", {195, 10}},
               {"Colorize\\Mid.png", {195, midHeight}},
               {"Colorize\\Base.png", {195, 12}},
               {"Colorize\\Top Overlay.png", {195, 10}},
               {"Colorize\\Mid Overlay.png", {195, midHeight}},
               {"Colorize\\Base Overlay.png", {195, 12}},
               {"UI\\Reflection.png", {181, 40}}};
    return m;
}

std::vector<PictureOp> Pictures(const DrawList& ops) {
    std::vector<PictureOp> pictures;
    for (const DrawOp& op : ops) {
        if (const auto* picture = std::get_if<PictureOp>(&op)) pictures.push_back(*picture);
    }
    return pictures;
}

TEST(Compositor, RoundingTiesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{12.5, 12},  {13.5, 14}, {107.5, 108}, {12.49, 12},  {12.51, 13},
                                            {53.75, 54}, {0.5, 0},   {1.5, 2},     {172.0, 172}, {-0.5, 0}};
    for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(Compositor, TintMatrixScalesEachChannelOnTheDiagonal) {
    const ColorMatrix m = TintMatrix(0x804000, 255);
    EXPECT_FLOAT_EQ(m[0], 256.0f / 255.0f);
    EXPECT_FLOAT_EQ(m[6], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(m[12], 0.0f);
    EXPECT_FLOAT_EQ(m[18], 1.0f);
    EXPECT_FLOAT_EQ(m[24], 1.0f);
    for (int i = 0; i < 25; ++i) {
        if (i % 6 != 0) {
            EXPECT_EQ(m[i], 0.0f) << i;
        }
    }
    EXPECT_FLOAT_EQ(TintMatrix(0xFFFFFF, 120)[0], 2.0f);
    EXPECT_FLOAT_EQ(TintMatrix(0xFFFFFF, 120)[18], 120.0f / 255.0f);
}

TEST(Compositor, BackgroundStacksTheSlicesAndStretchesTheMiddleOnes) {
    const SizesMeasurer m = GlassSizes(43);
    DrawList ops;
    DrawBackground(ops, m, 30, 47, 195, 4.0f, {0x804000, 255});
    const std::vector<PictureOp> p = Pictures(ops);
    ASSERT_EQ(p.size(), 7u);
    const char* order[] = {"Colorize\\Top.png",         "Colorize\\Mid.png",  "Colorize\\Base.png",
                           "Colorize\\Top Overlay.png", "UI\\Reflection.png", "Colorize\\Mid Overlay.png",
                           "Colorize\\Base Overlay.png"};
    for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].name, order[i]);
    EXPECT_EQ(p[0].destination, (RectF{30, 47, kNaturalSize, kNaturalSize}));
    EXPECT_EQ(p[0].mode, PictureMode::Tinted);
    EXPECT_EQ(p[1].destination, (RectF{30, 57, 195, 172}));
    EXPECT_EQ(p[1].source, (RectF{0, 0, 195, 43}));
    EXPECT_EQ(p[2].destination, (RectF{30, 229, kNaturalSize, kNaturalSize}));
    EXPECT_EQ(p[3].mode, PictureMode::Plain);
    EXPECT_EQ(p[4].destination, (RectF{37, 50, kNaturalSize, kNaturalSize}));
    EXPECT_EQ(p[5].destination, (RectF{30, 57, 195, 172}));
    EXPECT_FLOAT_EQ(p[5].source.height, 43 * 0.978f);
    EXPECT_EQ(p[5].mode, PictureMode::Tiled);
    EXPECT_EQ(p[6].destination, (RectF{30, 229, kNaturalSize, kNaturalSize}));
}

TEST(Compositor, MiddleSliceHeightRoundsHalvesToEven) {
    // 10 x 1.25 = 12.5 gives 12; 10 x 2.5 = 25; 43 x 1.25 = 53.75 gives 54; 43 x 2.5 = 107.5 gives 108.
    const std::tuple<int, float, float> cases[] = {{10, 1.25f, 12}, {10, 2.5f, 25}, {43, 1.25f, 54}, {43, 2.5f, 108}};
    for (const auto& [height, stretch, expected] : cases) {
        DrawList ops;
        DrawBackground(ops, GlassSizes(height), 0, 0, 195, stretch, {0, 120});
        const std::vector<PictureOp> p = Pictures(ops);
        EXPECT_EQ(p[1].destination.height, expected) << height << " x " << stretch;
        EXPECT_EQ(p[5].destination.height, expected) << height << " x " << stretch;
        EXPECT_EQ(p[2].destination.y, 10 + expected);
    }
}

TEST(Compositor, WiderGlassKeepsTheRoundedEndsAndWidensTheMiddle) {
    DrawList ops;
    DrawBackground(ops, GlassSizes(43), 4, 8, 321, 4.5f, {0x804000, 255}, 10);
    const std::vector<PictureOp> p = Pictures(ops);
    ASSERT_EQ(p.size(), 3u * 6 + 1);
    EXPECT_EQ(p[0].destination, (RectF{4, 8, 16, 10}));
    EXPECT_EQ(p[1].destination, (RectF{20, 8, 289, 10}));
    EXPECT_EQ(p[1].source, (RectF{16, 0, 163, 10}));
    EXPECT_EQ(p[2].destination, (RectF{309, 8, 16, 10}));
    EXPECT_EQ(p[2].source, (RectF{179, 0, 16, 10}));
    EXPECT_EQ(p[3].destination.height, 194);  // 43 x 4.5 = 193.5, to even
    EXPECT_EQ(p[12].name, "UI\\Reflection.png");
    EXPECT_EQ(p[12].destination.x, 14);
}

TEST(Compositor, MissingPicturesAddNoHeight) {
    DrawList ops;
    DrawBackground(ops, SizesMeasurer{}, 30, 47, 195, 4.0f, {0, 120});
    for (const PictureOp& p : Pictures(ops)) EXPECT_LE(p.destination.y, 50) << p.name;
}

TEST(Compositor, FadesStepBy18AndStopAtTheTarget) {
    const std::vector<uint8_t> in = FadeInAlphas(0, 255);
    ASSERT_EQ(in.size(), 15u);  // 14 steps to 252, one to 255
    EXPECT_EQ(in[0], 18);
    EXPECT_EQ(in[13], 252);
    EXPECT_EQ(in[14], 255);
    EXPECT_EQ(FadeInAlphas(250, 255), std::vector<uint8_t>{255});
    EXPECT_TRUE(FadeInAlphas(255, 255).empty());
    EXPECT_TRUE(FadeInAlphas(255, 127).empty());
    EXPECT_EQ(FadeInAlphas(127, 255).size(), 8u);

    const std::vector<uint8_t> out = FadeOutAlphas(255, 0);
    ASSERT_EQ(out.size(), 15u);
    EXPECT_EQ(out[0], 237);
    EXPECT_EQ(out[13], 3);
    EXPECT_EQ(out[14], 0);
    EXPECT_EQ(FadeOutAlphas(255, 127), (std::vector<uint8_t>{237, 219, 201, 183, 165, 147, 129, 127}));
    EXPECT_TRUE(FadeOutAlphas(0, 0).empty());
    EXPECT_EQ(FadeInAlphas(0, 3, 0).size(), 3u);  // a zero step still arrives
}

}  // namespace
}  // namespace nimbo
