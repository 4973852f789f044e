// The main window right after start, its menu and the rules for changing pages.
#include <QAction>
#include <QClipboard>
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

#include "WindowFixture.h"
#include "ui/chart/PanelChart.h"
#include "ui/mainwindow/Accessibility.h"

namespace quarmel::test {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, ShowsTheExampleProblem) {
    EXPECT_EQ(form->windowTitle(), "Quarmel");
    EXPECT_EQ(form->size(), QSize(654, 632));
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetFunction"));
    EXPECT_EQ(Ctl<QLineEdit>("EditFunctionName")->text(), "Example 1");
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), "x^2 + ( y - 2 ) ^ 2 + 3 * c ");
    EXPECT_TRUE(Ctl<QRadioButton>("RadioButton_min")->isChecked());
    EXPECT_FALSE(Ctl<QRadioButton>("RadioButton_max")->isChecked());
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "-");
    EXPECT_TRUE(Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty());

    const char* expected[4][4] = {{"Name", "Min", "Max", "Value"},
                                  {"x", "-50", "50", "0"},
                                  {"y", "-40", "40", "6"},
                                  {"c", "1", "15", "5"}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_EQ(Function()->VariableCell(c, r), expected[r][c]);
    }
    // Shown once, the table has the header and 19 rows: the most variables a problem takes.
    EXPECT_EQ(Function()->VariableRowCount(), 20);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Function()->VariableCell(c, 4), "");
    // Laid out for the page's size as first shown, with no page change or resize.
    const QSize page = Function()->size();
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->size(),
              QSize(page.width() - 60, page.height() - 250));
}

TEST_F(StartUp, CalculateShowsThirtyOne) {
    // x = 0, y = 6, c = 5: 0 + 16 + 15.
    QTest::mouseClick(Ctl<QPushButton>("SpeedButtonCalc"), Qt::LeftButton);
    EXPECT_EQ(Ctl<QLabel>("LabelFuncCalc")->text(), "31");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StartUp, PagesComeInOrderWithTheirCaptions) {
    QTabWidget* pages = Ctl<QTabWidget>("PageControlMain");
    // The reference algorithms' page follows the specified five.
    ASSERT_EQ(pages->count(), 6);
    EXPECT_EQ(pages->tabText(5), "References");
    const QWidget* order[] = {Ctl<QWidget>("TabSheetFunction"), Ctl<QWidget>("TabSheetChart"),
                              Ctl<QWidget>("TabSheetSolutions"), Ctl<QWidget>("TabSheetOptions"),
                              Ctl<QWidget>("TabSheetOptionsGenetic")};
    const char* captions[] = {"Function", "Chart", "Solutions", "Local Alg.", "Genetic Alg."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pages->widget(i), order[i]);
        EXPECT_EQ(pages->tabText(i), captions[i]);
        EXPECT_EQ(pages->tabBar()->tabRect(i).size(), QSize(115, 25));
    }
}

TEST_F(StartUp, TimersRunAsTheWindowStarts) {
    EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_EQ(Ctl<QTimer>("TimerChart")->interval(), 60);
    EXPECT_TRUE(Ctl<QTimer>("TimerAutoRotation")->isActive());
    EXPECT_EQ(Ctl<QTimer>("TimerAutoRotation")->interval(), 50);
    EXPECT_TRUE(Ctl<QTimer>("TimerDemo")->isActive());
    EXPECT_EQ(Ctl<QTimer>("TimerDemo")->interval(), 20);
}

