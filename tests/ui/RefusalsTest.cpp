// Commands that refuse what they cannot do well: a run with a fixed seed that is not a seed, an
// export with nothing to write; and the chart exported before its page was ever shown.
#include <QCheckBox>
#include <QImage>
#include <QMenu>
#include <QStatusBar>

#include <set>

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

class Refusals : public WindowTest {
  protected:
    void OpenTwoSolutions() {
        SolutionList solutions;
        solutions.Append(Solution{{1, 2, 3}, 10});
        solutions.Append(Solution{{0, 2, 5}, 15});
        OpenWithSolutions(solutions);
    }
};

TEST_F(Refusals, AFixedSeedOutOfRangeStartsNoRun) {
    Ctl<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    for (const char* text : {"", "9999999999"}) {
        dialogs.shown.clear();
        Ctl<QLineEdit>("EditSeed")->setText(text);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
        EXPECT_EQ(dialogs.Messages(),
                  std::vector<std::string>{std::string("Fixed seed needs a whole number from 0 to "
                                                       "4294967295, not '") +
                                           text + "'."});
        EXPECT_FALSE(form->RunWorker());
        EXPECT_FALSE(form->Session().Active());
        EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonGreedy")->isEnabled());
        EXPECT_TRUE(Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty());
    }
}

TEST_F(Refusals, ExportsWithNothingToWriteAreDisabled) {
    emit Ctl<QMenu>("MenuRuns")->aboutToShow();
    for (const char* item :
         {"ExportChart1", "ExportPlotPng1", "ExportPlotSvg1", "ExportSolutions1", "ExportRuns1"}) {
        EXPECT_FALSE(Ctl<QAction>(item)->isEnabled()) << item;
        Ctl<QAction>(item)->trigger();
    }
    EXPECT_TRUE(dialogs.fileDialogs.empty());

    // Opened solutions can be exported, a runs table without runs still cannot.
    OpenTwoSolutions();
    emit Ctl<QMenu>("MenuRuns")->aboutToShow();
    EXPECT_TRUE(Ctl<QAction>("ExportSolutions1")->isEnabled());
    EXPECT_TRUE(Ctl<QAction>("ExportChart1")->isEnabled());
    EXPECT_FALSE(Ctl<QAction>("ExportRuns1")->isEnabled());
}

TEST_F(Refusals, TheChartExportedBeforeItsPageWasShownIsDrawnAtThePanelsSize) {
    OpenTwoSolutions();
    ASSERT_NE(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Chart());
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.png");
    dialogs.files = {path.toStdString()};
    emit Ctl<QMenu>("MenuRuns")->aboutToShow();
    Ctl<QAction>("ExportChart1")->trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    const QImage picture(path);

    // The surface, the axes and their labels on the background, not one colour.
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 2u);
    // The size the panel has once its page is shown.
    ClickTab(Chart());
    WAIT_FOR_MS(Ctl<ChartPage>("TabSheetChart")->ChartReady(), 5000);
    const PanelChart* panel = Ctl<PanelChart>("PanelChart");
    EXPECT_EQ(picture.size(), panel->size() * panel->devicePixelRatioF());
}

}  // namespace
}  // namespace quarmel::test
