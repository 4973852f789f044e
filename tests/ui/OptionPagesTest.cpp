// The two option pages: their bars and texts at start, the texts the bars write, and reading.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "WindowFixture.h"
#include "app/OptionTexts.h"
#include "model/Settings.h"

namespace quarmel::test {
namespace {

struct BarRow {
    QSlider* bar;
    QLineEdit* edit;
    int tick;
};

class OptionPages : public WindowTest {
  protected:
    std::vector<BarRow> Rows() const {
        TFormMain* f = form.get();
        return {
            {f->TrackBarLocalSleep, f->EditLocalSleep, 100},
            {f->TrackBarA, f->EditA, 10},
            {f->TrackBarTemp0, f->EditTemp0, 2},
            {f->TrackBarTempPlus, f->EditTempPlus, 1},
            {f->TrackBarPercentAc, f->EditPercentAc, 1},
            {f->TrackBarLk, f->EditLk, 1},
            {f->TrackBarAlfa, f->EditAlfa, 1},
            {f->TrackBarStop, f->EditStop, 1},
            {f->TrackBarIterations, f->EditIterations, 10},
            {f->TrackBarPopSize, f->EditPopSize, 10},
            {f->TrackBarGeneticSleep, f->EditGeneticSleep, 100},
            {f->TrackBarTournamentSize, f->EditTournamentSize, 1},
            {f->TrackBarCOA, f->EditCOA, 1},
            {f->TrackBarCOProbab, f->EditCOProbab, 1},
            {f->TrackBarMutA, f->EditMutA, 10},
            {f->TrackBarMProbab, f->EditMProbab, 1},
        };
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
    for (const BarRow& row : Rows()) {
        const std::string name = row.bar->objectName().toStdString();
        const SettingSpec* setting = FindSetting(row.edit->objectName().mid(4).toStdString());
        ASSERT_NE(setting, nullptr) << name;
        EXPECT_EQ(row.bar->objectName(), "TrackBar" + QString(setting->Name));
        EXPECT_EQ(row.bar->orientation(), Qt::Horizontal) << name;
        EXPECT_EQ(row.bar->minimum(), setting->MinPosition) << name;
        EXPECT_EQ(row.bar->maximum(), setting->MaxPosition) << name;
        EXPECT_EQ(row.bar->value(), setting->StartPosition) << name;
        EXPECT_EQ(row.bar->tickInterval(), row.tick) << name;
        EXPECT_EQ(row.bar->tickPosition(), QSlider::TicksBelow) << name;
        EXPECT_EQ(row.edit->text().toStdString(), StartText(*setting)) << name;
        row.bar->setValue(setting->MaxPosition);
        EXPECT_EQ(row.edit->text().toStdString(), PositionText(*setting, setting->MaxPosition))
            << name;
        row.bar->setValue(setting->StartPosition);
        EXPECT_TRUE(row.edit->isReadOnly()) << name;
        EXPECT_EQ(row.edit->focusPolicy(), Qt::NoFocus) << name;
    }
    EXPECT_FALSE(form->EditEx->isVisibleTo(form.get()));
    EXPECT_FALSE(form->EditEx->isReadOnly());
    EXPECT_EQ(form->EditEx->text(), "15");
    EXPECT_TRUE(form->RadioButtonTournament->isChecked());
    EXPECT_FALSE(form->RadioButtonRoulette->isChecked());
    EXPECT_TRUE(form->RadioButtonArithmetic->isChecked());
    EXPECT_FALSE(form->RadioButton1Point->isChecked());
    EXPECT_FALSE(form->RadioButton2Point->isChecked());
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
    form->TrackBarA->setValue(37);
    EXPECT_EQ(form->EditA->text(), "0,037");
    form->TrackBarA->setValue(form->TrackBarA->minimum());
    EXPECT_EQ(form->EditA->text(), "0,001");
    form->TrackBarAlfa->setValue(100);
    EXPECT_EQ(form->EditAlfa->text(), "1");
    form->TrackBarStop->setValue(0);
    EXPECT_EQ(form->EditStop->text(), "0");
    form->TrackBarMutA->setValue(250);
    EXPECT_EQ(form->EditMutA->text(), "0,25");
    form->TrackBarLocalSleep->setValue(0);
    EXPECT_EQ(form->EditLocalSleep->text(), "0");
    form->TrackBarIterations->setValue(1000);
    EXPECT_EQ(form->EditIterations->text(), "1000");
    form->TrackBarTournamentSize->setValue(0);
    EXPECT_EQ(form->EditTournamentSize->text(), "0");
    form->TrackBarCOA->setValue(7);
    EXPECT_EQ(form->EditCOA->text(), "0,07");

    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_FLOAT_EQ(form->Parameters.A, 0.001f);
    EXPECT_FLOAT_EQ(form->Parameters.Alfa, 1.0f);
    EXPECT_FLOAT_EQ(form->Parameters.MutA, 0.25f);
    EXPECT_EQ(form->Parameters.LocalSleep, 0);
    EXPECT_EQ(form->Parameters.Iterations, 1000);
    EXPECT_EQ(form->Parameters.TournamentSize, 0);
}

TEST_F(OptionPages, KeyboardMovesABar) {
    form->Algorytmylokalne2->trigger();
    form->TrackBarLk->setFocus();
    QTest::keyClick(form->TrackBarLk, Qt::Key_Right);
    EXPECT_EQ(form->EditLk->text(), "9");
    QTest::keyClick(form->TrackBarLk, Qt::Key_Home);
    EXPECT_EQ(form->EditLk->text(), "0");
}

TEST_F(OptionPages, RadioButtonsChooseTheOperators) {
    form->RadioButtonRoulette->setChecked(true);
    form->RadioButton2Point->setChecked(true);
    EXPECT_FALSE(form->RadioButtonTournament->isChecked());
    EXPECT_FALSE(form->RadioButtonArithmetic->isChecked());
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_EQ(form->Parameters.SelectionType, 1);
    EXPECT_EQ(form->Parameters.CrossoverType, 1);
    form->RadioButton1Point->setChecked(true);
    ASSERT_EQ(form->ReadFunctionPage(true), 0);
    EXPECT_EQ(form->Parameters.CrossoverType, 0);
}

TEST_F(OptionPages, ABadTextStopsTheReadingInPageOrder) {
    // The hidden field is read after the annealing settings and before the genetic ones.
    form->EditEx->setText("x");
    form->TrackBarStop->setValue(10);
    Scramble();
    QTest::mouseClick(form->SpeedButtonCalc, Qt::LeftButton);
    ASSERT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(dialogs.Errors()[0], "'x' is not a valid floating point value.");
    EXPECT_FLOAT_EQ(form->Parameters.A, 0.05f);
    EXPECT_FLOAT_EQ(form->Parameters.Stop, 0.1f);
    EXPECT_EQ(form->Parameters.PopSize, -7);
    EXPECT_EQ(form->Parameters.LocalSleep, -7);
    // The formula was read before the settings: the value shown did not change.
    EXPECT_EQ(form->LabelFuncCalc->text(), "-");
    EXPECT_EQ(form->LastFormula, "x^2 + ( y - 2 ) ^ 2 + 3 * c ");
}

}  // namespace
}  // namespace quarmel::test
