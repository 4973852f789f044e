// Comparing and keeping runs: a fixed seed repeats the batch runner's run, the exports, the
// runs table and the plot's curves.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "FindControl.h"
#include "WindowFixture.h"
#include "ui/chart/PanelChart.h"
#include "ui/plots/ConvergencePlot.h"

namespace quarmel::test {
namespace {

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string BatchOutput(const std::string& args) {
    std::string out;
    FILE* pipe = popen((std::string(QUARMEL_BATCH_EXE) + " " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
    return out;
}

class RunComparisonTest : public WindowTest {
  protected:
    void RunToEnd(QToolButton* button) {
        FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
        FindControl<QSlider>(form.get(), "TrackBarGeneticSleep")->setValue(0);
        FindControl<QSlider>(form.get(), "TrackBarIterations")->setValue(20);
        FindControl<QSlider>(form.get(), "TrackBarPopSize")->setValue(50);
        QTest::mouseClick(button, Qt::LeftButton);
        WAIT_FOR_MS(!form->RunWorker(), 20000);
    }
    // Controls by their names, as assistive technology finds them.
    template <class T>
    T* Find(const char* name) const {
        return form->findChild<T*>(name);
    }
    void Trigger(const char* action) const { Find<QAction>(action)->trigger(); }
    const ConvergencePlot& Plot() const { return *Find<ConvergencePlot>("ConvergencePlot"); }
    QTableWidget* TableRuns() const { return Find<QTableWidget>("TableRuns"); }
    QString File(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// State: a fixed seed. Action: a greedy and a genetic run, Save, and the solutions exported.
// Expected: the batch runner with that seed on the saved problem prints the exported CSV.
TEST_F(RunComparisonTest, AFixedSeedRepeatsTheBatchRunnersRun) {
    const QString sphere = QUARMEL_SOURCE_EXAMPLES "/sphere.txt";
    form->OpenDataFile(sphere.toStdString());
    Find<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    Find<QLineEdit>("EditSeed")->setText("7");
    const std::pair<QToolButton*, const char*> runs[] = {
        {Ctl<QToolButton>("SpeedButtonGreedy"), "--algorithm greedy"},
        {Ctl<QToolButton>("SpeedButtonGeneticAlg"),
         "--algorithm genetic --set Iterations=20 --set PopSize=50"}};
    for (const auto& [button, algorithm] : runs) {
        RunToEnd(button);
        EXPECT_EQ(Find<QLabel>("LabelSeed")->text(), "Seed 7");
        dialogs.files = {File("problem.txt").toStdString(), File("solutions.csv").toStdString()};
        Ctl<QAction>("Zapiszwyniki1")->trigger();
        Trigger("ExportSolutions1");
        const std::string exported = Slurp(File("solutions.csv"));
        ASSERT_NE(exported.find('\n'), std::string::npos);
        EXPECT_EQ(exported, BatchOutput(std::string(algorithm) + " --seed 7 " +
                                        File("problem.txt").toStdString()))
            << algorithm;
    }
    // The genetic run's bar counted its generations to the last and went with the run.
    const QProgressBar* bar = Find<QProgressBar>("ProgressRun");
    EXPECT_EQ(bar->text().toStdString(), "Generation 20 of 20");
    EXPECT_TRUE(bar->isHidden());
    // Each finished run is a row of the runs table and a curve of the plot.
    ASSERT_EQ(TableRuns()->rowCount(), 2);
    EXPECT_EQ(TableRuns()->item(1, 0)->text(), "genetic");
    EXPECT_EQ(TableRuns()->item(1, 2)->text(), "7");
    ASSERT_EQ(Plot().Runs().size(), 2u);
    EXPECT_EQ(Plot().Runs().back().Curve.Count(), form->Solutions().Count());
    EXPECT_FALSE(Plot().Runs().back().Curve.Means().empty());
    // Copy runs gives the experiment's runs table, naming the file each run's problem came from.
    Find<QPushButton>("ButtonCopyRuns")->click();
    const QStringList rows = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].endsWith(",gap,undefined")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(sphere + ",")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith(File("problem.txt") + ",")) << rows[2].toStdString();
    // Ctrl+C copies the selected cells of the Solutions table, tab-separated.
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    auto* view = Ctl<QTableView>("StringGridSolutions");
    const QModelIndex first = view->model()->index(0, 0), last = view->model()->index(1, 1);
    view->selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::Select);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied.count('\n'), 2) << copied.toStdString();
    EXPECT_TRUE(copied.startsWith("1\t")) << copied.toStdString();

    // The legend names each run uniquely; unchecking one hides its curve.
    auto* legend = Find<QListWidget>("ListPlotRuns");
    ASSERT_EQ(legend->count(), 2);
    const QString label = legend->item(1)->text();
    EXPECT_TRUE(label.startsWith("#2 genetic ") && label.contains("PopSize=50") &&
                label.endsWith(" seed 7"))
        << label.toStdString();
    legend->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(Plot().Runs().front().Hidden);
    // The wheel zooms in, Reset zoom shows everything again.
    auto* plot = Find<ConvergencePlot>("ConvergencePlot");
    Trigger("ConvergencePlot1");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(plot));
    QTest::qWait(50);  // painted once, so the plot knows where its curves are
    QWheelEvent wheel(QPointF(100, 100), plot->mapToGlobal(QPointF(100, 100)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
    EXPECT_FALSE(Plot().View().Whole());
    Find<QPushButton>("ButtonResetZoom")->click();
    EXPECT_TRUE(Plot().View().Whole());

    Trigger("ClearRuns1");
    EXPECT_TRUE(Plot().Runs().empty());
    EXPECT_EQ(TableRuns()->rowCount(), 0);
}

// State: a fixed seed. Action: CMA-ES from the reference algorithms' submenu. Expected: the
// batch runner's run with that seed, the generations counted on the status line's bar.
TEST_F(RunComparisonTest, AReferenceAlgorithmRunsFromItsSubmenuAsInTheBatchRunner) {
    Find<QCheckBox>("CheckBoxFixedSeed")->setChecked(true);
    Find<QLineEdit>("EditSeed")->setText("3");
    FindControl<QSlider>(form.get(), "TrackBarReferenceSleep")->setValue(0);
    FindControl<QSlider>(form.get(), "TrackBarCmaGenerations")->setValue(30);
    Trigger("Algorithm_cmaes");
    WAIT_FOR_MS(!form->RunWorker(), 20000);
    EXPECT_EQ(Find<QProgressBar>("ProgressRun")->text().toStdString(), "Generation 30 of 30");
    dialogs.files = {File("problem.txt").toStdString(), File("solutions.csv").toStdString()};
    Ctl<QAction>("Zapiszwyniki1")->trigger();
    Trigger("ExportSolutions1");
    const std::string exported = Slurp(File("solutions.csv"));
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 31);
    EXPECT_EQ(exported, BatchOutput("--algorithm cmaes --set CmaGenerations=30 --seed 3 " +
                                    File("problem.txt").toStdString()));
    EXPECT_EQ(TableRuns()->item(0, 0)->text(), "cmaes");
}

// Shown, the plot docks beside the pages, which keep their width; hidden, it gives the room back.
TEST_F(RunComparisonTest, ThePlotDocksBesideThePages) {
    const QWidget* pages = Ctl<QWidget>("PageControlMain");
    const int pagesWidth = pages->width(), formWidth = form->width();
    auto* dock = Find<QDockWidget>("DockRuns");
    Trigger("ConvergencePlot1");
    (void)QTest::qWaitFor([&] { return dock->isVisible() && pages->width() == pagesWidth; });
    EXPECT_FALSE(dock->isFloating());
    EXPECT_EQ(form->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_EQ(pages->width(), pagesWidth);
    Trigger("ConvergencePlot1");
    (void)QTest::qWaitFor([&] { return form->width() == formWidth; });
    EXPECT_EQ(form->width(), formWidth);
}

// The chart as drawn, at its pixel size; the plot as PNG and SVG.
TEST_F(RunComparisonTest, ExportsThePictures) {
    RunToEnd(Ctl<QToolButton>("SpeedButtonSA"));
    // The annealing's stage went with the run.
    EXPECT_EQ(Find<QLabel>("LabelStage")->text(), "");
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    WAIT_FOR_MS(Ctl<ChartPage>("TabSheetChart")->ChartReady(), 5000);
    dialogs.files = {File("chart.png").toStdString(), File("plot.png").toStdString(),
                     File("plot.svg").toStdString()};
    for (const char* action : {"ExportChart1", "ExportPlotPng1", "ExportPlotSvg1"}) Trigger(action);
    EXPECT_TRUE(dialogs.Messages().empty());

    const QImage chart(File("chart.png"));
    const qreal ratio = Ctl<PanelChart>("PanelChart")->devicePixelRatioF();
    EXPECT_EQ(chart.size(), Ctl<PanelChart>("PanelChart")->size() * ratio);
    // The surface, the path's markers and the axes, not a blank frame.
    const QRgb background = chart.pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < chart.height(); ++y) {
        for (int x = 0; x < chart.width(); ++x) drawn += chart.pixel(x, y) != background;
    }
    EXPECT_GT(drawn, chart.width() * chart.height() / 500);

    const QImage plot(File("plot.png"));
    EXPECT_EQ(plot.size(), Plot().sizeHint() * 2);  // twice the plot, whatever the screen
    const std::string svg = Slurp(File("plot.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("annealing"), std::string::npos);  // the legend's label
}

// State: two finished runs. Action: "Show paths on chart" on, the first run unchecked in the
// plot's list, the box off. Expected: the chart is handed the checked runs' paths in their plot
// colours (the last one is the current run's path), then the second alone, then none.
TEST_F(RunComparisonTest, ShowPathsOnChartHandsTheChartTheCheckedRunsPaths) {
    RunToEnd(Ctl<QToolButton>("SpeedButtonGreedy"));
    RunToEnd(Ctl<QToolButton>("SpeedButtonSteepest"));
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    WAIT_FOR_MS(Ctl<ChartPage>("TabSheetChart")->ChartReady(), 5000);
    const ChartModel& chart = form->Chart()->Chart();
    EXPECT_TRUE(chart.KeptPaths().empty());
    auto colourOf = [](const QColor& c) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(c.red()),
                                           static_cast<std::uint8_t>(c.green()),
                                           static_cast<std::uint8_t>(c.blue())};
    };
    auto* box = Find<QCheckBox>("CheckBoxShowPaths");
    ASSERT_FALSE(box->isChecked());
    box->setChecked(true);
    ASSERT_EQ(chart.KeptPaths().size(), 2u);
    EXPECT_EQ(chart.KeptPaths()[0].Colour, colourOf(Plot().Runs()[0].Colour));
    EXPECT_EQ(chart.KeptPaths()[1].Colour, colourOf(Plot().Runs()[1].Colour));
    EXPECT_EQ(chart.KeptPaths()[1].Points, chart.SolutionPoints());
    EXPECT_FALSE(chart.KeptPaths()[0].Points.empty());
    Find<QListWidget>("ListPlotRuns")->item(0)->setCheckState(Qt::Unchecked);
    ASSERT_EQ(chart.KeptPaths().size(), 1u);
    EXPECT_EQ(chart.KeptPaths()[0].Colour, colourOf(Plot().Runs()[1].Colour));
    box->setChecked(false);
    EXPECT_TRUE(chart.KeptPaths().empty());
}

}  // namespace
}  // namespace quarmel::test
