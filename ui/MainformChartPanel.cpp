// Handing the chart its data and drawing it.
#include <QCheckBox>
#include <QScrollBar>
#include <QTabWidget>

#include "ui/Mainform.h"
#include "ui/PanelChart.h"

namespace quarmel {

ChartFrame TFormMain::CurrentChartFrame() const {
    ChartFrame frame;
    frame.WaveMode = WaveDemoRunning;
    frame.Distance = static_cast<float>(ScrollBarScale->value());
    frame.TiltAngle = Navigation.TiltAngle;
    frame.TurnAngle = Navigation.TurnAngle;
    frame.ShiftX = static_cast<float>(Navigation.ShiftX);
    frame.ShiftY = static_cast<float>(Navigation.ShiftY);
    frame.ShowPoints = CheckBoxWireframe->isChecked();
    frame.ShowPolygons = CheckBoxPolygon->isChecked();
    frame.SmoothShading = CheckBoxShading->isChecked();
    frame.ShowSolution = CheckBoxSolution->isChecked();
    frame.ShowAxes = CheckBoxAxes->isChecked();
    frame.ShowAxesDescription = CheckBoxAxesDesc->isChecked();
    frame.ShowLines = CheckBoxFrames->isChecked();
    frame.SpiralMode = UsesSpiral;
    return frame;
}

void TFormMain::RedrawChart() {
    if (!ChartReady) return;
    PanelChart->SetChartReady(true);
    PanelChart->RedrawChart();
}

}  // namespace quarmel
