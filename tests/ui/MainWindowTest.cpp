// The main window right after start, its menu and the rules for changing pages.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

#include "FindControl.h"
#include "WindowFixture.h"
#include "ui/Accessibility.h"
#include "ui/PanelChart.h"

namespace quarmel::test {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, ShowsTheExampleProblem) {
    EXPECT_EQ(form->windowTitle(), "Quarmel");
    EXPECT_EQ(form->size(), QSize(654, 632));
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetFunction);
    EXPECT_EQ(form->EditFunctionName->text(), "Example 1");
    EXPECT_EQ(form->EditFunction->text(), "x^2 + ( y - 2 ) ^ 2 + 3 * c ");
    EXPECT_TRUE(form->RadioButton_min->isChecked());
    EXPECT_FALSE(form->RadioButton_max->isChecked());
    EXPECT_EQ(form->LabelFuncCalc->text(), "-");
    EXPECT_TRUE(form->StatusBar->currentMessage().isEmpty());

    const char* expected[4][4] = {{"Name", "Min", "Max", "Value"},
                                  {"x", "-50", "50", "0"},
                                  {"y", "-40", "40", "6"},
                                  {"c", "1", "15", "5"}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(form->VariableCell(c, r), expected[r][c]);
    }
    // Shown once, the table has the header and 19 rows: the most variables a problem takes.
    EXPECT_EQ(form->VariableRowCount(), 20);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(form->VariableCell(c, 4), "");
}

TEST_F(StartUp, CalculateShowsThirtyOne) {
    // x = 0, y = 6, c = 5: 0 + 16 + 15.
    QTest::mouseClick(form->SpeedButtonCalc, Qt::LeftButton);
    EXPECT_EQ(form->LabelFuncCalc->text(), "31");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StartUp, PagesComeInOrderWithTheirCaptions) {
    QTabWidget* pages = form->PageControlMain;
    ASSERT_EQ(pages->count(), 5);
    const QWidget* order[] = {form->TabSheetFunction, form->TabSheetChart, form->TabSheetSolutions,
                              FindControl(form.get(), "TabSheetOptions"),
                              FindControl(form.get(), "TabSheetOptionsGenetic")};
    const char* captions[] = {"Function", "Chart", "Solutions", "Local Alg.", "Genetic Alg."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pages->widget(i), order[i]);
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->tabBar()->tabRect(i).size(), QSize(115, 25));
    }
}

TEST_F(StartUp, TimersRunAsTheWindowStarts) {
    EXPECT_FALSE(form->TimerChart->isActive());
    EXPECT_EQ(form->TimerChart->interval(), 60);
    EXPECT_TRUE(form->TimerAutoRotation->isActive());
    EXPECT_EQ(form->TimerAutoRotation->interval(), 50);
    EXPECT_TRUE(form->TimerDemo->isActive());
    EXPECT_EQ(form->TimerDemo->interval(), 20);
}

TEST_F(StartUp, ToolBarButtonsCarryTheirHints) {
    EXPECT_EQ(form->ToolBarMain->height(), 34);
    EXPECT_EQ(form->ToolBar1->height(), 11);
    EXPECT_EQ(form->SpeedButtonNew->toolTip(), "New function");
    EXPECT_EQ(form->SpeedButtonOpen->toolTip(), "Open function and solutions");
    EXPECT_EQ(form->SpeedButtonSave->toolTip(), "Save function and solutions");
    const std::pair<QToolButton*, const char*> runs[] = {
        {form->SpeedButtonGreedy, "Greedy"}, {form->SpeedButtonSteepest, "Steepest"},
        {form->SpeedButtonSA, "SA"},         {form->SpeedButtonGeneticAlg, "Genetic"},
        {form->SpeedButtonPause, "Pause"},   {form->SpeedButtonStop, "Stop"}};
    for (const auto& [button, caption] : runs) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->size(), QSize(82, 24));
        EXPECT_FALSE(button->icon().isNull()) << caption;
    }
    EXPECT_TRUE(form->SpeedButtonPause->isCheckable());
    EXPECT_EQ(form->SpeedButtonSA->toolTip(), "Start Simulated Annealing algorithm");
    EXPECT_EQ(form->SpeedButtonPause->toolTip(), "Pause calculation");
}