TEST_F(StartUp, ToolBarButtonsCarryTheirHints) {
    EXPECT_EQ(Ctl<QWidget>("ToolBarMain")->height(), 34);
    EXPECT_EQ(Ctl<QWidget>("ToolBar1")->height(), 11);
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonNew")->toolTip(), "New function");
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonOpen")->toolTip(), "Open function and solutions");
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonSave")->toolTip(), "Save function and solutions");
    const std::pair<QToolButton*, const char*> runs[] = {
        {Ctl<QToolButton>("SpeedButtonGreedy"), "Greedy"},
        {Ctl<QToolButton>("SpeedButtonSteepest"), "Steepest"},
        {Ctl<QToolButton>("SpeedButtonSA"), "SA"},
        {Ctl<QToolButton>("SpeedButtonGeneticAlg"), "Genetic"},
        {Ctl<QToolButton>("SpeedButtonPause"), "Pause"},
        {Ctl<QToolButton>("SpeedButtonStop"), "Stop"}};
    for (const auto& [button, caption] : runs) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->size(), QSize(82, 24));
        EXPECT_FALSE(button->icon().isNull()) << caption;
    }
    EXPECT_TRUE(Ctl<QToolButton>("SpeedButtonPause")->isCheckable());
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonSA")->toolTip(), "Start Simulated Annealing algorithm");
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonPause")->toolTip(), "Pause calculation");
}

TEST_F(StartUp, CursorsAreRegisteredUnderTheirNumbers) {
    for (int number : {100, 101, 102}) {
        EXPECT_FALSE(Chart()->PanelCursor(number).pixmap().isNull()) << number;
    }
    EXPECT_FALSE(Ctl<QLabel>("LabelRotateLeft")->isHidden());
    EXPECT_FALSE(Ctl<QLabel>("LabelMoveRight")->isHidden());
    for (QLabel* hidden : {Ctl<QLabel>("LabelMoveLeft"), Ctl<QLabel>("LabelScaleLeft"),
                           Ctl<QLabel>("LabelRotateRight"), Ctl<QLabel>("LabelScaleRight")}) {
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    }
}

TEST_F(StartUp, FileDialogsStartInTheWorkingFolder) {
    // Both dialogs cancelled: the settings they were shown with are what counts.
    dialogs.files = {"", ""};
    Ctl<QAction>("Wczytajwyniki1")->trigger();
    Ctl<QAction>("Zapiszwyniki1")->trigger();
    ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
    const FileDialogSettings& open = dialogs.fileDialogs[0];
    const FileDialogSettings& save = dialogs.fileDialogs[1];
    EXPECT_EQ(open.InitialDir, QDir::currentPath().toStdString());
    EXPECT_EQ(save.InitialDir, QDir::currentPath().toStdString());
    EXPECT_EQ(save.FileName, "Example");
    EXPECT_TRUE(save.OverwritePrompt);
    EXPECT_EQ(open.DefaultExt, "txt");
    ASSERT_EQ(open.Filters.size(), 2u);
    EXPECT_EQ(open.Filters[0].second, "*.txt;*.TXT");
}

using Menu = WindowTest;

