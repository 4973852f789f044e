// A run whose formula is undefined somewhere says how often, on its best value in the runs table.
#include <QLineEdit>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>

#include "WindowFixture.h"

namespace quarmel::test {
namespace {

using UndefinedValues = WindowTest;

TEST_F(UndefinedValues, TheRunsTableTellsHowManyEvaluationsWereUndefined) {
    Ctl<QSlider>("TrackBarLocalSleep")->setValue(0);
    auto* runs = Ctl<QTableWidget>("TableRuns");
    // Undefined for every negative x (the range is -50..50; minimising leads there), then
    // defined everywhere.
    for (const char* formula : {"sqrt(x) + y*c", "x^2 + y*c"}) {
        Ctl<QLineEdit>("EditFunction")->setText(formula);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSteepest"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form->RunWorker(), 20000);
    }
    ASSERT_EQ(runs->rowCount(), 2);
    const QString evaluations = runs->item(0, 5)->text();
    const QString hint = runs->item(0, 3)->toolTip();
    const QStringList words = hint.split(' ');
    ASSERT_EQ(words.size(), 8) << hint.toStdString();
    EXPECT_EQ(words.mid(3).join(' '), "evaluations undefined, counted as 0");
    EXPECT_EQ(QString(words[2]).remove(','), evaluations);
    EXPECT_GT(QString(words[0]).remove(',').toULongLong(), 0u);
    EXPECT_LE(QString(words[0]).remove(',').toULongLong(), evaluations.toULongLong());
    EXPECT_EQ(runs->item(1, 3)->toolTip(), "");
}

}  // namespace
}  // namespace quarmel::test
