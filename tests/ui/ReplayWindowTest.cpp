#include <QItemSelectionModel>

#include <algorithm>
#include <limits>
#include <vector>

#include "WindowFixture.h"
#include "chart/ChartModel.h"
#include "ui/chart/ReplayBar.h"

namespace quarmel::test {
namespace {

using ReplayWindow = WindowTest;

TEST_F(ReplayWindow, KeysOnTheChartReplayTheRunUntilANewRunBegins) {
    auto* bar = Ctl<ReplayBar>("ReplayBar");
    EXPECT_TRUE(bar->isHidden());
    RunGeneticToTheEnd();
    ASSERT_FALSE(bar->isHidden());
    const int count = static_cast<int>(form->Solutions().Count());
    auto* slider = Ctl<QSlider>("SliderReplay");
    EXPECT_EQ(slider->value(), count - 1);
    PanelChart* panel = form->Chart();
    const ChartModel& chart = panel->Chart();
    const std::vector<float> finalPopulation = chart.PopulationPoints();

    panel->setFocus();
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right}) QTest::keyClick(panel, key);
    EXPECT_EQ(slider->value(), 2);
    const QModelIndexList rows = form->SolutionsTable()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), count - 1 - 2);            // the newest solution is in the first row
    EXPECT_EQ(chart.SolutionPoints().size(), 3u * 3u);  // three solutions, (x, y, f) each
    EXPECT_NE(chart.PopulationPoints(), finalPopulation);
    QTest::keyClick(panel, Qt::Key_End);
    EXPECT_EQ(chart.PopulationPoints(), finalPopulation);

    // Step k shows the population the k-th best so far was taken from: none of its values beats
    // that best, and where the best improved, the new best is one of them.
    const SolutionList& history = form->Solutions();
    QTest::keyClick(panel, Qt::Key_Home);
    for (int k = 0; k < count; ++k) {
        if (k > 0) QTest::keyClick(panel, Qt::Key_Right);
        const std::vector<float>& points = chart.PopulationPoints();
        float lowest = std::numeric_limits<float>::infinity();
        for (std::size_t i = 2; i < points.size(); i += 3) lowest = std::min(lowest, points[i]);
        const float best = history.At(k).Value;
        EXPECT_GE(lowest, best) << "step " << k;
        if (k > 0 && best < history.At(k - 1).Value) {
            EXPECT_EQ(lowest, best) << "step " << k;
        }
    }

    // A text field keeps its keys.
    auto* edit = Ctl<QLineEdit>("EditMinX");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(slider->value(), count - 1);

    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
    EXPECT_TRUE(bar->isHidden());
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonStop"), Qt::LeftButton);
}

}  // namespace
}  // namespace quarmel::test
