#include "app/chartpage/ViewNavigation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quarmel {
namespace {

// Presses a button at (x0, y0) and drags to (x1, y1) in one move, with the chart ready.
std::optional<int> Drag(ViewNavigation& nav, MouseButton button, int x0, int y0, int x1, int y1,
                        int distance = kScaleDefault) {
    nav.MouseDown(button, x0, y0);
    return nav.MouseMove(x1, y1, true, distance);
}

TEST(ViewNavigationScale, TenPixelsDownFromDefaultDistanceGives3621) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    // 4000 / 1.01^10 = 3621.2..., truncated.
    EXPECT_EQ(Drag(nav, MouseButton::Left, 20, 20, 20, 30), 3621);
    EXPECT_EQ(nav.LastMouseY, 30);
}

TEST(ViewNavigationScale, PixelByPixelGivesTheSameAsOneMove) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    nav.MouseDown(MouseButton::Left, 0, 0);
    int distance = kScaleDefault;
    // The scroll bar holds whole numbers, so truncation happens at every event here.
    for (int y = 1; y <= 10; ++y) distance = *nav.MouseMove(0, y, true, distance);
    EXPECT_LE(distance, 3621);
    EXPECT_GE(distance, 3610);
}

TEST(ViewNavigationScale, UpwardsMovesAwayAndStopsAtTheDragMaximum) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Right, MouseFunction::Scale);
    // 4000 * 1.01^5 = 4204.04...
    EXPECT_EQ(Drag(nav, MouseButton::Right, 0, 50, 0, 45), 4204);
    EXPECT_EQ(Drag(nav, MouseButton::Right, 0, 50, 0, 40, 9900), kScaleDragMax);
}

TEST(ViewNavigationScale, DownwardsGoesBelowTheScrollBarMinimumButStopsAt100) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    // 1000 / 1.01^100 = 369.7...: below the scroll bar's own minimum, which the bar applies.
    EXPECT_EQ(Drag(nav, MouseButton::Left, 0, 0, 0, 100, kScaleMin), 369);
    EXPECT_EQ(Drag(nav, MouseButton::Left, 0, 0, 0, 400, kScaleMin), kScaleDragMin);
}

TEST(ViewNavigationScale, NoDistanceWithoutScaling) {
    ViewNavigation nav;  // rotate on the left, move on the right
    EXPECT_FALSE(Drag(nav, MouseButton::Left, 0, 0, 5, 5).has_value());
    EXPECT_FALSE(Drag(nav, MouseButton::Right, 0, 0, 5, 5).has_value());
}

TEST(ViewNavigationRotate, HalfADegreePerPixelAcrossAndWrapsIntoTheCircle) {
    ViewNavigation nav;
    Drag(nav, MouseButton::Left, 100, 100, 110, 100);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 5.0f);
    // The first rotation also brings the initial tilt of -90 into 0..360.
    EXPECT_FLOAT_EQ(nav.TiltAngle, 270.0f);
    nav.MouseMove(90, 100, true, kScaleDefault);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 355.0f);
}

TEST(ViewNavigationRotate, PointThreeDegreesPerPixelDownAddsTilt) {
    ViewNavigation nav;
    Drag(nav, MouseButton::Left, 0, 0, 0, 10);
    EXPECT_NEAR(nav.TiltAngle, 273.0f, 1e-3);
    nav.MouseMove(0, -20, true, kScaleDefault);
    EXPECT_NEAR(nav.TiltAngle, 264.0f, 1e-3);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 0.0f);
}

TEST(ViewNavigationMove, TenThousandthsPerPixelFollowingTheMouse) {
    ViewNavigation nav;
    Drag(nav, MouseButton::Right, 0, 0, 7, 3);
    EXPECT_EQ(nav.ShiftX, -50 + 70);
    EXPECT_EQ(nav.ShiftY, -900 - 30);
    nav.MouseMove(2, -1, true, kScaleDefault);
    EXPECT_EQ(nav.ShiftX, -50 + 20);
    EXPECT_EQ(nav.ShiftY, -900 + 10);
    EXPECT_FLOAT_EQ(nav.TiltAngle, -90.0f);  // moving does not rotate
}

TEST(ViewNavigationOrder, ScaleTakesTheVerticalMovementBeforeRotate) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    nav.ChooseFunction(MouseButton::Right, MouseFunction::Rotate);
    nav.MouseDown(MouseButton::Left, 0, 0);
    nav.MouseDown(MouseButton::Right, 0, 0);
    EXPECT_EQ(nav.MouseMove(10, 10, true, kScaleDefault), 3621);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 5.0f);
    EXPECT_FLOAT_EQ(nav.TiltAngle, 270.0f);  // wrapped, but no tilt from the movement
}

TEST(ViewNavigationOrder, RotateTakesBothCoordinatesBeforeMove) {
    ViewNavigation nav;  // rotate left, move right
    nav.MouseDown(MouseButton::Left, 0, 0);
    nav.MouseDown(MouseButton::Right, 0, 0);
    nav.MouseMove(10, 10, true, kScaleDefault);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 5.0f);
    EXPECT_NEAR(nav.TiltAngle, 273.0f, 1e-3);
    EXPECT_EQ(nav.ShiftX, -50);
    EXPECT_EQ(nav.ShiftY, -900);
}

