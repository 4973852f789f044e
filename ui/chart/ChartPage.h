#pragma once

#include <QCursor>
#include <QWidget>

#include <fparser.hh>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/chartpage/KeptPaths.h"
#include "app/chartpage/MarkerFeed.h"
#include "app/chartpage/ViewNavigation.h"
#include "app/examples/ExampleCatalogue.h"
#include "app/runs/RunProgress.h"
#include "chart/ChartFrame.h"
#include "chart/Sampling.h"
#include "model/Algparameters.h"
#include "model/Solution.h"

class QCheckBox;
class QImage;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSlider;
class QTimer;

namespace quarmel {

class PanelChart;
class ReplayBar;

// The Chart page: the chart panel, the axis choice, the display ranges, the display options and
// the view (mouse functions, scaling, auto-rotation, "Default"). It samples the window's problem
// with the window's parser, which it reads but never changes, and draws the run's solutions.
// ChartPage.cpp builds and lays out the page and feeds the panel; ChartRanges.cpp holds the
// axes and ranges, ChartNavigation.cpp the view.
class ChartPage : public QWidget {
    Q_OBJECT

  public:
    ChartPage(QWidget* parent, const AlgParameters& problem, FunctionParser& parser);

    // The axis lists for the variables read (none when `read` is false); Y keeps its choice
    // when it can.
    void SetAxisVariables(const std::vector<std::string>& names, bool read);
    // Chooses the axes from the lists, sets up the range controls and samples the surface.
    void SetUpAxes();
    // After a reading that does not set up the axes (Calculate, Save): the X list shows the
    // variable the chart is drawn over, when the problem still has it.
    void ShowDrawnAxisX();
    // One tick of the chart timer: while the page is shown, the panel gets the surface and the
    // solutions' markers and redraws.
    void Tick(const SolutionList& solutions, const SolutionList& population, int periodMs);
    // How the solution list changed since the last tick; Replaced rebuilds the markers.
    void NoteChange(ListChange change);
    void RedrawChart();
    // RedrawChart when the picture would change (see PanelChart::RedrawIfChanged).
    void RedrawIfChanged();
    // Gives the range groups, bars and edits their widths for the page's width.
    void LayoutRangeControls();
    // The view and display options a frame is drawn with.
    ChartFrame CurrentChartFrame() const;
    // Whether the page holds a chart: a surface was sampled (ChartPicture.cpp).
    bool HasSurface() const { return !surface_.Samples.empty(); }
    // The chart as the panel draws it. A page not shown is first laid out at `pageSize`, the size
    // it has when shown, and its panel given the surface and these solutions; null when it has
    // no surface to draw.
    QImage Picture(const QSize& pageSize, const SolutionList& solutions,
                   const SolutionList& population);

    // Whether the panel has something to draw (a surface, or the wave).
    bool ChartReady() const { return chartReady_; }
    void SetChartReady() { chartReady_ = true; }
    // The wave demonstration draws the panel's grid as a water surface.
    bool WaveMode() const { return waveMode_; }
    // The wave moves the model's grid: the surface is given to the panel again after it.
    void SetWaveMode(bool on) {
        surfaceChanged_ = surfaceChanged_ || on != waveMode_;
        waveMode_ = on;
    }
    bool SpiralMode() const { return spiralMode_; }
    void SetSpiralMode(bool on) { spiralMode_ = on; }
    // The problem's known optimum, marked on the chart at its place on the chosen axes (the other
    // variables' coordinates do not show); none removes the marker.
    void SetKnownOptimum(const std::optional<ExampleProblem>& known);
    // The kept runs' paths to draw with the current run's, placed on the chosen axes now and
    // again whenever the axes change.
    void SetKeptPaths(std::vector<KeptPath> runs);
    // A race's other lanes' populations to draw, each in its lane's colour (none after the
    // race), and the colour of the window's run's path and population (a race's first lane's;
    // none for the markers' own).
    void SetLanePopulations(std::vector<LanePopulation> lanes);
    void SetRunColour(std::optional<std::array<std::uint8_t, 3>> colour);
    // Marks a start picked on the chart at these values of the X and Y variables and this function
    // value; none removes the mark.
    void MarkPickedStart(std::optional<std::array<double, 3>> at);
    // Back to the default view; a new function also gets the default distance's shift.
    void ResetView(bool newFunction);
    // One step of the auto-rotation timer.
    void TimerAutoRotationTimer();

