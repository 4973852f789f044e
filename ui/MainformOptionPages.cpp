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

#include "app/NumberText.h"
#include "app/OptionTexts.h"
#include "model/Settings.h"
#include "ui/Accessibility.h"
#include "ui/Mainform.h"

namespace quarmel {
namespace {

// One track bar row of an option page; its range and start state are its setting's (the edit's
// name is "Edit" followed by the setting's name).
struct OptionRow {
    QSlider* TFormMain::*bar;
    QLineEdit* TFormMain::*edit;
    const char* barName;
    const char* editName;
    const char* label;
    int tick;
};

const SettingSpec& SettingOf(const QString& editName) {
    return *FindSetting(editName.mid(4).toStdString());
}

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
        const SettingSpec& setting = SettingOf(row.editName);
        auto* bar = new QSlider(Qt::Horizontal);
        bar->setObjectName(row.barName);
        bar->setRange(setting.MinPosition, setting.MaxPosition);
        bar->setValue(setting.StartPosition);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(row.tick);
        bar->setSingleStep(1);
        bar->setPageStep(row.tick);
        auto* edit = new QLineEdit(QString::fromStdString(StartText(setting)));
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
              "Delay [ms]:", 100}});
    QGroupBox* range =
        AddGroup(page, "GroupBoxNeighbourhood", "Neighbourhood size in local algorithms");
    AddRows(this, range, {{&F::TrackBarA, &F::EditA, "TrackBarA", "EditA", "Range:", 10}});
    QGroupBox* sa =
        AddGroup(page, "GroupBoxAnnealing", "Parameters of simulated annealing algorithm");
    AddRows(
        this, sa,
        {{&F::TrackBarTemp0, &F::EditTemp0, "TrackBarTemp0", "EditTemp0", "Zero temperature:", 2},
         {&F::TrackBarTempPlus, &F::EditTempPlus, "TrackBarTempPlus", "EditTempPlus",
          "Heat speed:", 1},
         {&F::TrackBarPercentAc, &F::EditPercentAc, "TrackBarPercentAc", "EditPercentAc",
          "Acceptance of temperature:", 1},
         {&F::TrackBarLk, &F::EditLk, "TrackBarLk", "EditLk", "Neighbourhood size:", 1},
         {&F::TrackBarAlfa, &F::EditAlfa, "TrackBarAlfa", "EditAlfa", "Cooling speed:", 1},
         {&F::TrackBarStop, &F::EditStop, "TrackBarStop", "EditStop",
          "Sensitivity of algorithm stop:", 1}});
    // A field without a setting; it is still converted when the page is read.
    auto* grid = static_cast<QGridLayout*>(sa->layout());
    LabelEx = new QLabel("Procent pomniejszenia ilosci zaakceptownych rozwiązań");
    LabelEx->setObjectName("LabelEx");
    EditEx = new QLineEdit(QString::fromStdString(StartText(*FindSetting("Ex"))));
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
              "Number of iterations:", 10},
             {&F::TrackBarPopSize, &F::EditPopSize, "TrackBarPopSize", "EditPopSize",
              "Population size:", 10},
             {&F::TrackBarGeneticSleep, &F::EditGeneticSleep, "TrackBarGeneticSleep",
              "EditGeneticSleep", "Delay [ms]:", 100}});

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
              "EditTournamentSize", "Tournament size:", 1}});

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
    AddRows(
        this, crossover,
        {{&F::TrackBarCOA, &F::EditCOA, "TrackBarCOA", "EditCOA", "Arithmetic crossover ratio:", 1},
         {&F::TrackBarCOProbab, &F::EditCOProbab, "TrackBarCOProbab", "EditCOProbab",
          "Probability:", 1}});

    QGroupBox* mutation = AddGroup(page, "GroupBoxMutation", "Mutation:");
    AddRows(this, mutation,
            {{&F::TrackBarMutA, &F::EditMutA, "TrackBarMutA", "EditMutA", "Range:", 10},
             {&F::TrackBarMProbab, &F::EditMProbab, "TrackBarMProbab", "EditMProbab",
              "Probability:", 1}});
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
    ShowBarPosition(TrackBarLocalSleep, EditLocalSleep);
}
void TFormMain::TrackBarAChange() {
    ShowBarPosition(TrackBarA, EditA);
}
void TFormMain::TrackBarTemp0Change() {
    ShowBarPosition(TrackBarTemp0, EditTemp0);
}
void TFormMain::TrackBarTempPlusChange() {
    ShowBarPosition(TrackBarTempPlus, EditTempPlus);
}
void TFormMain::TrackBarPercentAcChange() {
    ShowBarPosition(TrackBarPercentAc, EditPercentAc);
}
void TFormMain::TrackBarLkChange() {
    ShowBarPosition(TrackBarLk, EditLk);
}
void TFormMain::TrackBarAlfaChange() {
    ShowBarPosition(TrackBarAlfa, EditAlfa);
}
void TFormMain::TrackBarStopChange() {
    ShowBarPosition(TrackBarStop, EditStop);
}
void TFormMain::TrackBarIterationsChange() {
    ShowBarPosition(TrackBarIterations, EditIterations);
}
void TFormMain::TrackBarPopSizeChange() {
    ShowBarPosition(TrackBarPopSize, EditPopSize);
}
void TFormMain::TrackBarGeneticSleepChange() {
    ShowBarPosition(TrackBarGeneticSleep, EditGeneticSleep);
}
void TFormMain::TrackBarTournamentSizeChange() {
    ShowBarPosition(TrackBarTournamentSize, EditTournamentSize);
}
void TFormMain::TrackBarCOAChange() {
    ShowBarPosition(TrackBarCOA, EditCOA);
}
void TFormMain::TrackBarCOProbabChange() {
    ShowBarPosition(TrackBarCOProbab, EditCOProbab);
}
void TFormMain::TrackBarMutAChange() {
    ShowBarPosition(TrackBarMutA, EditMutA);
}
void TFormMain::TrackBarMProbabChange() {
    ShowBarPosition(TrackBarMProbab, EditMProbab);
}

void TFormMain::ShowBarPosition(const QSlider* bar, QLineEdit* edit) {
    edit->setText(
        QString::fromStdString(PositionText(SettingOf(edit->objectName()), bar->value())));
}

void TFormMain::ReadOptionPages() {
    OptionPageTexts texts;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const QString name = kSettings[i].Name;
        if (const auto* edit = findChild<QLineEdit*>("Edit" + name))
            texts.Texts[i] = edit->text().toStdString();
    }
    auto checked = [](std::initializer_list<QRadioButton*> group) {
        int number = 0;
        for (QRadioButton* radio : group) {
            if (radio->isChecked()) return std::to_string(number);
            ++number;
        }
        return std::string();
    };
    texts["SelectionType"] = checked({RadioButtonTournament, RadioButtonRoulette});
    texts["CrossoverType"] = checked({RadioButton1Point, RadioButton2Point, RadioButtonArithmetic});
    ReadOptionTexts(texts, Parameters);
}

}  // namespace quarmel
