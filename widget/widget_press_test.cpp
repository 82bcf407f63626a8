// A press on the widget: a click on a face button, or a move that never clicks.
#include "widget/widget_press.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

constexpr ScreenPoint kThreshold{4, 4};

TEST(WidgetPress, AClickIsAPressAndAReleaseOnOneButtonWithinTheDragRectangle) {
    const struct {
        FaceButton pressed;
        ScreenPoint movedTo;
        FaceButton released;
        FaceButton clicked;
    } cases[] = {
        {FaceButton::Options, {100, 50}, FaceButton::Options, FaceButton::Options},
        {FaceButton::Exit, {104, 46}, FaceButton::Exit, FaceButton::Exit},  // a hand's tremor
        {FaceButton::Exit, {105, 50}, FaceButton::Exit, FaceButton::None},  // a move
        {FaceButton::Hide, {100, 45}, FaceButton::Hide, FaceButton::None},
        {FaceButton::Exit, {100, 50}, FaceButton::Hide, FaceButton::None},  // slid onto another button
        {FaceButton::None, {100, 50}, FaceButton::None, FaceButton::None},
    };
    for (const auto& c : cases) {
        WidgetPress press;
        press.Press(c.pressed, {100, 50}, {300, 300});
        press.Move(c.movedTo, kThreshold);
        EXPECT_EQ(press.Release(c.released), c.clicked) << c.movedTo.x << "," << c.movedTo.y;
        EXPECT_FALSE(press.Pressed());
    }
}

TEST(WidgetPress, AMoveStartsPastTheThresholdAndThenFollowsTheMouseFromThePressPoint) {
    WidgetPress press;
    EXPECT_FALSE(press.Move({500, 500}, kThreshold));  // no press
    press.Press(FaceButton::None, {100, 50}, {300, 300});
    EXPECT_FALSE(press.Move({103, 53}, kThreshold));
    EXPECT_FALSE(press.Moving());
    const auto first = press.Move({110, 45}, kThreshold);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->x, 310);
    EXPECT_EQ(first->y, 295);
    // Back near the press point the window goes back too: the move has started.
    const auto back = press.Move({101, 50}, kThreshold);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->x, 301);
    EXPECT_EQ(back->y, 300);
    press.Cancel();
    EXPECT_FALSE(press.Move({200, 200}, kThreshold));
    EXPECT_EQ(press.Release(FaceButton::None), FaceButton::None);
}

}  // namespace
}  // namespace nimbo
