// The two option pages: every setting is a track bar with a read-only edit showing its value.
// The edit texts (and the radio buttons) are the settings; they are converted when the Function
// page is read.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/Accessibility.h"
#include "ui/Mainform.h"
#include "app/NumberText.h"
#include "app/OptionTexts.h"

namespace quarmel {
namespace {

// One track bar row of an option page.
struct OptionRow {
    QSlider* TFormMain::*bar;
    QLineEdit* TFormMain::*edit;
    const char* barName;
    const char* editName;
    const char* label;
    int min, max, position, tick;
    const char* text;  // the edit's text at start-up
};

QGroupBox* AddGroup(QBoxLayout* page, const char* name, const QString& caption) {
    auto* group = new QGroupBox(caption);
    group->setObjectName(name);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 170);  // the bars of all groups line up
    grid->setHorizontalSpacing(10);
    page->addWidget(group);
    return group;
}

void AddRows(TFormMain* form, QGroupBox* group, std::initializer_list<OptionRow> rows) {
    auto* grid = static_cast<QGridLayout*>(group->layout());
    for (const OptionRow& row : rows) {
        const int r = grid->rowCount();
        auto* label = new QLabel(row.label);
        auto* bar = new QSlider(Qt::Horizontal);
        bar->setObjectName(row.barName);
        bar->setRange(row.min, row.max);
        bar->setValue(row.position);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(row.tick);
        bar->setSingleStep(1);
        bar->setPageStep(row.tick);
        auto* edit = new QLineEdit(row.text);
        edit->setObjectName(row.editName);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);  // skipped by Tab: only the bar changes it
        edit->setFixedWidth(64);
        QPalette grey = edit->palette();
        grey.setColor(QPalette::Base, grey.color(QPalette::Window));
        edit->setPalette(grey);
        label->setBuddy(bar);
        NameAfter(bar, row.label);
        NameAfter(edit, row.label);
        grid->addWidget(label, r, 0);
        grid->addWidget(bar, r, 1);
        grid->addWidget(edit, r, 2);
        form->*row.bar = bar;
        form->*row.edit = edit;
    }
}

QRadioButton* AddRadio(QWidget* parent, QBoxLayout* row, const char* name, const QString& caption,
                       bool checked) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    radio->setChecked(checked);
    row->addWidget(radio);
    return radio;
}

// A page's contents, top-aligned.
QVBoxLayout* NewPage(QTabWidget* pages, QWidget*& page, const char* name, const QString& caption) {
    page = new QWidget;
    page->setObjectName(name);
    page->setAccessibleName(caption);
    pages->addTab(page, caption);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(8, 8, 8, 8);
    return column;
}

// An integer setting shows the position; a decimal one the position times its step, in the
// shortest text with the decimal comma.
QString PositionText(int position, double step) {
    if (step == 1) return QString::number(position);
    return QString::fromStdString(ShortestText(position * step));
}

}  // namespace

void TFormMain::BuildOptionPages() {
    BuildLocalOptionsPage();
    BuildGeneticOptionsPage();
}

void TFormMain::BuildLocalOptionsPage() {
    QVBoxLayout* page = NewPage(PageControlMain, TabSheetOptions, "TabSheetOptions", "Local Alg.");
    using F = TFormMain;
    QGroupBox* main = AddGroup(page, "GroupBoxLocalMain", "Main options");
    AddRows(this, main,
            {{&F::TrackBarLocalSleep, &F::EditLocalSleep, "TrackBarLocalSleep", "EditLocalSleep",
              "Delay [ms]:", 0, 10000, 500, 100, "200"}});
    QGroupBox* range =
        AddGroup(page, "GroupBoxNeighbourhood", "Neighbourhood size in local algorithms");
    AddRows(this, range,
            {{&F::TrackBarA, &F::EditA, "TrackBarA", "EditA", "Range:", 1, 1000, 50, 10, "0,05"}});
    QGroupBox* sa =
        AddGroup(page, "GroupBoxAnnealing", "Parameters of simulated annealing algorithm");
    AddRows(this, sa,
            {{&F::TrackBarTemp0, &F::EditTemp0, "TrackBarTemp0", "EditTemp0",
              "Zero temperature:", 0, 200, 100, 2, "100"},
             {&F::TrackBarTempPlus, &F::EditTempPlus, "TrackBarTempPlus", "EditTempPlus",
              "Heat speed:", 0, 100, 15, 1, "15"},
             {&F::TrackBarPercentAc, &F::EditPercentAc, "TrackBarPercentAc", "EditPercentAc",
              "Acceptance of temperature:", 0, 100, 95, 1, "95"},
             {&F::TrackBarLk, &F::EditLk, "TrackBarLk", "EditLk", "Neighbourhood size:", 0, 100, 8,
              1, "8"},
             {&F::TrackBarAlfa, &F::EditAlfa, "TrackBarAlfa", "EditAlfa", "Cooling speed:", 0, 100,
              96, 1, "0,96"},
             {&F::TrackBarStop, &F::EditStop, "TrackBarStop", "EditStop",
              "Sensitivity of algorithm stop:", 0, 100, 60, 1, "0,6"}});
    // A field without a setting; it is still converted when the page is read.
    auto* grid = static_cast<QGridLayout*>(sa->layout());
    LabelEx = new QLabel("Procent pomniejszenia ilosci zaakceptownych rozwiązań");
    LabelEx->setObjectName("LabelEx");
    EditEx = new QLineEdit("15");
    EditEx->setObjectName("EditEx");
    NameAfter(EditEx, LabelEx->text());
    const int r = grid->rowCount();
    grid->addWidget(LabelEx, r, 0);
    grid->addWidget(EditEx, r, 2);
    LabelEx->hide();
    EditEx->hide();
    page->addStretch(1);
}

