#include "ui/mainwindow/Mainform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

#include "algorithms/Optimizationthread.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/RunReplay.h"
#include "ui/dialogs/Aboutform.h"
#include "ui/dialogs/Helpfunctionform.h"
#include "ui/dialogs/SvgImages.h"
#include "ui/mainwindow/FunctionPage.h"
#include "ui/mainwindow/OptionPages.h"
#include "ui/mainwindow/PickedStart.h"
#include "ui/mainwindow/RaceRun.h"
#include "ui/mainwindow/ScreenFit.h"
#include "ui/mainwindow/SolutionsPage.h"
#include "ui/mainwindow/WindowColours.h"
#include "ui/plots/ConvergencePlot.h"
#include "ui/plots/RunComparison.h"

namespace quarmel {
namespace {

// Tabs of one fixed size, whatever their captions.
class FixedTabBar : public QTabBar {
  public:
    using QTabBar::QTabBar;

  protected:
    QSize tabSizeHint(int) const override { return QSize(115, 25); }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class PageControl : public QTabWidget {
  public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new FixedTabBar(this)); }
};

// The standard editing keys act on the text of an edit field (the variables table's cell editor
// is one too), also where a menu item has the same key (Ctrl+A).
bool IsTextEditingKey(QObject* focus, const QKeyEvent* key) {
    if (!qobject_cast<QLineEdit*>(focus)) return false;
    for (const QKeySequence::StandardKey k :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (key->matches(k)) return true;
    }
    return false;
}

// Menu shortcuts come before the keys of the control that has the focus, except the editing keys
// of an edit field: every other key of a menu item works wherever the focus is.
class MenuShortcutsFirst : public QObject {
  public:
    MenuShortcutsFirst(QWidget* window, QMenuBar* menu)
        : QObject(window), window_(window), menu_(menu) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
        if (static_cast<QWidget*>(watched)->window() != window_) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsTextEditingKey(watched, key)) {
            // Accepted, the key goes to the edit field instead of the shortcut.
            event->accept();
            return true;
        }
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* item : menu_->findChildren<QAction*>()) {
            if (item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == pressed) {
                // Left unaccepted, the key goes to the shortcut instead of the control.
                event->ignore();
                return true;
            }
        }
        return false;
    }

  private:
    QWidget* window_;
    QMenuBar* menu_;
};

