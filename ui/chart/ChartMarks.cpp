// What the Chart page marks besides the current run: the kept runs' paths and a start picked
// with a double click.
#include "chart/SurfacePick.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/PanelChart.h"

namespace quarmel {

void ChartPage::SetKeptPaths(std::vector<KeptPath> runs) {
    kept_ = std::move(runs);
    if (GiveKeptPaths(Axes())) {
        PanelChart->NoteDataChanged();
        RedrawIfChanged();
    }
}

bool ChartPage::GiveKeptPaths(const MarkerAxes& axes) {
    return keptFeed_.Update(kept_, axes, PanelChart->Chart());
}

void ChartPage::SetLanePopulations(std::vector<LanePopulation> lanes) {
    lanePopulations_ = std::move(lanes);
    lanePopulationsStale_ = true;
    if (GiveLanePopulations(Axes())) {
        PanelChart->NoteDataChanged();
        RedrawIfChanged();
    }
}

void ChartPage::SetRunColour(std::optional<std::array<std::uint8_t, 3>> colour) {
    if (!PanelChart->Chart().SetRunColour(colour)) return;
    PanelChart->NoteDataChanged();
    RedrawIfChanged();
}

bool ChartPage::GiveLanePopulations(const MarkerAxes& axes) {
    if (!lanePopulationsStale_ && axes == lanePopulationAxes_) return false;
    lanePopulationsStale_ = false;
    lanePopulationAxes_ = axes;
    return PanelChart->Chart().SetLanePopulations(LanePopulationMarkers(lanePopulations_, axes));
}

void ChartPage::PickStart(int x, int y) {
    const auto& variables = problem_.Variables();
    const auto count = static_cast<int>(variables.size());
    if (!chartReady_ || waveMode_ || axisX_ == axisY_ || axisX_ >= count || axisY_ >= count) return;
    const int w = PanelChart->width(), h = PanelChart->height();
    if (w <= 0 || h <= 0) return;
    const ChartModel& chart = PanelChart->Chart();
    // The pixel's centre in normalised device coordinates, y upwards.
    const auto hit = PickSurface(chart, CurrentChartFrame(), 2.0 * (x + 0.5) / w - 1.0,
                                 1.0 - 2.0 * (y + 0.5) / h);
    if (!hit) return;
    const AxisValues at = ValuesAt(chart, *hit);
    MarkPickedStart(std::array<double, 3>{at.X, at.Y, at.Value});
    emit StartPicked(QString::fromStdString(variables[axisX_].Name), at.X,
                     QString::fromStdString(variables[axisY_].Name), at.Y);
}

void ChartPage::MarkPickedStart(std::optional<std::array<double, 3>> at) {
    std::vector<float> marker;
    if (at)
        marker = {static_cast<float>((*at)[0]), static_cast<float>((*at)[1]),
                  static_cast<float>((*at)[2])};
    if (!PanelChart->Chart().SetPickedPoint(std::move(marker))) return;
    PanelChart->NoteDataChanged();
    RedrawIfChanged();
}

}  // namespace quarmel
