#pragma once

#include <QMainWindow>
#include <QStringList>

#include <fparser.hh>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/examples/OpenedOptimum.h"
#include "app/runs/RunSession.h"
#include "model/Algparameters.h"
#include "model/Solution.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/mainwindow/MainformMenu.h"

class QCloseEvent;
class QImage;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTimer;

namespace quarmel {

class ChartPage;
class FunctionPage;
class OptimizationThread;
class OptionPages;
class PanelChart;
class RaceRun;
class RunComparison;
class RunReplay;
class SolutionsPage;
class TFormAbout;
class TFormHelpFunction;

// The main window is the frame: the menu and tool bar, the pages, the status line, and the run
// and file commands that work across pages. Each page owns its controls (their objectNames are
// the names the program and its tests know them by). Mainform.cpp builds the frame and switches
// pages, MainformRun.cpp runs algorithms (with the chart timer and closing), MainformFile.cpp
// has New, Open and Save, MainformDemo.cpp the wave demonstration, MainformMenu.cpp the menu and
// tool bar.
class TFormMain : public QMainWindow {
    Q_OBJECT

  public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The two small windows; the main window opens them (F1, F2) but does not own them.
    void SetHelpWindow(TFormHelpFunction* help) { helpWindow_ = help; }
    void SetAboutWindow(TFormAbout* about) { aboutWindow_ = about; }

    // Rebuilds the problem from the Function page and the option pages and compiles the
    // formula; then shows f at the default point (evaluate) or sets up the chart axes. 0 on
    // success, -1 when the formula does not compile. A text that is not a number throws.
    int ReadFunctionPage(bool evaluate);
    // Opens the data file at `path` as File > Open does when its dialog gives that path (asking
    // first when unsaved solutions would be lost); does nothing while Open is disabled (a run).
    // The program's file argument, File > Examples and dropped files come this way.
    void OpenDataFile(const std::string& path);
    // The run's solutions and population as the window shows them.
    const SolutionList& Solutions() const { return runSolutions_; }
    const SolutionList& Population() const { return runPopulation_; }
    // The run in progress, or none. Dropping it never waits: a stopped worker ends by itself.
    const std::shared_ptr<OptimizationThread>& RunWorker() const { return worker_; }
    const RunSession& Session() const { return session_; }
    // The function's name as its page shows it, and the data file last opened or saved (an
    // absolute path; empty after New or before any).
    std::string ProblemName() const;
    const std::string& ProblemFile() const { return problemFile_; }
    // What the examples' catalogue knows of the current problem (its optimum value and place),
    // when the problem came from a file it describes and is still that problem; none otherwise.
    std::optional<ExampleProblem> KnownProblem() const { return openedOptimum_.For(Parameters); }
    // The frame's parts the run comparison adds to.
    QMenu* HelpMenu() const { return menu_.Pomoc1; }
    QTableView* SolutionsTable() const;
    ::quarmel::PanelChart* Chart() const;
    // The chart as the Chart page draws it at its size in the window, also while another page
    // is shown; null while the page holds no chart (HasChart: it was never set up).
    QImage ChartPicture();
    bool HasChart() const;

    // The current problem and every setting: the pages read it, the option pages write theirs.
    AlgParameters Parameters;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void ConnectMenu();
    void ConnectRunCommands();
    // The colours the window takes from the palette, set again when the palette changes.
    void ApplyPaletteColours();

    // Pages.
    // Reads every option into Parameters, in the page order; throws on a text that is not a
    // number, keeping what was read before it.
    void ReadOptionPages();
    void FormResize();
    void PageControlMainChange();
    void PageControlMainMouseUp();
    void ShowPage(QWidget* page);  // without the page-change handler
    void Zamknij1Click();
    void Funkcja1Click();
    void Wykresfunkcji1Click();
    void Rozwizania1Click();
    void Algorytmylokalne2Click();
    void AlgorytmGenetyczny2Click();
    void Pomoc2Click();
    void Oprogramie1Click();

