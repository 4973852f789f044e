#pragma once

#include <QCursor>
#include <QList>
#include <QMainWindow>
#include <QString>

#include <fparser.hh>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/MarkerFeed.h"
#include "app/RunProgress.h"
#include "app/ViewNavigation.h"
#include "chart/ChartFrame.h"
#include "model/Algparameters.h"
#include "model/Solution.h"
#include "ui/Dialogs.h"

class QAction;
class QCloseEvent;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class QToolButton;

namespace quarmel {

class OptimizationThread;
class OptionPages;
class PanelChart;
class RunComparison;
struct DataFileReading;
class SolutionsTableModel;
class TFormAbout;
class TFormHelpFunction;

// The main window. Controls and handlers carry the names the rest of the program and the tests
// know them by; each control's objectName is its member name. The code is split by page:
// Mainform.cpp (frame, menu, tool bar, page switching), MainformFunctionPage.cpp,
// OptionPages.cpp, MainformChartPage.cpp, MainformSolutionsPage.cpp, MainformRun.cpp
// (runs, the progress timer, closing), MainformNavigation.cpp (the chart's view),
// MainformDemo.cpp (the wave demonstration) and MainformFile.cpp (New, Open, Save).
class TFormMain : public QMainWindow {
    Q_OBJECT

  public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // The two small windows; the main window opens them (F1, F2) but does not own them.
    void SetHelpWindow(TFormHelpFunction* help) { helpWindow_ = help; }
    void SetAboutWindow(TFormAbout* about) { aboutWindow_ = about; }

    // Frame.
    void FormCreate();
    void FormResize();
    void PageControlMainChange();
    void PageControlMainMouseUp();

    // Menu items that only show a page, and the small windows.
    void Zamknij1Click();
    void Funkcja1Click();
    void Wykresfunkcji1Click();
    void Rozwizania1Click();
    void Algorytmylokalne2Click();
    void AlgorytmGenetyczny2Click();
    void Pomoc2Click();
    void Oprogramie1Click();

    // Function page.
    // Rebuilds the problem from the page and the option pages and compiles the formula; then
    // shows f at the default point (evaluate) or sets up the chart axes. 0 on success, -1 when
    // the formula does not compile. A text that is not a number throws.
    int ReadFunctionPage(bool evaluate);
    void SpeedButtonCalcClick();
    void LayoutVariablesGrid();
    // The variables table as the page knows it: row 0 is the header, rows 1.. the variables.
    int VariableRowCount() const;
    QString VariableCell(int column, int row) const;
    void SetVariableCell(int column, int row, const QString& text);

    // Option pages (ui/OptionPages.h, built from the settings table). Each bar's given handler
    // TrackBar<Name>Change (TrackBarAChange, TrackBarLocalSleepChange, ...) is one connection
    // made there for every table row.
    // Converts every option into Parameters, in the page order; throws on a text that is not a
    // number, keeping what was read before it.
    void ReadOptionPages();

    // Chart page: axes and display ranges.
    void SetUpAxes();
    void SetUpRangeControls(bool xOnly, int xVariable, int yVariable);
    void ComboBoxAxeXChange();
    void ScrollBarMinXChange();
    void ScrollBarMinYChange();
    void ScrollBarMaxXChange();
    void ScrollBarMaxYChange();
    void EditMinXKeyPress(char key);
    void EditMinYKeyPress(char key);
    void EditMaxXKeyPress(char key);
    void EditMaxYKeyPress(char key);
    void SampleOverXY(int xVariable, int yVariable);
    void SampleOverX(int xVariable);
    void LayoutRangeControls();
    void RedrawChart();
    // The view and display options a frame is drawn with.
    ChartFrame CurrentChartFrame() const;
    void TimerChartTimer();
    void CheckBoxWireframeClick();
    void CheckBoxPolygonClick();
    void CheckBoxShadingClick();
    void CheckBoxColorsClick();

