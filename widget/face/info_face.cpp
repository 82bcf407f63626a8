// The information window's placeholders and its redraw.
#include "widget/face/info_face.h"

#include <algorithm>

namespace nimbo {

namespace {

// The glass's middle slices are this much shorter than the picture before the text's height is added.
constexpr float kGlassTextOverlap = 14;

// Line breaks as a single LF: Wine's GDI+ draws the CR of a CR LF as a box.
std::string WithLfBreaks(const std::string& text) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    return lines;
}

TextOp ShadowText(std::string text, RectF rect, FontSpec font, TextAlign align) {
    TextOp op;
    op.text = std::move(text);
    op.rect = rect;
    op.font = std::move(font);
    op.align = align;
    op.shadow = true;
    return op;
}

// The text's height as the glass grows by it: wrapped as the label draws it, so a long line that takes two
// rows grows the glass by both.
int GlassTextHeight(const std::string& text, const FaceMeasurer& measurer) {
    constexpr float kLabelWidth = 172;
    return RoundHalfEven(measurer.MeasureWrappedText(text, TextAlign::Center, MainInfoTextFont(), kLabelWidth).height);
}

}  // namespace

InfoFaceLayout InfoTextFormLayout() {
    InfoFaceLayout layout;
    layout.backgrndLbl = MakePlaceholder(8, 8, 195, 186);
    layout.infoTextLbl = MakePlaceholder(20, 48, 172, 137, {"Tahoma", 11, FontUnit::Pixel, false, false});
    layout.headerTextLbl = MakePlaceholder(24, 17, 109, 22, {"Trebuchet MS", 16, FontUnit::Pixel, true, false});
    layout.closeBtn = MakePlaceholder(175, 15, 18, 18);
    layout.closeBtn.hint = "Kapat";
    layout.closeBtn.showHint = true;
    return layout;
}

std::vector<std::string> InfoFacePictures() {
    std::vector<std::string> names(kBackgroundPictures.begin(), kBackgroundPictures.end());
    names.emplace_back("UI\\Close.png");
    return names;
}

int InfoFaceHeight(const InfoFaceInputs& inputs, const FaceMeasurer& measurer) {
    constexpr int kDesignedTextHeight = 137;  // InfoTextLbl's height on the form
    const int textHeight = GlassTextHeight(inputs.text, measurer);
    return std::max(kInfoFaceHeight, kInfoFaceHeight + textHeight - kDesignedTextHeight);
}

DrawList ComposeInfoFace(InfoFaceLayout& layout, const InfoFaceInputs& inputs, const FaceMeasurer& measurer) {
    DrawList ops;
    ops.push_back(ClearOp{});

    const int textHeight = GlassTextHeight(inputs.text, measurer);
    GlassTint tint;
    if (layout.backgrndLbl.visible && BackgroundTint(inputs.settings, tint)) {
        DrawBackground(ops, measurer, layout.backgrndLbl.left, layout.backgrndLbl.top, layout.backgrndLbl.width, 1.0f,
                       tint, 7, static_cast<float>(textHeight) - kGlassTextOverlap);
    }

    Placeholder& text = layout.infoTextLbl;
    if (text.visible && !inputs.text.empty()) {
        const std::string lines = WithLfBreaks(inputs.text);
        text.height =
            RoundHalfEven(measurer.MeasureWrappedText(lines, TextAlign::Center, text.font, text.width).height) + 1;
        ops.push_back(ShadowText(lines, MovedRect(text.Rect(), -1, -1), text.font, TextAlign::Center));
    }

    const bool connecting = inputs.connection == ConnectionState::Outstanding;
    Placeholder& close = layout.closeBtn;
    close.enabled = inputs.active && !connecting;
    close.visible = !connecting;
    if (close.enabled && close.visible) {
        PictureOp op;
        op.name = "UI\\Close.png";
        op.destination = {static_cast<float>(close.left), static_cast<float>(close.top), kNaturalSize, kNaturalSize};
        ops.push_back(op);
    }

    Placeholder& header = layout.headerTextLbl;
    const RectF box = measurer.MeasureText(kInfoHeaderText, TextAlign::Near, header.font);
    header.width = RoundHalfEven(box.width) + 1;
    header.height = RoundHalfEven(box.height) + 1;
    ops.push_back(ShadowText(kInfoHeaderText, MovedRect(header.Rect(), -1, -1), header.font, TextAlign::Near));
    return ops;
}

}  // namespace nimbo