TEST_F(StartUp, CursorsAreRegisteredUnderTheirNumbers) {
    for (int number : {100, 101, 102}) {
        ASSERT_EQ(form->Cursors.count(number), 1u) << number;
        EXPECT_FALSE(form->Cursors[number].pixmap().isNull()) << number;
    }
    EXPECT_FALSE(form->LabelRotateLeft->isHidden());
    EXPECT_FALSE(form->LabelMoveRight->isHidden());
    for (QLabel* hidden : {form->LabelMoveLeft, form->LabelScaleLeft, form->LabelRotateRight,
                           form->LabelScaleRight}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
}

TEST_F(StartUp, FileDialogsStartInTheWorkingFolder) {
    EXPECT_EQ(form->OpenDialog.InitialDir, QDir::currentPath().toStdString());
    EXPECT_EQ(form->SaveDialog.InitialDir, QDir::currentPath().toStdString());
    EXPECT_EQ(form->SaveDialog.FileName, "Example");
    EXPECT_TRUE(form->SaveDialog.OverwritePrompt);
    EXPECT_EQ(form->OpenDialog.DefaultExt, "txt");
    ASSERT_EQ(form->OpenDialog.Filters.size(), 2u);
    EXPECT_EQ(form->OpenDialog.Filters[0].second, "*.txt;*.TXT");
}

using Menu = WindowTest;

TEST_F(Menu, ItemsHaveTheirCaptionsAndShortcutsInOrder) {
    struct Item {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const std::pair<QMenu*, std::vector<Item>> menus[] = {
        {form->Plik1,
         {{"Nowafunkcja1", "&New function", "Ctrl+N"},
          {"Wczytajwyniki1", "&Open", "Ctrl+O"},
          {"Zapiszwyniki1", "&Save", "Ctrl+S"},
          {"N6", "", ""},
          {"Zamknij1", "E&xit", ""}}},
        {form->Optymalizacja1,
         {{"Funkcja1", "&Function", "Ctrl+F"},
          {"Wykresfunkcji1", "&Chart", "Ctrl+W"},
          {"N1", "", ""},
          {"Greedy1", "&Greedy", "Ctrl+G"},
          {"Steepest1", "&Steepest", "Ctrl+T"},
          {"Symulowanewyarzanie1", "Simulated &annealing\tCtrl+N", ""},
          {"N5", "", ""},
          {"AlgorytmGenetyczny1", "&Genetic algorithm", "Ctrl+A"},
          {"N3", "", ""},
          {"Pauza1", "&Pause", "Ctrl+P"},
          {"Stop1", "S&top", "Ctrl+Q"},
          {"N2", "", ""},
          {"Rozwizania1", "S&olutions", "Ctrl+R"}}},
        {form->Opcje1,
         {{"Algorytmylokalne2", "&Local algorithms", "Ctrl+Alt+L"},
          {"AlgorytmGenetyczny2", "&Genetic algorithm", "Ctrl+Alt+G"},
          {"N4", "", ""},
          {"Demonstracja1", "&Demo of wave motion", "Ctrl+Alt+D"}}},
        {form->Pomoc1, {{"Pomoc2", "Function parser help", "F1"}, {"Oprogramie1", "&About", "F2"}}},
    };
    // The Runs menu stands before Help; the specified menus keep their order around it.
    QList<QAction*> bar = form->MainMenu->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar[3]->menu()->objectName(), "MenuRuns");
    bar.removeAt(3);
    const char* titles[] = {"File", "Optimization", "&Options", "&Help"};
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(bar[m]->text(), titles[m]);
        const auto& [menu, items] = menus[m];
        EXPECT_EQ(bar[m]->menu(), menu);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), int(items.size())) << titles[m];
        for (size_t i = 0; i < items.size(); ++i) {
            QAction* a = actions[int(i)];
            EXPECT_EQ(a->objectName(), items[i].name);
            EXPECT_EQ(a->isSeparator(), items[i].caption[0] == '\0') << items[i].name;
            if (a->isSeparator()) continue;
            EXPECT_EQ(a->text(), items[i].caption);
            EXPECT_EQ(a->shortcut(), QKeySequence(items[i].shortcut)) << items[i].name;
        }
    }
    EXPECT_TRUE(form->Pauza1->isCheckable());
    EXPECT_TRUE(form->Demonstracja1->isCheckable());

    // No added item takes the key of a specified one (Ctrl+N stands twice by design).
    QStringList keys;
    for (QAction* menu : form->MainMenu->actions()) {
        for (QAction* a : menu->menu()->actions()) {
            if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
        }
    }
    keys.removeOne("Ctrl+N");
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(" ").toStdString();
}

