// The information window's redraw: the glass grows with the text, the header always shows, and the close
// button only while the window is active and no download runs.
#include "widget/face/info_face.h"

#include <gtest/gtest.h>

#include <map>

namespace nimbo {
namespace {

class FakeMeasurer : public FaceMeasurer {
public:
    SizeI PictureSize(const std::string& name) const override {
        static const std::map<std::string, SizeI> sizes = {
            {"Colorize\\Top.png", {195, 10}},         {"Colorize\\Mid.png", {195, 43}},
            {"Colorize\\Base.png", {195, 12}},        {"Colorize\\Top Overlay.png", {195, 10}},
            {"Colorize\\Mid Overlay.png", {195, 43}}, {"Colorize\\Base Overlay.png", {195, 12}}};
        const auto it = sizes.find(name);
        return it == sizes.end() ? SizeI{} : it->second;
    }
    // One line of 13 pixels per line of text, nothing for no text.
    RectF MeasureText(const std::string& text, TextAlign, const FontSpec&) const override {
        if (text.empty()) return {};
        float lines = 1;
        for (char c : text) lines += c == '\n' ? 1.0f : 0.0f;
        return {0, 0, 100, 13 * lines};
    }
};

struct Drawn {
    float midHeight = -1;
    float midOverlayHeight = -1;
    std::vector<std::string> texts;
    bool closeButton = false;
};

Drawn Draw(const DrawList& ops) {
    Drawn drawn;
    for (const DrawOp& op : ops) {
        if (const auto* picture = std::get_if<PictureOp>(&op)) {
            if (picture->name == "Colorize\\Mid.png") drawn.midHeight = picture->destination.height;
            if (picture->name == "Colorize\\Mid Overlay.png") drawn.midOverlayHeight = picture->destination.height;
            if (picture->name == "UI\\Close.png") drawn.closeButton = true;
        } else if (const auto* text = std::get_if<TextOp>(&op)) {
            drawn.texts.push_back(text->text);
        }
    }
    return drawn;
}

TEST(InfoFace, TheGlassGrowsWithTheTextAndTheHeaderAlwaysShows) {
    struct Case {
        std::string text;
        float middle;
    } cases[] = {
        {"", 43 - 14},                            // every line off: nothing drawn but the header
        {"IP: 1.2.3.4", 43 + 13 - 14},            // one line
        {"a\r\nb\r\nc\r\nd\r\ne", 43 + 65 - 14},  // five lines
    };
    for (const Case& c : cases) {
        InfoFaceLayout layout = InfoTextFormLayout();
        InfoFaceInputs inputs;
        inputs.text = c.text;
        const Drawn drawn = Draw(ComposeInfoFace(layout, inputs, FakeMeasurer()));
        EXPECT_EQ(drawn.midHeight, c.middle) << c.text;
        EXPECT_EQ(drawn.midOverlayHeight, c.middle) << c.text;
        std::vector<std::string> expected;
        if (!c.text.empty()) expected.push_back(c.text == "a\r\nb\r\nc\r\nd\r\ne" ? "a\nb\nc\nd\ne" : c.text);
        expected.push_back("Nimbo! Bilgi");
        EXPECT_EQ(drawn.texts, expected);
        EXPECT_EQ(layout.infoTextLbl.width, 172);
    }
}

TEST(InfoFace, TheWindowGrowsOnlyForTextsTallerThanItsLabel) {
    const auto heightFor = [](int lines) {
        InfoFaceInputs inputs;
        for (int i = 0; i < lines; ++i) inputs.text += i == 0 ? "x" : "\r\nx";
        return InfoFaceHeight(inputs, FakeMeasurer());
    };
    EXPECT_EQ(heightFor(0), kInfoFaceHeight);
    EXPECT_EQ(heightFor(10), kInfoFaceHeight);  // 130 pixels fit the label's 137
    EXPECT_EQ(heightFor(11), kInfoFaceHeight + 143 - 137);
    EXPECT_EQ(heightFor(12), kInfoFaceHeight + 156 - 137);
}

TEST(InfoFace, TheCloseButtonShowsOnlyWhileActiveAndNotConnecting) {
    struct Case {
        bool active;
        ConnectionState connection;
        bool drawn;
        bool visible;
    } cases[] = {
        {true, ConnectionState::Succeeded, true, true},
        {false, ConnectionState::Succeeded, false, true},
        {true, ConnectionState::Outstanding, false, false},
        {true, ConnectionState::Failed, true, true},
    };
    for (const Case& c : cases) {
        InfoFaceLayout layout = InfoTextFormLayout();
        InfoFaceInputs inputs;
        inputs.active = c.active;
        inputs.connection = c.connection;
        EXPECT_EQ(Draw(ComposeInfoFace(layout, inputs, FakeMeasurer())).closeButton, c.drawn);
        EXPECT_EQ(layout.closeBtn.visible, c.visible);
        EXPECT_EQ(layout.closeBtn.enabled, c.drawn);
    }
}

}  // namespace
}  // namespace nimbo