// Puts the focus on the first control of `page` that Tab would reach, so that the keys that
// chose the page go on into it.
void FocusFirstField(QWidget* page) {
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(page)) {
            w->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    setObjectName("FormMain");
    setWindowTitle("Quarmel");
    QFont font("MS Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    setFont(font);

    // The window and its controls.
    changingPageFromCode_ = true;
    BuildMainMenu(menuBar(), menu_);
    auto* central = new QWidget(this);
    central->setObjectName("ClientArea");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildToolBar(this, tools_);
    column->addWidget(tools_.ToolBarMain);
    ToolBar1 = new QWidget(central);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setFixedHeight(11);
    column->addWidget(ToolBar1);
    PageControlMain = new PageControl(central);
    PageControlMain->setObjectName("PageControlMain");
    PageControlMain->setAccessibleName("Pages");
    column->addWidget(PageControlMain, 1);
    // On a screen too small for the pages at their least (a large scale factor), they scroll.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("ScrollClientArea");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);  // not a stop of its own for Tab
    scroll->setWidget(central);
    setCentralWidget(scroll);

    function_ = new FunctionPage(PageControlMain);
    PageControlMain->addTab(function_, "Function");
    chart_ = new ChartPage(PageControlMain, Parameters, FormParser);
    PageControlMain->addTab(chart_, "Chart");
    solutions_ = new SolutionsPage(PageControlMain, Parameters, runSolutions_);
    PageControlMain->addTab(solutions_, "Solutions");
    optionPages_ = std::make_unique<OptionPages>(PageControlMain);
    PageControlMain->setCurrentWidget(function_);
    changingPageFromCode_ = false;
    ApplyPaletteColours();
    RememberPage();

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setAccessibleName("Status");
    StatusBar->setSizeGripEnabled(true);
    setStatusBar(StatusBar);
    Comparison = new RunComparison(this);
    Comparison->ShowPathsOn(chart_);
    new PickedStart(this, function_, chart_);
    replay_ = new RunReplay(this, runSolutions_, chart_, solutions_,
                            findChild<ConvergencePlot*>("ConvergencePlot"));
    race_ = new RaceRun(
        this, findChild<QMenu*>("MenuRuns"), chart_, StatusBar, Comparison, Parameters,
        [this](AlgorithmKind kind, std::uint32_t seed) { return StartRun(kind, seed); });
    // A race's lane chosen becomes the solutions the window shows, replays and saves.
    race_->OnLaneChosen(
        [this](const SolutionList& lane, std::shared_ptr<const GenerationStore> generations) {
            if (worker_) return;
            runSolutions_ = lane;
            runPopulation_ = SolutionList();
            ShowReplacedRunSolutions();
            replay_->Begin(std::move(generations), true);
        });

    TimerChart = new QTimer(this);
    TimerChart->setObjectName("TimerChart");
    TimerChart->setInterval(60);
    TimerDemo = new QTimer(this);
    TimerDemo->setObjectName("TimerDemo");
    TimerDemo->setInterval(20);
    TimerDemo->start();

    ConnectMenu();
    ConnectRunCommands();
    AddOtherWaysToOpen();
    connect(function_, &FunctionPage::CalculateRequested, this,
            [this] { quarmel::RunCommand([this] { ReadFunctionPage(true); }); });
    // The page's handler runs the chart tick between choosing the axes and drawing.
    connect(chart_, &ChartPage::AxesChanged, this, [this] { TimerChartTimer(); });
    connect(PageControlMain, &QTabWidget::currentChanged, this, [this] {
        if (!changingPageFromCode_) RunCommand(&TFormMain::PageControlMainChange);
    });
    PageControlMain->tabBar()->installEventFilter(this);
    qApp->installEventFilter(new MenuShortcutsFirst(this, menu_.MainMenu));

    // The parser needs "spiral" like every parser.
    AddSpiral(FormParser);

    const std::string workingDir = QDir::currentPath().toStdString();
    for (FileDialogSettings* dialog : {&OpenDialog, &SaveDialog}) {
        dialog->Filters = {{"Txt file", "*.txt;*.TXT"}, {"All files", "*.*"}};
        dialog->DefaultExt = "txt";
        dialog->InitialDir = workingDir;
    }
    SaveDialog.FileName = "Example";
    SaveDialog.OverwritePrompt = true;

    FitToScreen(this, QSize(654, 632));
}

TFormMain::~TFormMain() {
    // A run still going on ends by itself; the window does not wait for it.
    if (worker_) worker_->Terminate();
}

QTableView* TFormMain::SolutionsTable() const {
    return solutions_->Table();
}

PanelChart* TFormMain::Chart() const {
    return chart_->Panel();
}

QImage TFormMain::ChartPicture() {
    // Every page has the size of the one shown.
    return chart_->Picture(PageControlMain->currentWidget()->size(), replay_->ShownSolutions(),
                           replay_->ShownPopulation(runPopulation_));
}

bool TFormMain::HasChart() const {
    return chart_->ChartReady() || chart_->HasSurface();
}

std::string TFormMain::ProblemName() const {
    return function_->ProblemName();
}

void TFormMain::ConnectMenu() {
    ConnectCommands<QAction>(
        {
            {menu_.Zamknij1, &TFormMain::Zamknij1Click},
            {menu_.Funkcja1, &TFormMain::Funkcja1Click},
            {menu_.Wykresfunkcji1, &TFormMain::Wykresfunkcji1Click},
            {menu_.Rozwizania1, &TFormMain::Rozwizania1Click},
            {menu_.Algorytmylokalne2, &TFormMain::Algorytmylokalne2Click},
            {menu_.AlgorytmGenetyczny2, &TFormMain::AlgorytmGenetyczny2Click},
            {menu_.Pomoc2, &TFormMain::Pomoc2Click},
            {menu_.Oprogramie1, &TFormMain::Oprogramie1Click},
        },
        &QAction::triggered);
}

void TFormMain::RunCommand(void (TFormMain::*handler)()) {
    quarmel::RunCommand([this, handler] { (this->*handler)(); });
}

void TFormMain::ShowPage(QWidget* page) {
    changingPageFromCode_ = true;
    PageControlMain->setCurrentWidget(page);
    changingPageFromCode_ = false;
}

void TFormMain::PageControlMainChange() {
    FormResize();
    QWidget* page = PageControlMain->currentWidget();
    if (page == function_) function_->LayoutVariablesGrid();
    if (page == chart_) {
        if (chart_->WaveMode()) Demonstracja1Click();
        if (ReadFunctionPage(false) == -1) return;
        // During a run the Function page is read-only, so the reading cannot have changed the
        // problem the run works on: its results stay wanted.
        if (!worker_) session_.SetResultsIgnored(true);
        if (chart_->WaveMode()) {
            chart_->SetWaveMode(false);
        } else {
            TimerChart->start();
            // Fed and drawn now rather than at the timer's first tick, a period later.
            TimerChartTimer();
        }
    }
    if (page == solutions_) {
        solutions_->LayoutSolutionsGrid();
        solutions_->FillSolutionsGrid();
    }
}

int TFormMain::ReadFunctionPage(bool evaluate) {
    bool resultsStale = false;
    const FunctionPageReading reading = function_->Read(Parameters, FormParser, resultsStale);
    ShowKnownOptimum();  // an optimum is known only for the problem as opened
    chart_->SetSpiralMode(reading.UsesSpiral);
    // The axis lists are rebuilt from the variables read; Y keeps its choice when it can.
    std::vector<std::string> names;
    for (int i = 0; reading.VariablesRead && i < Parameters.VariableCount(); ++i) {
        names.push_back(Parameters.VariableName(i));
    }
    chart_->SetAxisVariables(names, reading.VariablesRead);
    for (const std::string& notice : reading.Notices) CurrentDialogs().Message(notice);
    if (reading.Result == PageReadResult::Stopped) throw std::runtime_error(reading.Error);
    if (reading.Result == PageReadResult::CompileError) return -1;

    if (resultsStale) {
        runSolutions_.Clear();
        runPopulation_.Clear();
        ShowReplacedRunSolutions();
    }
    ReadOptionPages();
    if (evaluate) {
        const double value = EvaluateAtDefaults(FormParser, Parameters);
        function_->ShowValue(value, FormParser.EvalError());
        chart_->ShowDrawnAxisX();
    } else {
        chart_->SetUpAxes();
    }
    return 0;
}

void TFormMain::ReadOptionPages() {
    optionPages_->Read(Parameters);
}

void TFormMain::PageControlMainMouseUp() {
    chart_->RedrawChart();
}

void TFormMain::FormResize() {
    QWidget* page = PageControlMain->currentWidget();
    if (page == chart_) {
        chart_->RedrawChart();
        chart_->LayoutRangeControls();
    } else if (page == function_) {
        function_->LayoutVariablesGrid();
    } else if (page == solutions_) {
        solutions_->LayoutSolutionsGrid();
    }
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RunCommand(&TFormMain::FormResize);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    // Hovering menu items sends empty status tips, which would wipe a run's status text.
    if (watched == this && event->type() == QEvent::StatusTip) return true;
    if (watched == PageControlMain->tabBar() && event->type() == QEvent::MouseButtonRelease) {
        RunCommand(&TFormMain::PageControlMainMouseUp);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) ApplyPaletteColours();
}

void TFormMain::ApplyPaletteColours() {
    // The window's palette: the pages' own ones follow it only after this event.
    const QColor page = palette().color(QPalette::Window);
    // Blue values and marks, in a shade of blue that reads on the page.
    function_->ApplyPaletteColours(page);
    solutions_->ApplyPaletteColours(page);
    chart_->ApplyPaletteColours(page);
    // The option pages' read-only edits are as grey as the page, with the palette's text.
    optionPages_->MatchPageColour(page);
}

void TFormMain::Zamknij1Click() {
    close();
}
void TFormMain::Funkcja1Click() {
    ShowPage(function_);
}
void TFormMain::Wykresfunkcji1Click() {
    ShowPage(chart_);
}

void TFormMain::Rozwizania1Click() {
    ShowPage(solutions_);
    FormResize();
}

void TFormMain::Algorytmylokalne2Click() {
    ShowPage(optionPages_->LocalPage());
    FocusFirstField(optionPages_->LocalPage());
}
void TFormMain::AlgorytmGenetyczny2Click() {
    ShowPage(optionPages_->GeneticPage());
    FocusFirstField(optionPages_->GeneticPage());
}

void TFormMain::Pomoc2Click() {
    if (!helpWindow_) return;
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TFormMain::Oprogramie1Click() {
    if (aboutWindow_) aboutWindow_->exec();
}

}  // namespace quarmel