TEST_F(Menu, CtrlNMeansNewFunctionOnly) {
    QSignalSpy newFunction(form->Nowafunkcja1, &QAction::triggered);
    QSignalSpy annealing(form->Symulowanewyarzanie1, &QAction::triggered);
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(newFunction.count(), 1);
    EXPECT_EQ(annealing.count(), 0);

    // While "New function" is disabled (a run is going on) the key does nothing at all.
    form->Nowafunkcja1->setEnabled(false);
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(newFunction.count(), 1);
    EXPECT_EQ(annealing.count(), 0);
}

TEST_F(Menu, ShortcutsComeBeforeTheKeysOfAnEditField) {
    // Ctrl+A would select all in the formula; it starts the genetic algorithm.
    form->EditFunction->setFocus();
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form->EditFunction, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->StatusBar->currentMessage(), "Genetic algorithm is running ...");
    form->SpeedButtonStop->click();
    // While the item is disabled the edit field keeps its own key.
    form->AlgorytmGenetyczny1->setEnabled(false);
    form->EditFunction->setFocus();
    QTest::keyClick(form->EditFunction, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->EditFunction->selectedText(), form->EditFunction->text());
    EXPECT_TRUE(form->StatusBar->currentMessage().isEmpty());
}

TEST_F(Menu, ShortcutsShowTheirPagesWithoutReadingTheFunctionPage) {
    Press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
    Press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetSolutions);
    Press(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(form->PageControlMain->currentWidget(), FindControl(form.get(), "TabSheetOptions"));
    Press(Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(form->PageControlMain->currentWidget(),
              FindControl(form.get(), "TabSheetOptionsGenetic"));
    Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetFunction);
    // None of these read the page: the axis lists are still empty and the chart timer off.
    EXPECT_EQ(form->ComboBoxAxeX->count(), 0);
    EXPECT_FALSE(form->TimerChart->isActive());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Menu, ExitClosesTheWindow) {
    form->Zamknij1->trigger();
    EXPECT_FALSE(form->isVisible());
}

using PageChange = WindowTest;

TEST_F(PageChange, ChartTabReadsTheFunctionPage) {
    ClickTab(form->TabSheetChart);
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
    EXPECT_EQ(form->ComboBoxAxeX->count(), 3);
    EXPECT_TRUE(form->TimerChart->isActive());
    EXPECT_TRUE(form->IgnoreRunResults);
    EXPECT_EQ(form->SurfaceSamples.size(), 10000u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PageChange, ChartTabWithABadFormulaShowsTheErrorAndPreparesNothing) {
    form->EditFunction->setText("x + ");
    ClickTab(form->TabSheetChart);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].rfind("Bląd w funkcji. Kolumna: ", 0), 0u);
    EXPECT_FALSE(form->TimerChart->isActive());
    EXPECT_FALSE(form->IgnoreRunResults);
    EXPECT_TRUE(form->SurfaceSamples.empty());
}

TEST_F(PageChange, ChartFromTheMenuShowsNoErrorForABadFormula) {
    form->EditFunction->setText("x + ");
    form->Wykresfunkcji1->trigger();
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetChart);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(form->TimerChart->isActive());
}

TEST_F(PageChange, FunctionTabLaysTheTableOutAgain) {
    form->Wykresfunkcji1->trigger();
    form->StringGridVariables->setRowCount(25);
    form->Funkcja1->trigger();  // the menu only shows the page
    EXPECT_EQ(form->StringGridVariables->rowCount(), 25);
    form->Wykresfunkcji1->trigger();
    ClickTab(form->TabSheetFunction);
    EXPECT_EQ(form->StringGridVariables->rowCount(), 19);
    const int width = form->TabSheetFunction->width() - 60;
    EXPECT_EQ(form->StringGridVariables->width(), width);
    EXPECT_EQ(form->StringGridVariables->height(), form->TabSheetFunction->height() - 250);
    EXPECT_EQ(form->StringGridVariables->columnWidth(0), (width - 30) / 4);
}

TEST_F(PageChange, ResizingLaysOutOnlyTheActivePage) {
    const int before = form->StringGridVariables->width();
    form->Algorytmylokalne2->trigger();
    form->resize(800, 700);
    QApplication::processEvents();
    EXPECT_EQ(form->StringGridVariables->width(), before);
    form->Funkcja1->trigger();
    QApplication::processEvents();
    EXPECT_EQ(form->StringGridVariables->width(), before);
    form->resize(820, 720);
    QApplication::processEvents();
    EXPECT_EQ(form->StringGridVariables->width(), form->TabSheetFunction->width() - 60);
    EXPECT_GT(form->StringGridVariables->width(), before);
}