    // Runs a handler as a command (see RunCommand in Dialogs.h).
    void RunCommand(void (TFormMain::*handler)());
    // Connects each control's signal to its handler, run as a command.
    using Handler = void (TFormMain::*)();
    template <class Sender, class Signal>
    void ConnectCommands(std::initializer_list<std::pair<Sender*, Handler>> table, Signal signal) {
        for (const auto& [sender, handler] : table) {
            connect(sender, signal, this, [this, h = handler] { RunCommand(h); });
        }
    }

    // The run and file commands (MainformRun.cpp, MainformFile.cpp, MainformDemo.cpp).
    void SpeedButtonGreedyClick();
    void SpeedButtonSteepestClick();
    void SpeedButtonSAClick();
    void SpeedButtonGeneticAlgClick();
    void SpeedButtonPauseClick();
    void Pauza1Click();
    void SpeedButtonStopClick();
    void SpeedButtonNewClick();
    void SpeedButtonOpenClick();
    void SpeedButtonSaveClick();
    void Demonstracja1Click();
    // The timers' ticks: the chart's (polls the run, feeds the page shown) and the wave's.
    void TimerChartTimer();
    void TimerDemoTimer();

    // Starts the algorithm, from `seed` when given (a race's) or the next seed; the status line
    // tells it is running. False when the run was refused.
    bool StartRun(AlgorithmKind kind, std::optional<std::uint32_t> seed = std::nullopt);
    void SetRunningState();
    void SetIdleState();
    // Enables or disables the commands a run locks.
    void EnableRunLockedCommands(bool enabled);
    void ApplyPauseState(bool paused);
    void SetPauseChecked(bool checked);
    void ShowPauseState(bool paused, const char* hint);
    // A solution list replaced by another (not a later state of the same run) is shown at
    // once, so no page describes solutions that are gone.
    void ShowReplacedRunSolutions();
    bool FormClose();  // the close request: false keeps the window open

    // File commands.
    bool ConfirmDroppingSolutions();
    // New function's question: the solutions' one when they are not saved, otherwise one about
    // a page typed since it was last opened, saved or run (or since the program started).
    bool ConfirmDroppingPage();
    void RememberPage();
    void ReleaseFinishedWorker();
    // File > Examples and file drops (MainformOpen.cpp).
    void AddOtherWaysToOpen();
    // Gives the pages the current problem's known optimum, or none.
    void ShowKnownOptimum();

    MainMenuItems menu_;
    ToolBarButtons tools_;
    QWidget* ToolBar1 = nullptr;
    QTabWidget* PageControlMain = nullptr;
    FunctionPage* function_ = nullptr;
    ChartPage* chart_ = nullptr;
    SolutionsPage* solutions_ = nullptr;
    // The "Local Alg." and "Genetic Alg." pages (ui/mainwindow/OptionPages.h, built from the
    // settings table). Each bar's given handler TrackBar<Name>Change is one connection made there.
    std::unique_ptr<OptionPages> optionPages_;
    QStatusBar* StatusBar = nullptr;
    QTimer* TimerChart = nullptr;
    QTimer* TimerDemo = nullptr;
    RunComparison* Comparison = nullptr;  // the Runs menu, the convergence dock, the progress
    RunReplay* replay_ = nullptr;         // replays the list once a run has ended
    RaceRun* race_ = nullptr;             // Runs > Race...: lanes beside the window's run

    FunctionParser FormParser;
    SolutionList runSolutions_;
    SolutionList runPopulation_;
    // The run whose published solutions runSolutions_ holds the beginning of (0 for none): the
    // timer copies only what that run published since.
    std::uint64_t runSolutionsRun_ = 0;
    RunSession session_;
    std::shared_ptr<OptimizationThread> worker_;
    FileDialogSettings OpenDialog;
    FileDialogSettings SaveDialog;
    std::string pathToOpen_;  // Open takes this path instead of asking its dialog, when set
    std::string problemFile_;
    QStringList pageBaseline_;     // the Function page as last opened, saved, run or started with
    OpenedOptimum openedOptimum_;  // what the catalogue knows of the problem last opened

    TFormHelpFunction* helpWindow_ = nullptr;
    TFormAbout* aboutWindow_ = nullptr;
    bool changingPageFromCode_ = false;
};

}  // namespace quarmel