    // Solutions page.
    void LayoutSolutionsGrid();
    // Shows RunSolutions in the table and the first and best values in the two labels ("-"
    // without solutions). Only what changed since the last fill is done again, so the user's
    // selection, current cell, scroll position and column widths stay.
    void FillSolutionsGrid();

    // Running.
    void SpeedButtonGreedyClick();
    void SpeedButtonSteepestClick();
    void SpeedButtonSAClick();
    void SpeedButtonGeneticAlgClick();
    void SetRunningState();
    void SetIdleState();
    void SpeedButtonPauseClick();
    void Pauza1Click();
    void ApplyPauseState();
    void SpeedButtonStopClick();
    // The window's close request: false keeps the window open.
    bool FormClose();

    // The chart's view.
    void Image_rotateMouseDown(MouseButton button);
    void Image_positionMouseDown(MouseButton button);
    void Image_zoomMouseDown(MouseButton button);
    void PanelChartMouseDown(MouseButton button, int x, int y);
    void PanelChartMouseUp(MouseButton button);
    void PanelChartMouseMove(int x, int y);
    void ScrollBarScaleChange();
    void TimerAutoRotationTimer();
    void BitBtnResetClick();

    // The wave demonstration.
    void Demonstracja1Click();
    void TimerDemoTimer();

    // File commands.
    void SpeedButtonNewClick();
    void SpeedButtonOpenClick();
    void SpeedButtonSaveClick();

    // ---- Controls ----
    QMenuBar* MainMenu = nullptr;
    QMenu* Plik1 = nullptr;
    QAction* Nowafunkcja1 = nullptr;
    QAction* Wczytajwyniki1 = nullptr;
    QAction* Zapiszwyniki1 = nullptr;
    QAction* N6 = nullptr;
    QAction* Zamknij1 = nullptr;
    QMenu* Optymalizacja1 = nullptr;
    QAction* Funkcja1 = nullptr;
    QAction* Wykresfunkcji1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Greedy1 = nullptr;
    QAction* Steepest1 = nullptr;
    QAction* Symulowanewyarzanie1 = nullptr;
    QAction* N5 = nullptr;
    QAction* AlgorytmGenetyczny1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Pauza1 = nullptr;
    QAction* Stop1 = nullptr;
    QAction* N2 = nullptr;
    QAction* Rozwizania1 = nullptr;
    QMenu* Opcje1 = nullptr;
    QAction* Algorytmylokalne2 = nullptr;
    QAction* AlgorytmGenetyczny2 = nullptr;
    QAction* N4 = nullptr;
    QAction* Demonstracja1 = nullptr;
    QMenu* Pomoc1 = nullptr;
    QAction* Pomoc2 = nullptr;
    QAction* Oprogramie1 = nullptr;

    QWidget* ToolBarMain = nullptr;
    QWidget* PanelFileButtons = nullptr;
    QWidget* PanelRunButtons = nullptr;
    QToolButton* SpeedButtonNew = nullptr;
    QToolButton* SpeedButtonOpen = nullptr;
    QToolButton* SpeedButtonSave = nullptr;
    QToolButton* SpeedButtonGreedy = nullptr;
    QToolButton* SpeedButtonSteepest = nullptr;
    QToolButton* SpeedButtonSA = nullptr;
    QToolButton* SpeedButtonGeneticAlg = nullptr;
    QToolButton* SpeedButtonPause = nullptr;
    QToolButton* SpeedButtonStop = nullptr;
    QWidget* ToolBar1 = nullptr;

    QTabWidget* PageControlMain = nullptr;
    QWidget* TabSheetFunction = nullptr;
    QWidget* TabSheetChart = nullptr;
    QWidget* TabSheetSolutions = nullptr;
    QStatusBar* StatusBar = nullptr;

    QTimer* TimerChart = nullptr;
    QTimer* TimerAutoRotation = nullptr;
    QTimer* TimerDemo = nullptr;