void TFormMain::BuildGeneticOptionsPage() {
    QVBoxLayout* page =
        NewPage(PageControlMain, TabSheetOptionsGenetic, "TabSheetOptionsGenetic", "Genetic Alg.");
    using F = TFormMain;
    QGroupBox* main = AddGroup(page, "GroupBoxGeneticMain", "Main options");
    AddRows(this, main,
            {{&F::TrackBarIterations, &F::EditIterations, "TrackBarIterations", "EditIterations",
              "Number of iterations:", 1, 1000, 100, 10, "200"},
             {&F::TrackBarPopSize, &F::EditPopSize, "TrackBarPopSize", "EditPopSize",
              "Population size:", 1, 1000, 500, 10, "500"},
             {&F::TrackBarGeneticSleep, &F::EditGeneticSleep, "TrackBarGeneticSleep",
              "EditGeneticSleep", "Delay [ms]:", 0, 10000, 1500, 100, "1500"}});

    QGroupBox* selection = AddGroup(page, "GroupBoxSelection", "Selection");
    auto* grid = static_cast<QGridLayout*>(selection->layout());
    auto* selectionType = new QLabel("Type:");
    auto* selectionRow = new QHBoxLayout;
    RadioButtonTournament =
        AddRadio(selection, selectionRow, "RadioButtonTournament", "Tournament", true);
    RadioButtonRoulette =
        AddRadio(selection, selectionRow, "RadioButtonRoulette", "Roulette wheel", false);
    selectionRow->addStretch(1);
    grid->addWidget(selectionType, 0, 0);
    grid->addLayout(selectionRow, 0, 1, 1, 2);
    AddRows(this, selection,
            {{&F::TrackBarTournamentSize, &F::EditTournamentSize, "TrackBarTournamentSize",
              "EditTournamentSize", "Tournament size:", 0, 100, 5, 1, "5"}});

    QGroupBox* crossover = AddGroup(page, "GroupBoxCrossover", "Crossover");
    grid = static_cast<QGridLayout*>(crossover->layout());
    auto* crossoverType = new QLabel("Type:");
    auto* crossoverRow = new QHBoxLayout;
    RadioButton1Point = AddRadio(crossover, crossoverRow, "RadioButton1Point", "1 - point", false);
    RadioButton2Point = AddRadio(crossover, crossoverRow, "RadioButton2Point", "2 - point", false);
    RadioButtonArithmetic =
        AddRadio(crossover, crossoverRow, "RadioButtonArithmetic", "Arithmetic uniform", true);
    crossoverRow->addStretch(1);
    grid->addWidget(crossoverType, 0, 0);
    grid->addLayout(crossoverRow, 0, 1, 1, 2);
    AddRows(this, crossover,
            {{&F::TrackBarCOA, &F::EditCOA, "TrackBarCOA", "EditCOA",
              "Arithmetic crossover ratio:", 0, 100, 60, 1, "0,6"},
             {&F::TrackBarCOProbab, &F::EditCOProbab, "TrackBarCOProbab", "EditCOProbab",
              "Probability:", 0, 100, 30, 1, "30"}});

    QGroupBox* mutation = AddGroup(page, "GroupBoxMutation", "Mutation:");
    AddRows(this, mutation,
            {{&F::TrackBarMutA, &F::EditMutA, "TrackBarMutA", "EditMutA", "Range:", 1, 1000, 10, 10,
              "0,01"},
             {&F::TrackBarMProbab, &F::EditMProbab, "TrackBarMProbab", "EditMProbab",
              "Probability:", 0, 100, 40, 1, "40"}});
    page->addStretch(1);

    // Two bars share the caption "Probability:"; the group tells them apart when spoken.
    for (QWidget* w : std::initializer_list<QWidget*>{TrackBarCOProbab, EditCOProbab}) {
        w->setAccessibleName("Crossover probability");
    }
    for (QWidget* w : std::initializer_list<QWidget*>{TrackBarMProbab, EditMProbab}) {
        w->setAccessibleName("Mutation probability");
    }
    for (QWidget* w : std::initializer_list<QWidget*>{TrackBarMutA, EditMutA}) {
        w->setAccessibleName("Mutation range");
    }
}

