#pragma once

#include <optional>

namespace quarmel {

// What a mouse button does when dragged on the chart panel.
enum MouseFunction : int { Rotate = 1, Move = 2, Scale = 3 };

enum class MouseButton { Left, Middle, Right };

// Cursor numbers of the chart panel: 0 is the panel's default cursor, the others are the three
// cursors the window registers for the mouse functions.
constexpr int kCursorDefault = 0;
constexpr int kCursorRotate = 100;
constexpr int kCursorMove = 101;
constexpr int kCursorScale = 102;

// The distance scroll bar, in thousandths of a scene unit.
constexpr int kScaleMin = 1000;
constexpr int kScaleMax = 10000;
constexpr int kScaleDefault = 4000;
constexpr int kScaleSmallChange = 60;
constexpr int kScaleLargeChange = 500;
// A drag limits the distance to this range before the scroll bar applies its own.
constexpr int kScaleDragMin = 100;
constexpr int kScaleDragMax = 10000;

// Auto-rotation speed track bar.
constexpr int kAutoRotationMin = 1;
constexpr int kAutoRotationMax = 30;
constexpr int kAutoRotationDefault = 10;

// The chart's view and the mouse state that changes it. The distance is not held here: it is the
// position of the scale scroll bar, which the window owns; drags return the position to set.
struct ViewNavigation {
    int ShiftX = -50;  // thousandths of a scene unit
    int ShiftY = -900;
    float TiltAngle = -90.0f;  // degrees about the scene's X axis
    float TurnAngle = 0.0f;    // degrees about the height axis
    int LastMouseX = 0;
    int LastMouseY = 0;
    bool LeftButtonHeld = false;  // left or middle button
    bool RightButtonHeld = false;
    MouseFunction LeftButtonFunction = MouseFunction::Rotate;
    MouseFunction RightButtonFunction = MouseFunction::Move;

    // A click on one of the three function pictures. The middle button changes nothing.
    void ChooseFunction(MouseButton button, MouseFunction function);

    // Button pressed on the panel; returns the cursor the panel takes.
    int MouseDown(MouseButton button, int x, int y);
    // Button released on the panel; returns the cursor the panel takes.
    int MouseUp(MouseButton button);
    // Mouse moved on the panel to (x, y). Scale, rotate and move are applied in that order, each
    // consuming the movement it uses. Nothing happens before the chart has data. Returns the new
    // distance when scaling is active (limited to the drag range, truncated), for the scroll bar.
    std::optional<int> MouseMove(int x, int y, bool chartReady, int distance);

    bool IsActive(MouseFunction function) const;

    // One auto-rotation tick at the given speed (track bar position).
    void AutoRotate(int speed);

    // The initial view, as "Default" and Open restore it.
    void ResetView();
    // The view of a new function: as the initial one but with no vertical shift.
    void ResetViewForNewFunction();
    // Rotate on the left button, move on the right.
    void ResetButtonFunctions();
};

// Cursor number for a mouse function.
int CursorFor(MouseFunction function);

}  // namespace quarmel
