// The Chart page's picture for an export, also while the page is hidden or was never shown.
#include <QCoreApplication>
#include <QImage>
#include <QResizeEvent>

#include "chart/MarkerPoints.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/PanelChart.h"

namespace quarmel {

void ChartPage::SetKnownOptimum(const std::optional<ExampleProblem>& known) {
    known_ = known;
    // The next tick gives the panel the marker; a page not shown gets it when it is drawn.
    listChanged_ = true;
}

bool ChartPage::GiveOptimum(const MarkerAxes& axes) {
    std::vector<float> marker;
    if (known_) {
        // The optimum as a one-solution path: the path's own rule places it on these axes.
        SolutionList optimum;
        Solution at;
        at.Values.assign(known_->Optimum.Location.begin(), known_->Optimum.Location.end());
        at.Value = static_cast<float>(known_->Optimum.Value);
        optimum.Append(std::move(at));
        marker = SolutionMarkers(optimum, axes);
    }
    return PanelChart->Chart().SetOptimumPoint(std::move(marker));
}

QImage ChartPage::Picture(const QSize& pageSize, const SolutionList& solutions,
                          const SolutionList& population) {
    if (!Current()) {
        if (!HasSurface()) return QImage();
        // A hidden widget gets its resize event only when it is shown: the page lays out the
        // panel, and the panel sizes its frame buffer, now.
        const QSize pageBefore = size();
        const QSize panelBefore = PanelChart->size();
        resize(pageSize);
        QResizeEvent pageResized(size(), pageBefore);
        QCoreApplication::sendEvent(this, &pageResized);
        QResizeEvent panelResized(PanelChart->size(), panelBefore);
        QCoreApplication::sendEvent(PanelChart, &panelResized);
        // What a tick on the shown page gives the panel; the page's next tick rebuilds the
        // markers again, as after any time hidden.
        const MarkerAxes axes = Axes();
        ChartModel& chart = PanelChart->Chart();
        GiveSurface();
        markerFeed_.Rebuild();
        markerFeed_.Update(solutions, axes, chart);
        chart.SetPopulationPoints(PopulationMarkers(population, axes));
        GiveOptimum(axes);
        chartReady_ = true;
        PanelChart->SetChartReady(true);
    }
    // The frame as drawn, at the panel's device pixel ratio.
    return PanelChart->grabFramebuffer();
}

}  // namespace quarmel