TEST(ViewNavigationOrder, SameFunctionOnBothButtonsMovesOncePerPixel) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Move);
    nav.MouseDown(MouseButton::Left, 0, 0);
    nav.MouseDown(MouseButton::Right, 0, 0);
    nav.MouseMove(10, 0, true, kScaleDefault);
    EXPECT_EQ(nav.ShiftX, -50 + 100);
}

TEST(ViewNavigationOrder, MovementWithoutActiveFunctionIsNotConsumed) {
    ViewNavigation nav;
    nav.MouseDown(MouseButton::Right, 5, 5);
    nav.MouseUp(MouseButton::Right);
    nav.MouseMove(50, 50, true, kScaleDefault);
    EXPECT_EQ(nav.LastMouseX, 5);
    EXPECT_EQ(nav.LastMouseY, 5);
    // Pressing again starts from the new press point, not from the old one.
    nav.MouseDown(MouseButton::Right, 50, 50);
    nav.MouseMove(51, 50, true, kScaleDefault);
    EXPECT_EQ(nav.ShiftX, -40);
}

TEST(ViewNavigationButtons, BeforeTheChartHasDataOnlyThePressIsRecorded) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    EXPECT_EQ(nav.MouseDown(MouseButton::Left, 3, 4), kCursorScale);
    EXPECT_EQ(nav.LastMouseX, 3);
    EXPECT_EQ(nav.LastMouseY, 4);
    EXPECT_FALSE(nav.MouseMove(30, 40, false, kScaleDefault).has_value());
    EXPECT_EQ(nav.LastMouseY, 4);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 0.0f);
}

TEST(ViewNavigationButtons, MiddleActsAsLeftOnThePanelButNotOnThePictures) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Middle, MouseFunction::Scale);
    EXPECT_EQ(nav.LeftButtonFunction, MouseFunction::Rotate);
    EXPECT_EQ(nav.RightButtonFunction, MouseFunction::Move);
    EXPECT_EQ(nav.MouseDown(MouseButton::Middle, 0, 0), kCursorRotate);
    EXPECT_TRUE(nav.LeftButtonHeld);
    EXPECT_FALSE(nav.RightButtonHeld);
    nav.MouseMove(4, 0, true, kScaleDefault);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 2.0f);
    EXPECT_EQ(nav.MouseUp(MouseButton::Middle), kCursorDefault);
    EXPECT_FALSE(nav.LeftButtonHeld);
}

TEST(ViewNavigationButtons, CursorsFollowEachButtonsFunction) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Right, MouseFunction::Scale);
    EXPECT_EQ(nav.MouseDown(MouseButton::Right, 0, 0), kCursorScale);
    EXPECT_EQ(nav.MouseDown(MouseButton::Left, 0, 0), kCursorRotate);
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Move);
    EXPECT_EQ(nav.MouseDown(MouseButton::Left, 0, 0), kCursorMove);
    // Releasing one button leaves the other held.
    EXPECT_EQ(nav.MouseUp(MouseButton::Right), kCursorDefault);
    EXPECT_TRUE(nav.LeftButtonHeld);
    EXPECT_FALSE(nav.RightButtonHeld);
}

TEST(ViewNavigationAutoRotation, TurnsBackwardsByATenthOfTheSpeedAndWrapsOnce) {
    ViewNavigation nav;
    nav.AutoRotate(kAutoRotationDefault);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 359.0f);
    nav.AutoRotate(30);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 356.0f);
    nav.TurnAngle = 0.05f;
    nav.AutoRotate(1);
    EXPECT_NEAR(nav.TurnAngle, 359.95f, 1e-3);
    // Only one wrap: an angle far below zero stays below.
    nav.TurnAngle = -1000.0f;
    nav.AutoRotate(1);
    EXPECT_LT(nav.TurnAngle, 0.0f);
}

TEST(ViewNavigationReset, DefaultAndNewFunctionViews) {
    ViewNavigation nav;
    nav.ChooseFunction(MouseButton::Left, MouseFunction::Scale);
    nav.ChooseFunction(MouseButton::Right, MouseFunction::Rotate);
    Drag(nav, MouseButton::Right, 0, 0, 33, 44);
    nav.ShiftX = 7;
    nav.ShiftY = 8;
    nav.ResetView();
    EXPECT_FLOAT_EQ(nav.TiltAngle, -90.0f);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 0.0f);
    EXPECT_EQ(nav.ShiftX, -50);
    EXPECT_EQ(nav.ShiftY, -900);
    EXPECT_EQ(nav.LeftButtonFunction, MouseFunction::Scale);  // the view only
    nav.ResetButtonFunctions();
    EXPECT_EQ(nav.LeftButtonFunction, MouseFunction::Rotate);
    EXPECT_EQ(nav.RightButtonFunction, MouseFunction::Move);
    nav.TurnAngle = 12.0f;
    nav.ResetViewForNewFunction();
    EXPECT_EQ(nav.ShiftY, 0);
    EXPECT_EQ(nav.ShiftX, -50);
    EXPECT_FLOAT_EQ(nav.TurnAngle, 0.0f);
}

}  // namespace
}  // namespace quarmel
