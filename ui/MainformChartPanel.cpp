// Handing the chart its data and drawing it.
#include <QCheckBox>
#include <QScrollBar>
#include <QTabWidget>

#include "chart/MarkerPoints.h"
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

// The chart's side of the progress poll: markers for the chosen axes, and the data handed to
// the chart while its page is shown.
void TFormMain::TimerChartTimer() {
    const MarkerAxes axes{AxisXVariable, AxisYVariable, DisplayXMin,
                          DisplayXMax,   DisplayYMin,   DisplayYMax};
    std::vector<float> solutionMarkers = SolutionMarkers(RunSolutions, axes);
    std::vector<float> populationMarkers = PopulationMarkers(RunPopulation, axes);
    if (PageControlMain->currentWidget() == TabSheetChart) {
        PanelChart->Chart().SetData(DisplayXMin, DisplayXMax, DisplayYMin, DisplayYMax, HeightMin,
                                    HeightMax, SurfaceSamples, std::move(solutionMarkers),
                                    std::move(populationMarkers));
        ChartReady = true;
        RedrawChart();
    }
}

}  // namespace quarmel