    // Function page.
    QGroupBox* GroupBoxFunctionName = nullptr;
    QLineEdit* EditFunctionName = nullptr;
    QGroupBox* GroupBoxFunction = nullptr;
    QLineEdit* EditFunction = nullptr;
    QGroupBox* GroupBoxOptimMax = nullptr;
    QRadioButton* RadioButton_max = nullptr;
    QRadioButton* RadioButton_min = nullptr;
    QGroupBox* GroupBoxFuncValue = nullptr;
    QPushButton* SpeedButtonCalc = nullptr;
    QLabel* LabelFuncCalc = nullptr;
    QGroupBox* GroupBoxVariables = nullptr;
    QTableWidget* StringGridVariables = nullptr;

    // Chart page.
    ::quarmel::PanelChart* PanelChart = nullptr;
    QGroupBox* GroupBoxAxes = nullptr;
    QComboBox* ComboBoxAxeX = nullptr;
    QComboBox* ComboBoxAxeY = nullptr;
    QGroupBox* GroupBoxRangeMin = nullptr;
    QScrollBar* ScrollBarMinX = nullptr;
    QScrollBar* ScrollBarMinY = nullptr;
    QLineEdit* EditMinX = nullptr;
    QLineEdit* EditMinY = nullptr;
    QGroupBox* GroupBoxRangeMax = nullptr;
    QScrollBar* ScrollBarMaxX = nullptr;
    QScrollBar* ScrollBarMaxY = nullptr;
    QLineEdit* EditMaxX = nullptr;
    QLineEdit* EditMaxY = nullptr;
    QCheckBox* CheckBoxPolygon = nullptr;
    QCheckBox* CheckBoxFrames = nullptr;
    QCheckBox* CheckBoxWireframe = nullptr;
    QCheckBox* CheckBoxShading = nullptr;
    QCheckBox* CheckBoxAxes = nullptr;
    QCheckBox* CheckBoxAxesDesc = nullptr;
    QCheckBox* CheckBoxSolution = nullptr;
    QWidget* PanelChartOptions = nullptr;
    QGroupBox* GroupBoxMouse = nullptr;
    QLabel* Image_rotate = nullptr;
    QLabel* Image_position = nullptr;
    QLabel* Image_zoom = nullptr;
    QLabel* LabelRotateLeft = nullptr;
    QLabel* LabelMoveLeft = nullptr;
    QLabel* LabelScaleLeft = nullptr;
    QLabel* LabelRotateRight = nullptr;
    QLabel* LabelMoveRight = nullptr;
    QLabel* LabelScaleRight = nullptr;
    QGroupBox* GroupBoxScale = nullptr;
    QScrollBar* ScrollBarScale = nullptr;
    QCheckBox* CheckBoxAutoRotation = nullptr;
    QSlider* TrackBarAutoRotation = nullptr;
    QPushButton* BitBtnReset = nullptr;

    // Solutions page.
    QGroupBox* GroupBoxBeforeOpt = nullptr;
    QLabel* LabelBeforeOpt = nullptr;
    QGroupBox* GroupBoxAfterOpt = nullptr;
    QLabel* LabelAfterOpt = nullptr;
    QTableView* StringGridSolutions = nullptr;
    SolutionsTableModel* SolutionsModel = nullptr;  // what StringGridSolutions shows

    // ---- State ----
    AlgParameters Parameters;  // the current problem and every setting
    FunctionParser FormParser;
    std::string LastFormula;
    std::vector<float> SurfaceSamples;
    SolutionList RunSolutions;
    SolutionList RunPopulation;
    // The run whose published solutions RunSolutions holds the beginning of (0 for none): the
    // timer copies only what that run published since. ShowReplacedRunSolutions resets it, as
    // every path that puts another list in RunSolutions calls it.
    std::uint64_t RunSolutionsRun = 0;

    bool SolutionsNotSaved = false;
    bool IgnoreRunResults = false;
    bool StopRequested = false;
    bool UsesSpiral = false;
    bool Paused = false;
    bool WaveDemoRunning = false;
    bool ChartReady = false;