TEST_F(PageChange, SolutionsFromTheMenuLaysTheTableOut) {
    form->Rozwizania1->trigger();
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetSolutions);
    const int width = form->TabSheetSolutions->width();
    EXPECT_EQ(form->StringGridSolutions->width(), width - 40);
    EXPECT_EQ(form->StringGridSolutions->height(), form->TabSheetSolutions->height() - 90);
    EXPECT_EQ(form->StringGridSolutions->horizontalHeader()->defaultSectionSize(),
              (width - 75) / 2);
}

using Keyboard = WindowTest;

// The controls Tab visits after `first`, in order, until it comes back to a control seen.
std::vector<QWidget*> TabSequence(QWidget* first, QWidget* page) {
    std::vector<QWidget*> sequence;
    QWidget* w = first;
    do {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            !w->isHidden() && w->isVisibleTo(page)) {
            sequence.push_back(w);
        }
        w = w->nextInFocusChain();
    } while (w != first && sequence.size() < 100);
    return sequence;
}

TEST_F(Keyboard, TabVisitsEachPageInReadingOrder) {
    EXPECT_EQ(TabSequence(form->EditFunctionName, form->TabSheetFunction),
              std::vector<QWidget*>({form->EditFunctionName, form->RadioButton_max,
                                     form->RadioButton_min, form->EditFunction,
                                     form->SpeedButtonCalc, form->StringGridVariables}));
    const std::vector<QWidget*> chart = TabSequence(form->ComboBoxAxeX, form->TabSheetChart);
    const std::vector<QWidget*> chartTail(chart.end() - 8, chart.end());
    EXPECT_EQ(chart.front(), form->ComboBoxAxeX);
    EXPECT_EQ(chartTail,
              std::vector<QWidget*>({form->ScrollBarMinX, form->EditMinX, form->ScrollBarMinY,
                                     form->EditMinY, form->ScrollBarMaxX, form->EditMaxX,
                                     form->ScrollBarMaxY, form->EditMaxY}));
    // On the option pages Tab goes from bar to bar: the edits only show the values.
    auto bar = [this](const char* name) -> QWidget* {
        return FindControl<QSlider>(form.get(), QString("TrackBar") + name);
    };
    const std::vector<QWidget*> local =
        TabSequence(bar("LocalSleep"), FindControl(form.get(), "TabSheetOptions"));
    EXPECT_EQ(local,
              std::vector<QWidget*>({bar("LocalSleep"), bar("A"), bar("Temp0"), bar("TempPlus"),
                                     bar("PercentAc"), bar("Lk"), bar("Alfa"), bar("Stop")}));
}

TEST_F(Keyboard, ControlsHaveSpokenNames) {
    EXPECT_EQ(FindControl<QLineEdit>(form.get(), "EditLocalSleep")->accessibleName(), "Delay [ms]");
    EXPECT_EQ(FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->accessibleName(),
              "Delay [ms]");
    EXPECT_EQ(FindControl<QLineEdit>(form.get(), "EditTemp0")->accessibleName(),
              "Zero temperature");
    EXPECT_EQ(form->ComboBoxAxeY->accessibleName(), "Y-Axis");
    EXPECT_EQ(form->StringGridVariables->accessibleName(), "Variables of function");
    EXPECT_EQ(form->StringGridSolutions->accessibleName(), "Solutions");
    EXPECT_EQ(form->PanelChart->accessibleName(), "Chart");
    EXPECT_EQ(form->EditFunction->accessibleDescription(), "Enter funtion for optimization");
    EXPECT_EQ(form->SpeedButtonNew->accessibleName(), "New function");
    // Every tab-focusable control of ours can be told apart by ear.
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->isHidden()) continue;
        if (w->objectName().isEmpty()) continue;  // parts of Qt's own controls
        const bool captioned =
            !w->property("text").toString().isEmpty() || !w->property("title").toString().isEmpty();
        EXPECT_TRUE(captioned || !w->accessibleName().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
}

TEST(SpokenCaption, DropsAccessKeysAndColons) {
    EXPECT_EQ(SpokenCaption("Delay [ms]:"), "Delay [ms]");
    EXPECT_EQ(SpokenCaption("&Local algorithms"), "Local algorithms");
    EXPECT_EQ(SpokenCaption("Fish && chips: "), "Fish & chips");
    EXPECT_EQ(SpokenCaption("X-Axis"), "X-Axis");
}

TEST(ErrorDisplay, AddsAFullStopUnlessThereIsOne) {
    EXPECT_EQ(ErrorBoxText("'abc' is not a valid floating point value"),
              "'abc' is not a valid floating point value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace quarmel::test
