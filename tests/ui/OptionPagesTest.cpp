// The two option pages: their bars and texts at start, the texts the bars write, and reading.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "FindControl.h"
#include "WindowFixture.h"
#include "app/text/OptionTexts.h"
#include "model/Settings.h"

namespace quarmel::test {
namespace {

// A setting shown as a bar, and the bar's tick interval.
struct BarRow {
    const char* name;
    int tick;
};

const BarRow kBarRows[] = {
    {"LocalSleep", 100}, {"A", 10},       {"Temp0", 2},          {"TempPlus", 1},
    {"PercentAc", 1},    {"Lk", 1},       {"Alfa", 1},           {"Stop", 1},
    {"Iterations", 10},  {"PopSize", 10}, {"GeneticSleep", 100}, {"TournamentSize", 1},
    {"COA", 1},          {"COProbab", 1}, {"MutA", 10},          {"MProbab", 1},
};

class OptionPages : public WindowTest {
  protected:
    // The controls of a setting by its name, and a radio button by its own.
    QSlider* Bar(const QString& setting) const {
        return FindControl<QSlider>(form.get(), "TrackBar" + setting);
    }
    QLineEdit* Edit(const QString& setting) const {
        return FindControl<QLineEdit>(form.get(), "Edit" + setting);
    }
    QRadioButton* Radio(const char* name) const {
        return FindControl<QRadioButton>(form.get(), name);
    }