TEST_F(Menu, ItemsHaveTheirCaptionsAndShortcutsInOrder) {
    struct Item {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const std::pair<QMenu*, std::vector<Item>> menus[] = {
        {Ctl<QMenu>("Plik1"),
         {{"Nowafunkcja1", "&New function", "Ctrl+N"},
          {"Wczytajwyniki1", "&Open", "Ctrl+O"},
          {"Zapiszwyniki1", "&Save", "Ctrl+S"},
          {"N6", "", ""},
          {"Zamknij1", "E&xit", ""}}},
        {Ctl<QMenu>("Optymalizacja1"),
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
        {Ctl<QMenu>("Opcje1"),
         {{"Algorytmylokalne2", "&Local algorithms", "Ctrl+Alt+L"},
          {"AlgorytmGenetyczny2", "&Genetic algorithm", "Ctrl+Alt+G"},
          {"N4", "", ""},
          {"Demonstracja1", "&Demo of wave motion", "Ctrl+Alt+D"}}},
        {Ctl<QMenu>("Pomoc1"),
         {{"Pomoc2", "Function parser help", "F1"}, {"Oprogramie1", "&About", "F2"}}},
    };
    // The Runs menu stands before Help; the specified menus keep their order around it.
    QList<QAction*> bar = Ctl<QMenuBar>("MainMenu")->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(bar[3]->menu()->objectName(), "MenuRuns");
    bar.removeAt(3);
    const char* titles[] = {"File", "Optimization", "&Options", "&Help"};
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(bar[m]->text(), titles[m]);
        const auto& [menu, items] = menus[m];
        EXPECT_EQ(bar[m]->menu(), menu);
        QList<QAction*> actions = menu->actions();
        // The Examples submenu stands after Save; the other items keep their order.
        if (m == 0) {
            ASSERT_GT(actions.size(), 3);
            EXPECT_EQ(actions[3]->menu()->objectName(), "MenuExamples");
            actions.removeAt(3);
        }
        // The reference algorithms' submenu ends Optimization, after a separator.
        if (m == 1) {
            ASSERT_EQ(actions.size(), int(items.size()) + 2);
            EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
            EXPECT_EQ(actions.back()->menu()->objectName(), "ReferenceAlgorithms1");
            actions.resize(actions.size() - 2);
        }
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
    EXPECT_TRUE(Ctl<QAction>("Pauza1")->isCheckable());
    EXPECT_TRUE(Ctl<QAction>("Demonstracja1")->isCheckable());

    // No added item takes the key of a specified one (Ctrl+N stands twice by design).
    QStringList keys;
    for (QAction* menu : Ctl<QMenuBar>("MainMenu")->actions()) {
        for (QAction* a : menu->menu()->actions()) {
            if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
        }
    }
    keys.removeOne("Ctrl+N");
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(" ").toStdString();
}

TEST_F(Menu, CtrlNMeansNewFunctionOnly) {
    QSignalSpy newFunction(Ctl<QAction>("Nowafunkcja1"), &QAction::triggered);
    QSignalSpy annealing(Ctl<QAction>("Symulowanewyarzanie1"), &QAction::triggered);
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(newFunction.count(), 1);
    EXPECT_EQ(annealing.count(), 0);

    // While "New function" is disabled (a run is going on) the key does nothing at all.
    Ctl<QAction>("Nowafunkcja1")->setEnabled(false);
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(newFunction.count(), 1);
    EXPECT_EQ(annealing.count(), 0);
}

TEST_F(Menu, EditingKeysActOnTheFocusedTextAndMenuKeysWorkElsewhere) {
    QSignalSpy genetic(Ctl<QAction>("AlgorytmGenetyczny1"), &QAction::triggered);
    auto* formula = Ctl<QLineEdit>("EditFunction");
    auto key = [](QWidget* w, int k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        QTest::keyClick(w, Qt::Key(k), m);
    };
    formula->setFocus();
    QApplication::setActiveWindow(form.get());
    formula->setText("x+y");
    key(formula, Qt::Key_A);
    EXPECT_EQ(formula->selectedText(), "x+y");
    key(formula, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "x+y");
    key(formula, Qt::Key_X);
    EXPECT_EQ(formula->text(), "");
    key(formula, Qt::Key_Z);
    EXPECT_EQ(formula->text(), "x+y");
    key(formula, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(formula->text(), "");
    key(formula, Qt::Key_V);
    EXPECT_EQ(formula->text(), "x+y");
    // A cell editor of the variables table is an edit field too.
    auto* table = Ctl<QTableWidget>("StringGridVariables");
    table->setCurrentCell(0, 0);
    table->editItem(table->item(0, 0));
    QWidget* cellEditor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(cellEditor));
    key(cellEditor, Qt::Key_A);
    EXPECT_EQ(qobject_cast<QLineEdit*>(cellEditor)->selectedText(), "x");
    EXPECT_EQ(genetic.count(), 0);
    EXPECT_TRUE(Ctl<QStatusBar>("StatusBar")->currentMessage().isEmpty());

    // Elsewhere the key is the menu item's: it starts the genetic algorithm.
    formula->setText("x^2+(y-2)^2+3*c");
    Ctl<QRadioButton>("RadioButton_min")->setFocus();
    key(Ctl<QRadioButton>("RadioButton_min"), Qt::Key_A);
    EXPECT_EQ(genetic.count(), 1);
    EXPECT_EQ(Ctl<QStatusBar>("StatusBar")->currentMessage(), "Genetic algorithm is running ...");
    Ctl<QToolButton>("SpeedButtonStop")->click();
}

TEST_F(Menu, ShortcutsShowTheirPagesWithoutReadingTheFunctionPage) {
    Press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Ctl<QWidget>("TabSheetChart"));
    Press(Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetSolutions"));
    Press(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Ctl<QWidget>("TabSheetOptions"));
    // The option pages take the focus with them, so the keyboard goes on into the page.
    EXPECT_TRUE(Ctl<QWidget>("TabSheetOptions")->isAncestorOf(QApplication::focusWidget()));
    Press(Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetOptionsGenetic"));
    EXPECT_TRUE(Ctl<QWidget>("TabSheetOptionsGenetic")->isAncestorOf(QApplication::focusWidget()));
    Press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetFunction"));
    // None of these read the page: the axis lists are still empty and the chart timer off.
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->count(), 0);
    EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Menu, ExitClosesTheWindow) {
    Ctl<QAction>("Zamknij1")->trigger();
    EXPECT_FALSE(form->isVisible());
}

using PageChange = WindowTest;

TEST_F(PageChange, ChartTabReadsTheFunctionPage) {
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Ctl<QWidget>("TabSheetChart"));
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeX")->count(), 3);
    EXPECT_TRUE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_TRUE(form->Session().ResultsIgnored());
    EXPECT_EQ(Chart()->Surface().Samples.size(), 10000u);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PageChange, ChartTabWithABadFormulaShowsTheErrorAndPreparesNothing) {
    Ctl<QLineEdit>("EditFunction")->setText("x + ");
    ClickTab(Ctl<QWidget>("TabSheetChart"));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].rfind("Bląd w funkcji. Kolumna: ", 0), 0u);
    EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_FALSE(form->Session().ResultsIgnored());
    EXPECT_TRUE(Chart()->Surface().Samples.empty());
}

