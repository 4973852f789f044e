// The experiment window's wiring: the target it offers, Cancel, and the exports of what it kept.
#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "WindowFixture.h"
#include "app/text/NumberText.h"
#include "ui/experiment/ExperimentPlot.h"

namespace quarmel::test {
namespace {

class ExperimentWindowTest : public WindowTest {
  protected:
    QWidget* Open() {
        Ctl<QAction>("Experiment1")->trigger();
        return Ctl<QWidget>("ExperimentWindow");
    }
};

TEST_F(ExperimentWindowTest, OffersTheKnownOptimumUntilTheUserWritesATarget) {
    form->OpenDataFile(QUARMEL_SOURCE_EXAMPLES "/sphere.txt");
    QWidget* window = Open();
    auto* target = Ctl<QLineEdit>("EditExperimentTarget");
    EXPECT_EQ(TextToFloat(target->text().toStdString()), 1e-6);  // the catalogue's 0 and 1e-6
    target->clear();
    QTest::keyClicks(target, "2,5");
    window->close();
    Open();
    EXPECT_EQ(target->text(), "2,5");
}

TEST_F(ExperimentWindowTest, CancelKeepsTheRunsThatEndedAndExportsThem) {
    Open();
    for (const char* name :
         {"CheckExperimentGreedy", "CheckExperimentSteepest", "CheckExperimentGenetic"}) {
        Ctl<QCheckBox>(name)->setChecked(false);
    }
    Ctl<QLineEdit>("EditExperimentSeeds")->setText("200");  // far more than end before Cancel
    auto* start = Ctl<QPushButton>("ButtonExperimentStart");
    auto* cancel = Ctl<QPushButton>("ButtonExperimentCancel");
    auto* progress = Ctl<QProgressBar>("ProgressExperiment");
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_FALSE(start->isEnabled());
    // Runs end in any order; the engine runs at most four per thread ahead of the first unended
    // one, so once that many have ended the first has too, and Cancel keeps at least it.
    const int ahead = 4 * static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    WAIT_FOR_MS(progress->value() >= ahead, 60000);
    QTest::mouseClick(cancel, Qt::LeftButton);
    WAIT_FOR_MS(start->isEnabled(), 30000);
    EXPECT_FALSE(cancel->isEnabled());

    auto* table = Ctl<QTableWidget>("TableExperiment");
    ASSERT_EQ(table->rowCount(), 1);
    const int kept = table->item(0, 1)->text().toInt();
    EXPECT_GE(kept, 1);
    EXPECT_LT(kept, 200);
    EXPECT_EQ(Ctl<QLabel>("LabelExperimentState")->text(),
              QString("Cancelled: %1 of 200 runs kept").arg(kept));

    QTemporaryDir dir;
    const std::string png = dir.filePath("band.png").toStdString();
    const std::string svg = dir.filePath("box.svg").toStdString();
    dialogs.files = {png, svg};
    Ctl<QPushButton>("ExportPlotExperimentBandPng")->click();
    Ctl<QPushButton>("ExportPlotExperimentBoxSvg")->click();
    EXPECT_TRUE(dialogs.Messages().empty());
    auto* band = Ctl<ExperimentPlot>("PlotExperimentBand");
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), band->size() * 2);  // twice by default
    std::stringstream text;
    text << std::ifstream(svg).rdbuf();
    EXPECT_NE(text.str().find("annealing"), std::string::npos);  // the box's caption
}

// Each access key (Alt+letter) belongs to one control, so it acts at once; Tab leaves the table.
TEST_F(ExperimentWindowTest, TheKeyboardReachesEveryControl) {
    QWidget* window = Open();
    std::map<QChar, QString> owners;
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        const QString text = QString(b->text()).remove("&&");
        const int at = text.indexOf('&');
        if (at < 0 || at + 1 >= text.size()) continue;
        const auto [it, added] = owners.emplace(text[at + 1].toLower(), b->text());
        EXPECT_TRUE(added) << b->text().toStdString() << " and " << it->second.toStdString();
    }
    QApplication::setActiveWindow(window);
    auto* table = Ctl<QTableWidget>("TableExperiment");
    table->setRowCount(2);  // as after an experiment: cells Tab could walk through
    table->setCurrentCell(0, 0);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    EXPECT_NE(window->focusWidget(), table);
}

// Closing the window while its runs go on asks first: No keeps both, Yes cancels the runs.
TEST_F(ExperimentWindowTest, ClosingAsksAndThenStopsTheRuns) {
    QWidget* window = Open();
    Ctl<QLineEdit>("EditExperimentSeeds")->setText("5000");
    auto* start = Ctl<QPushButton>("ButtonExperimentStart");
    QTest::mouseClick(start, Qt::LeftButton);
    for (const bool answer : {false, true}) {
        dialogs.answers = {answer};
        window->close();
        ASSERT_EQ(dialogs.shown.size(), answer ? 2u : 1u);
        EXPECT_EQ(dialogs.shown.back().Default, DefaultButton::No);
        EXPECT_EQ(window->isVisible(), !answer);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }, 30000));  // ended early
    auto* progress = Ctl<QProgressBar>("ProgressExperiment");
    EXPECT_LT(progress->value(), progress->maximum());
}

// The table comes in rank order, each row naming only lower-ranked algorithms as beaten, and the
// plots' legends follow the table.
TEST_F(ExperimentWindowTest, RanksTheAlgorithmsAndTheLegendsFollow) {
    Open();
    Ctl<QLineEdit>("EditExperimentSeeds")->setText("10");
    Ctl<QLineEdit>("EditExperimentEvaluations")->setText("3000");
    QTest::mouseClick(Ctl<QPushButton>("ButtonExperimentStart"), Qt::LeftButton);
    WAIT_FOR_MS(Ctl<QPushButton>("ButtonExperimentStart")->isEnabled(), 60000);
    auto* table = Ctl<QTableWidget>("TableExperiment");
    ASSERT_EQ(table->rowCount(), 4);
    const int rank = table->columnCount() - 2, beaten = table->columnCount() - 1;
    const std::string svg = Ctl<ExperimentPlot>("PlotExperimentBand")->SvgBytes();
    std::size_t legend = 0;
    for (int r = 0; r < 4; ++r) {
        const QString name = table->item(r, 0)->text();
        if (r > 0) {
            EXPECT_LE(table->item(r - 1, rank)->text().toInt(),
                      table->item(r, rank)->text().toInt());
        }
        for (const QString& other :
             table->item(r, beaten)->text().split(", ", Qt::SkipEmptyParts)) {
            int row = 0;
            while (row < 4 && table->item(row, 0)->text() != other) ++row;
            ASSERT_LT(row, 4) << other.toStdString();
            EXPECT_LT(table->item(r, rank)->text().toInt(), table->item(row, rank)->text().toInt());
        }
        const std::size_t at = svg.find(">" + name.toStdString() + "<");
        ASSERT_NE(at, std::string::npos) << name.toStdString();
        EXPECT_GT(at, legend);
        legend = at;
    }
}

}  // namespace
}  // namespace quarmel::test