    // Settings no reading would produce, so a test sees which fields a reading wrote.
    void Scramble() {
        AlgParameters& p = form->Parameters;
        p.A = p.Alfa = p.Stop = p.COProbab = p.COA = p.MProbab = p.MutA = -7.0f;
        p.Temp0 = p.TempPlus = p.PercentAc = p.Lk = p.PopSize = p.Iterations = -7;
        p.TournamentSize = p.SelectionType = p.CrossoverType = p.LocalSleep = -7;
        p.GeneticSleep = -7;
    }
};

TEST_F(OptionPages, BarsAndTextsStartAsSet) {
    // Each bar shows its own setting (the edit's name is "Edit" and the setting's).
    for (const BarRow& row : kBarRows) {
        const std::string name = row.name;
        const SettingSpec* setting = FindSetting(name);
        ASSERT_NE(setting, nullptr) << name;
        QSlider* bar = Bar(row.name);
        QLineEdit* edit = Edit(row.name);
        EXPECT_EQ(bar->orientation(), Qt::Horizontal) << name;
        EXPECT_EQ(bar->minimum(), setting->MinPosition) << name;
        EXPECT_EQ(bar->maximum(), setting->MaxPosition) << name;
        EXPECT_EQ(bar->value(), setting->StartPosition) << name;
        EXPECT_EQ(bar->tickInterval(), row.tick) << name;
        EXPECT_EQ(bar->tickPosition(), QSlider::TicksBelow) << name;
        EXPECT_EQ(edit->text().toStdString(), StartText(*setting)) << name;
        bar->setValue(setting->MaxPosition);
        EXPECT_EQ(edit->text().toStdString(), PositionText(*setting, setting->MaxPosition)) << name;
        bar->setValue(setting->StartPosition);
        EXPECT_TRUE(edit->isReadOnly()) << name;
        EXPECT_EQ(edit->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_FALSE(Edit("Ex")->isVisibleTo(form.get()));
    EXPECT_FALSE(Edit("Ex")->isReadOnly());
    EXPECT_EQ(Edit("Ex")->text(), "15");
    EXPECT_TRUE(Radio("RadioButtonTournament")->isChecked());
    EXPECT_FALSE(Radio("RadioButtonRoulette")->isChecked());
    EXPECT_TRUE(Radio("RadioButtonArithmetic")->isChecked());
    EXPECT_FALSE(Radio("RadioButton1Point")->isChecked());
    EXPECT_FALSE(Radio("RadioButton2Point")->isChecked());
}

TEST_F(OptionPages, UntouchedPagesGiveTheStartSettings) {
    Scramble();
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    const AlgParameters& p = form->Parameters;
    // The delay and the iterations come from their texts, not from their bars (500 and 100).
    EXPECT_EQ(p.LocalSleep, 200);
    EXPECT_EQ(p.Iterations, 200);
    EXPECT_FLOAT_EQ(p.A, 0.05f);
    EXPECT_EQ(p.Temp0, 100);
    EXPECT_EQ(p.TempPlus, 15);
    EXPECT_EQ(p.PercentAc, 95);
    EXPECT_EQ(p.Lk, 8);
    EXPECT_FLOAT_EQ(p.Alfa, 0.96f);
    EXPECT_FLOAT_EQ(p.Stop, 0.6f);
    EXPECT_EQ(p.PopSize, 500);
    EXPECT_EQ(p.TournamentSize, 5);
    EXPECT_FLOAT_EQ(p.COProbab, 30.0f);
    EXPECT_FLOAT_EQ(p.COA, 0.6f);
    EXPECT_FLOAT_EQ(p.MProbab, 40.0f);
    EXPECT_EQ(p.SelectionType, 0);
    EXPECT_EQ(p.CrossoverType, 2);
    EXPECT_FLOAT_EQ(p.MutA, 0.01f);
    EXPECT_EQ(p.GeneticSleep, 1500);
}

TEST_F(OptionPages, BarsWriteTheirValuesAsText) {
    Bar("A")->setValue(37);
    EXPECT_EQ(Edit("A")->text(), "0,037");
    Bar("A")->setValue(Bar("A")->minimum());
    EXPECT_EQ(Edit("A")->text(), "0,001");
    Bar("Alfa")->setValue(100);
    EXPECT_EQ(Edit("Alfa")->text(), "1");
    Bar("Stop")->setValue(0);
    EXPECT_EQ(Edit("Stop")->text(), "0");
    Bar("MutA")->setValue(250);
    EXPECT_EQ(Edit("MutA")->text(), "0,25");
    Bar("LocalSleep")->setValue(0);
    EXPECT_EQ(Edit("LocalSleep")->text(), "0");
    Bar("Iterations")->setValue(1000);
    EXPECT_EQ(Edit("Iterations")->text(), "1000");
    Bar("TournamentSize")->setValue(0);
    EXPECT_EQ(Edit("TournamentSize")->text(), "0");
    Bar("COA")->setValue(7);
    EXPECT_EQ(Edit("COA")->text(), "0,07");

    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_FLOAT_EQ(form->Parameters.A, 0.001f);
    EXPECT_FLOAT_EQ(form->Parameters.Alfa, 1.0f);
    EXPECT_FLOAT_EQ(form->Parameters.MutA, 0.25f);
    EXPECT_EQ(form->Parameters.LocalSleep, 0);
    EXPECT_EQ(form->Parameters.Iterations, 1000);
    EXPECT_EQ(form->Parameters.TournamentSize, 0);
}

TEST_F(OptionPages, KeyboardMovesABar) {
    Ctl<QAction>("Algorytmylokalne2")->trigger();
    Bar("Lk")->setFocus();
    QTest::keyClick(Bar("Lk"), Qt::Key_Right);
    EXPECT_EQ(Edit("Lk")->text(), "9");
    QTest::keyClick(Bar("Lk"), Qt::Key_Home);
    EXPECT_EQ(Edit("Lk")->text(), "0");
}

TEST_F(OptionPages, RadioButtonsChooseTheOperators) {
    Radio("RadioButtonRoulette")->setChecked(true);
    Radio("RadioButton2Point")->setChecked(true);
    EXPECT_FALSE(Radio("RadioButtonTournament")->isChecked());
    EXPECT_FALSE(Radio("RadioButtonArithmetic")->isChecked());
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_EQ(form->Parameters.SelectionType, 1);
    EXPECT_EQ(form->Parameters.CrossoverType, 1);
    Radio("RadioButton1Point")->setChecked(true);
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_EQ(form->Parameters.CrossoverType, 0);
}

TEST_F(OptionPages, ABadTextStopsTheReadingInPageOrder) {
    // The hidden field is read after the annealing settings and before the genetic ones.
    Edit("Ex")->setText("x");
    Bar("Stop")->setValue(10);
    Scramble();
    QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0], "'x' is not a valid floating point value.");
    EXPECT_FLOAT_EQ(form->Parameters.A, 0.05f);
    EXPECT_FLOAT_EQ(form->Parameters.Stop, 0.1f);
    EXPECT_EQ(form->Parameters.PopSize, -7);
    EXPECT_EQ(form->Parameters.LocalSleep, -7);
    // The formula was read before the settings: the value shown did not change.
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "-");
    EXPECT_EQ(Function()->LastFormula(), "x^2 + ( y - 2 ) ^ 2 + 3 * c ");
}

}  // namespace
}  // namespace quarmel::test
