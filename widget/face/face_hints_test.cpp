// The main face's hints follow what the last composition drew.
#include "widget/face/face_hints.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(FaceHints, OnlyShownPartsWithAHintTakePartAndTheCellsComeBeforeTheSky) {
    FaceLayout layout = MainFaceLayout(ViewStyle::Medium, "Arial", "Arial");
    ApplyCellVisibility(layout);
    EXPECT_TRUE(MainFaceHints(layout).empty());  // nothing composed yet: no text, no cell hints

    layout.weatherLbl.hint = "Hava: Açık";
    layout.dayLbl[0].showHint = true;
    layout.dayLbl[0].hint = "Güneşli";
    layout.dayLbl[4].showHint = true;  // hidden in the medium style
    layout.dayLbl[4].hint = "Yağmurlu";
    layout.exitBtn.visible = layout.exitBtn.enabled = true;
    layout.hideBtn.visible = true;  // drawn without the face being active: not pressable, no hint
    const std::vector<HintArea> expected = {
        {194, 41, 18, 18, "Kapat"}, {36, 126, 61, 34, "Güneşli"}, {0, 0, 174, 149, "Hava: Açık"}};
    EXPECT_EQ(MainFaceHints(layout), expected);
}

}  // namespace
}  // namespace nimbo
