#include "app/chartpage/ViewNavigation.h"

namespace quarmel {

namespace {

// Keeps an angle in 0 .. 360 after a rotation.
float WrapAngle(float angle) {
    while (angle < 0.0f) angle += 360.0f;
    while (angle > 360.0f) angle -= 360.0f;
    return angle;
}

}  // namespace

int CursorFor(MouseFunction function) {
    switch (function) {
        case MouseFunction::Rotate:
            return kCursorRotate;
        case MouseFunction::Move:
            return kCursorMove;
        case MouseFunction::Scale:
            return kCursorScale;
    }
    return kCursorDefault;
}

void ViewNavigation::ChooseFunction(MouseButton button, MouseFunction function) {
    if (button == MouseButton::Left) LeftButtonFunction = function;
    if (button == MouseButton::Right) RightButtonFunction = function;
}

int ViewNavigation::MouseDown(MouseButton button, int x, int y) {
    LastMouseX = x;
    LastMouseY = y;
    if (button == MouseButton::Right) {
        RightButtonHeld = true;
        return CursorFor(RightButtonFunction);
    }
    LeftButtonHeld = true;
    return CursorFor(LeftButtonFunction);
}

int ViewNavigation::MouseUp(MouseButton button) {
    if (button == MouseButton::Right)
        RightButtonHeld = false;
    else
        LeftButtonHeld = false;
    return kCursorDefault;
}

bool ViewNavigation::IsActive(MouseFunction function) const {
    return (LeftButtonHeld && LeftButtonFunction == function) ||
           (RightButtonHeld && RightButtonFunction == function);
}

std::optional<int> ViewNavigation::MouseMove(int x, int y, bool chartReady, int distance) {
    if (!chartReady) return std::nullopt;
    std::optional<int> newDistance;

    if (IsActive(MouseFunction::Scale)) {
        // 1 % of the distance per pixel, each step rounded to single precision.
        float p = static_cast<float>(distance);
        while (LastMouseY < y) {
            ++LastMouseY;
            p = static_cast<float>(p * (1.0 / 1.01));
        }
        while (LastMouseY > y) {
            --LastMouseY;
            p = static_cast<float>(p * 1.01);
        }
        if (p < kScaleDragMin) p = kScaleDragMin;
        if (p > kScaleDragMax) p = kScaleDragMax;
        newDistance = static_cast<int>(p);
    }

    if (IsActive(MouseFunction::Rotate)) {
        while (LastMouseX < x) {
            ++LastMouseX;
            TurnAngle += 0.5f;
        }
        while (LastMouseX > x) {
            --LastMouseX;
            TurnAngle -= 0.5f;
        }
        TurnAngle = WrapAngle(TurnAngle);
        while (LastMouseY < y) {
            ++LastMouseY;
            TiltAngle = static_cast<float>(TiltAngle + 0.3);
        }
        while (LastMouseY > y) {
            --LastMouseY;
            TiltAngle = static_cast<float>(TiltAngle - 0.3);
        }
        TiltAngle = WrapAngle(TiltAngle);
    }

    if (IsActive(MouseFunction::Move)) {
        while (LastMouseX < x) {
            ++LastMouseX;
            ShiftX += 10;
        }
        while (LastMouseX > x) {
            --LastMouseX;
            ShiftX -= 10;
        }
        // Screen y grows downwards, the scene's upwards.
        while (LastMouseY < y) {
            ++LastMouseY;
            ShiftY -= 10;
        }
        while (LastMouseY > y) {
            --LastMouseY;
            ShiftY += 10;
        }
    }
    return newDistance;
}

void ViewNavigation::AutoRotate(int speed) {
    TurnAngle = static_cast<float>(TurnAngle - speed * 0.1);
    if (TurnAngle < 0.0f) TurnAngle += 360.0f;
}

void ViewNavigation::ResetView() {
    TiltAngle = -90.0f;
    TurnAngle = 0.0f;
    ShiftX = -50;
    ShiftY = -900;
}

void ViewNavigation::ResetViewForNewFunction() {
    ResetView();
    ShiftY = 0;
}

void ViewNavigation::ResetButtonFunctions() {
    LeftButtonFunction = MouseFunction::Rotate;
    RightButtonFunction = MouseFunction::Move;
}

}  // namespace quarmel