    // What is drawn: the variables along the axes and the sampled surface.
    int AxisXVariable() const { return axisX_; }
    int AxisYVariable() const { return axisY_; }
    const SurfaceSampling& Surface() const { return surface_; }
    const ViewNavigation& Navigation() const { return navigation_; }
    // The panel's cursor by number (kCursorRotate, kCursorMove, kCursorScale); none if unknown.
    QCursor PanelCursor(int number) const;
    ::quarmel::PanelChart* Panel() const { return PanelChart; }
    // The replay bar under the chart, hidden until there is a run to replay; while it is shown
    // the chart takes the focus when clicked, so the replay keys work on it.
    ReplayBar* ReplayControls() const { return Replay; }
    void ShowReplayBar(bool shown);
    void ApplyPaletteColours(const QColor& page);

  signals:
    // The axes changed: the window runs its chart tick before the page redraws.
    void AxesChanged();
    // A double click picked the surface point at these values of the variables named.
    void StartPicked(const QString& xName, double x, const QString& yName, double y);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build();
    void BuildOptionsColumn();
    void BuildRanges();
    void Connect();
    void SetTabOrder();
    bool Current() const;  // the page the window shows
    // The chosen axes and display ranges the markers are placed by.
    MarkerAxes Axes() const;
    // Gives the panel's chart the sampled surface over the display ranges.
    void GiveSurface();
    // Gives it the known optimum's marker for these axes; true when that changed it.
    bool GiveOptimum(const MarkerAxes& axes);
    // A double click on the panel at (x, y): the surface point under it, if any, is picked.
    void PickStart(int x, int y);
    // Gives it the kept runs' paths and the lanes' populations for these axes; true when that
    // changed them.
    bool GiveKeptPaths(const MarkerAxes& axes);
    bool GiveLanePopulations(const MarkerAxes& axes);

    // Axes and ranges (ChartRanges.cpp).
    void SetUpRangeControls(bool xOnly, int xVariable, int yVariable);
    void SampleOverXY(int xVariable, int yVariable);
    void SampleOverX(int xVariable);
    void Resample();
    void RangeEditEnter(QLineEdit* edit, QScrollBar* bar);
    void ComboBoxAxeXChange();
    void ScrollBarMinXChange();
    void ScrollBarMinYChange();
    void ScrollBarMaxXChange();
    void ScrollBarMaxYChange();
    void EditMinXKeyPress(char key);
    void EditMinYKeyPress(char key);
    void EditMaxXKeyPress(char key);
    void EditMaxYKeyPress(char key);
    void CheckBoxWireframeClick();
    void CheckBoxPolygonClick();
    void CheckBoxShadingClick();
    void CheckBoxColorsClick();

    // The view (ChartNavigation.cpp).
    void ConnectNavigation();
    void LoadCursors();
    bool PictureMouseDown(QObject* watched, QEvent* event);
    void Image_rotateMouseDown(MouseButton button);
    void Image_positionMouseDown(MouseButton button);
    void Image_zoomMouseDown(MouseButton button);
    void ChooseMouseFunction(MouseButton button, MouseFunction function);
    void ShowMouseFunctionLabels();
    void SetPanelCursor(int number);
    void PanelChartMouseDown(MouseButton button, int x, int y);
    void PanelChartMouseUp(MouseButton button);
    void PanelChartMouseMove(int x, int y);
    void ScrollBarScaleChange();
    void BitBtnResetClick();

    const AlgParameters& problem_;
    FunctionParser& parser_;
    int axisX_ = 0;
    int axisY_ = 1;
    SurfaceSampling surface_;
    bool chartReady_ = false;
    bool waveMode_ = false;
    bool spiralMode_ = false;
    ViewNavigation navigation_;  // the view and the mouse state; the distance is ScrollBarScale
    std::map<int, QCursor> cursors_;
    // The solutions' markers, kept in step with the run's list; and whether the last tick gave
    // the panel its data, so the first tick on this page after others rebuilds them whole.
    MarkerFeed markerFeed_;
    bool fedLastTick_ = false;
    // What the panel has not been given yet: a surface sampled again, a change of the list.
    bool surfaceChanged_ = true;
    bool listChanged_ = true;
    std::optional<ExampleProblem> known_;
    // The kept runs' paths, fed to the chart as they grow; the lanes' populations, and the axes
    // the chart's markers of them were last built for.
    std::vector<KeptPath> kept_;
    KeptPathFeed keptFeed_;
    std::vector<LanePopulation> lanePopulations_;
    MarkerAxes lanePopulationAxes_;
    bool lanePopulationsStale_ = false;

    ::quarmel::PanelChart* PanelChart = nullptr;
    QWidget* PanelChartOptions = nullptr;
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
    QTimer* TimerAutoRotation = nullptr;
    ReplayBar* Replay = nullptr;
};

}  // namespace quarmel