TEST_F(PageChange, ChartFromTheMenuShowsNoErrorForABadFormula) {
    Ctl<QLineEdit>("EditFunction")->setText("x + ");
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(), Ctl<QWidget>("TabSheetChart"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(Ctl<QTimer>("TimerChart")->isActive());
}

TEST_F(PageChange, FunctionTabLaysTheTableOutAgain) {
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    Ctl<QTableWidget>("StringGridVariables")->setRowCount(25);
    Ctl<QAction>("Funkcja1")->trigger();  // the menu only shows the page
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->rowCount(), 25);
    Ctl<QAction>("Wykresfunkcji1")->trigger();
    ClickTab(Ctl<QWidget>("TabSheetFunction"));
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->rowCount(), 19);
    const int width = Ctl<QWidget>("TabSheetFunction")->width() - 60;
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->width(), width);
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->height(),
              Ctl<QWidget>("TabSheetFunction")->height() - 250);
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->columnWidth(0), (width - 30) / 4);
}

TEST_F(PageChange, TheTableFollowsItsPagesSizeAlsoWhenResizedHidden) {
    const int before = Ctl<QTableWidget>("StringGridVariables")->width();
    Ctl<QAction>("Algorytmylokalne2")->trigger();
    form->resize(800, 700);
    QApplication::processEvents();
    // Shown again by the menu (as New does), the page's table fits it.
    Ctl<QAction>("Funkcja1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->width(),
              Ctl<QWidget>("TabSheetFunction")->width() - 60);
    form->resize(820, 720);
    QApplication::processEvents();
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->width(),
              Ctl<QWidget>("TabSheetFunction")->width() - 60);
    EXPECT_GT(Ctl<QTableWidget>("StringGridVariables")->width(), before);
}