    int AxisXVariable = 0;
    int AxisYVariable = 1;
    float DisplayXMin = 0, DisplayXMax = 0, DisplayYMin = 0, DisplayYMax = 0;
    float HeightMin = 0, HeightMax = 0;

    // The chart's view and the mouse state that changes it; the distance is ScrollBarScale.
    ViewNavigation Navigation;

    // The chart panel's cursors by number (100 rotate, 101 move, 102 scale).
    std::map<int, QCursor> Cursors;

    FileDialogSettings OpenDialog;
    FileDialogSettings SaveDialog;

    // The run in progress, or none. Dropping it never waits: a stopped worker ends by itself.
    std::shared_ptr<OptimizationThread> Worker;

    // Comparing and keeping runs: the Runs menu, the convergence dock, the run's progress.
    RunComparison* Comparison = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildMenu();
    void BuildToolBar();
    void BuildFunctionPage();
    void BuildChartPage();
    void BuildSolutionsPage();
    void ConnectFunctionPage();
    void ConnectChartPage();
    void LoadCursors();
    void SetTabOrders();
    void AnchorFunctionPage();
    void AnchorChartPage();
    void AnchorSolutionsPage();
    // The colours the window takes from the palette, set again when the palette changes.
    void ApplyPaletteColours();

    // Makes a page the active one without the page-change handler.
    void ShowPage(QWidget* page);
    // Runs a handler as a command: an error it raises is shown in the error box and the command
    // ends there, the program goes on.
    void RunCommand(void (TFormMain::*handler)());
    void RunCommand(const std::function<void()>& command);
    // Connects each control's signal to its handler, run as a command.
    using Handler = void (TFormMain::*)();
    template <class Sender, class Signal>
    void ConnectCommands(std::initializer_list<std::pair<Sender*, Handler>> table, Signal signal) {
        for (const auto& [sender, handler] : table) {
            connect(sender, signal, this, [this, h = handler] { RunCommand(h); });
        }
    }
    // Whether the last SetUpAxes chose two axes.
    bool TwoAxesChosen() const;
    void Resample();
    void RangeEditEnter(QLineEdit* edit, QScrollBar* bar);

    // Running.
    void ConnectRunCommands();
    void StartRun(AlgorithmKind kind, const char* statusText);
    QList<QWidget*> RunLockedWidgets() const;
    QList<QAction*> RunLockedActions() const;

    // The chart's view.
    void ConnectNavigation();
    bool PictureMouseDown(QObject* watched, QEvent* event);
    void ChooseMouseFunction(MouseButton button, MouseFunction function);
    void ShowMouseFunctionLabels();
    void SetPanelCursor(int number);

    // Solutions page: a RunSolutions replaced by another list (not a later state of the same
    // run) is shown at once, so the page never describes solutions that are gone; the next poll
    // of a run then takes the run's list whole, and the next tick on the Chart page its markers.
    void ShowReplacedRunSolutions();

    // File commands.
    bool ConfirmDroppingSolutions();
    void ClearFunctionInput();
    void ReleaseFinishedWorker();
    void ApplyDataFile(DataFileReading& reading);

    TFormHelpFunction* helpWindow_ = nullptr;
    TFormAbout* aboutWindow_ = nullptr;
    std::unique_ptr<OptionPages> optionPages_;  // the "Local Alg." and "Genetic Alg." pages
    bool changingPageFromCode_ = false;
    // How RunSolutions changed since the Solutions page last showed it, and the direction its
    // best value was chosen in.
    ListChange solutionsChange_ = ListChange::Replaced;
    bool labelsMaximize_ = false;
    // The chart's solution markers, kept in step with RunSolutions; and whether the last tick
    // gave the chart its data, so that the first tick on the Chart page after others rebuilds
    // them whole.
    MarkerFeed markerFeed_;
    bool chartFedLastTick_ = false;
};

// Shows an error's message in the error box, as every failed command does.
void ShowCommandError(const std::string& message);

}  // namespace quarmel
