#pragma once

namespace quarmel {

// Everything besides the model that one frame of the chart depends on: the view (distance, tilt,
// turn and shift, in the window's units) and the display options. The defaults are the window's
// start-up state.
struct ChartFrame {
    bool WaveMode = false;
    float Distance = 4000.0f;  // thousandths of a scene unit
    float TiltAngle = -90.0f;  // degrees about the scene's X axis
    float TurnAngle = 0.0f;    // degrees about the height axis
    float ShiftX = -50.0f;     // thousandths of a scene unit
    float ShiftY = -900.0f;
    bool ShowPoints = false;
    bool ShowPolygons = true;
    bool SmoothShading = true;
    bool ShowSolution = true;
    bool ShowAxes = true;
    bool ShowAxesDescription = false;
    bool ShowLines = false;
    bool SpiralMode = false;
};

}  // namespace quarmel