TEST_F(PageChange, SolutionsFromTheMenuLaysTheTableOut) {
    Ctl<QAction>("Rozwizania1")->trigger();
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetSolutions"));
    const int width = Ctl<QWidget>("TabSheetSolutions")->width();
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->width(), width - 40);
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->height(),
              Ctl<QWidget>("TabSheetSolutions")->height() - 90);
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->horizontalHeader()->defaultSectionSize(),
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
    EXPECT_EQ(TabSequence(Ctl<QLineEdit>("EditFunctionName"), Ctl<QWidget>("TabSheetFunction")),
              std::vector<QWidget*>(
                  {Ctl<QLineEdit>("EditFunctionName"), Ctl<QRadioButton>("RadioButton_max"),
                   Ctl<QRadioButton>("RadioButton_min"), Ctl<QLineEdit>("EditFunction"),
                   Ctl<QPushButton>("SpeedButtonCalc"), Ctl<QTableWidget>("StringGridVariables")}));
    const std::vector<QWidget*> chart =
        TabSequence(Ctl<QComboBox>("ComboBoxAxeX"), Ctl<QWidget>("TabSheetChart"));
    const std::vector<QWidget*> chartTail(chart.end() - 8, chart.end());
    EXPECT_EQ(chart.front(), Ctl<QComboBox>("ComboBoxAxeX"));
    EXPECT_EQ(chartTail, std::vector<QWidget*>(
                             {Ctl<QScrollBar>("ScrollBarMinX"), Ctl<QLineEdit>("EditMinX"),
                              Ctl<QScrollBar>("ScrollBarMinY"), Ctl<QLineEdit>("EditMinY"),
                              Ctl<QScrollBar>("ScrollBarMaxX"), Ctl<QLineEdit>("EditMaxX"),
                              Ctl<QScrollBar>("ScrollBarMaxY"), Ctl<QLineEdit>("EditMaxY")}));
    // On the option pages Tab goes from bar to bar: the edits only show the values.
    const std::vector<QWidget*> local =
        TabSequence(Ctl<QSlider>("TrackBarLocalSleep"), Ctl<QWidget>("TabSheetOptions"));
    EXPECT_EQ(local, std::vector<QWidget*>(
                         {Ctl<QSlider>("TrackBarLocalSleep"), Ctl<QSlider>("TrackBarA"),
                          Ctl<QSlider>("TrackBarTemp0"), Ctl<QSlider>("TrackBarTempPlus"),
                          Ctl<QSlider>("TrackBarPercentAc"), Ctl<QSlider>("TrackBarLk"),
                          Ctl<QSlider>("TrackBarAlfa"), Ctl<QSlider>("TrackBarStop")}));
}

TEST_F(Keyboard, ControlsHaveSpokenNames) {
    EXPECT_EQ(Ctl<QLineEdit>("EditLocalSleep")->accessibleName(), "Delay [ms]");
    EXPECT_EQ(Ctl<QSlider>("TrackBarLocalSleep")->accessibleName(), "Delay [ms]");
    EXPECT_EQ(Ctl<QLineEdit>("EditTemp0")->accessibleName(), "Zero temperature");
    EXPECT_EQ(Ctl<QComboBox>("ComboBoxAxeY")->accessibleName(), "Y-Axis");
    EXPECT_EQ(Ctl<QTableWidget>("StringGridVariables")->accessibleName(), "Variables of function");
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->accessibleName(), "Solutions");
    EXPECT_EQ(Ctl<PanelChart>("PanelChart")->accessibleName(), "Chart");
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->accessibleDescription(),
              "Enter funtion for optimization");
    EXPECT_EQ(Ctl<QToolButton>("SpeedButtonNew")->accessibleName(), "New function");
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