void TFormMain::ConnectOptionPages() {
    ConnectCommands<QSlider>(
        {
            {TrackBarLocalSleep, &TFormMain::TrackBarLocalSleepChange},
            {TrackBarA, &TFormMain::TrackBarAChange},
            {TrackBarTemp0, &TFormMain::TrackBarTemp0Change},
            {TrackBarTempPlus, &TFormMain::TrackBarTempPlusChange},
            {TrackBarPercentAc, &TFormMain::TrackBarPercentAcChange},
            {TrackBarLk, &TFormMain::TrackBarLkChange},
            {TrackBarAlfa, &TFormMain::TrackBarAlfaChange},
            {TrackBarStop, &TFormMain::TrackBarStopChange},
            {TrackBarIterations, &TFormMain::TrackBarIterationsChange},
            {TrackBarPopSize, &TFormMain::TrackBarPopSizeChange},
            {TrackBarGeneticSleep, &TFormMain::TrackBarGeneticSleepChange},
            {TrackBarTournamentSize, &TFormMain::TrackBarTournamentSizeChange},
            {TrackBarCOA, &TFormMain::TrackBarCOAChange},
            {TrackBarCOProbab, &TFormMain::TrackBarCOProbabChange},
            {TrackBarMutA, &TFormMain::TrackBarMutAChange},
            {TrackBarMProbab, &TFormMain::TrackBarMProbabChange},
        },
        &QSlider::valueChanged);
}

void TFormMain::TrackBarLocalSleepChange() {
    EditLocalSleep->setText(PositionText(TrackBarLocalSleep->value(), 1));
}
void TFormMain::TrackBarAChange() {
    EditA->setText(PositionText(TrackBarA->value(), 0.001));
}
void TFormMain::TrackBarTemp0Change() {
    EditTemp0->setText(PositionText(TrackBarTemp0->value(), 1));
}
void TFormMain::TrackBarTempPlusChange() {
    EditTempPlus->setText(PositionText(TrackBarTempPlus->value(), 1));
}
void TFormMain::TrackBarPercentAcChange() {
    EditPercentAc->setText(PositionText(TrackBarPercentAc->value(), 1));
}
void TFormMain::TrackBarLkChange() {
    EditLk->setText(PositionText(TrackBarLk->value(), 1));
}
void TFormMain::TrackBarAlfaChange() {
    EditAlfa->setText(PositionText(TrackBarAlfa->value(), 0.01));
}
void TFormMain::TrackBarStopChange() {
    EditStop->setText(PositionText(TrackBarStop->value(), 0.01));
}
void TFormMain::TrackBarIterationsChange() {
    EditIterations->setText(PositionText(TrackBarIterations->value(), 1));
}
void TFormMain::TrackBarPopSizeChange() {
    EditPopSize->setText(PositionText(TrackBarPopSize->value(), 1));
}
void TFormMain::TrackBarGeneticSleepChange() {
    EditGeneticSleep->setText(PositionText(TrackBarGeneticSleep->value(), 1));
}
void TFormMain::TrackBarTournamentSizeChange() {
    EditTournamentSize->setText(PositionText(TrackBarTournamentSize->value(), 1));
}
void TFormMain::TrackBarCOAChange() {
    EditCOA->setText(PositionText(TrackBarCOA->value(), 0.01));
}
void TFormMain::TrackBarCOProbabChange() {
    EditCOProbab->setText(PositionText(TrackBarCOProbab->value(), 1));
}
void TFormMain::TrackBarMutAChange() {
    EditMutA->setText(PositionText(TrackBarMutA->value(), 0.001));
}
void TFormMain::TrackBarMProbabChange() {
    EditMProbab->setText(PositionText(TrackBarMProbab->value(), 1));
}

void TFormMain::ReadOptionPages() {
    auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
    OptionPageTexts texts;
    texts.LocalSleep = text(EditLocalSleep);
    texts.A = text(EditA);
    texts.Temp0 = text(EditTemp0);
    texts.TempPlus = text(EditTempPlus);
    texts.PercentAc = text(EditPercentAc);
    texts.Lk = text(EditLk);
    texts.Alfa = text(EditAlfa);
    texts.Stop = text(EditStop);
    texts.Ex = text(EditEx);
    texts.Iterations = text(EditIterations);
    texts.PopSize = text(EditPopSize);
    texts.GeneticSleep = text(EditGeneticSleep);
    texts.TournamentSize = text(EditTournamentSize);
    texts.COA = text(EditCOA);
    texts.COProbab = text(EditCOProbab);
    texts.MutA = text(EditMutA);
    texts.MProbab = text(EditMProbab);
    texts.Tournament = RadioButtonTournament->isChecked();
    texts.Roulette = RadioButtonRoulette->isChecked();
    texts.OnePoint = RadioButton1Point->isChecked();
    texts.TwoPoint = RadioButton2Point->isChecked();
    texts.Arithmetic = RadioButtonArithmetic->isChecked();
    ReadOptionTexts(texts, Parameters);
}

}  // namespace quarmel
