#pragma once

#include <QOpenGLWidget>

#include <functional>
#include <memory>
#include <utility>

#include "chart/ChartFrame.h"
#include "chart/ChartModel.h"
#include "chart/SurfaceChart.h"

namespace quarmel {

// The chart panel of the Chart page: an OpenGL widget (compatibility profile, depth buffer,
// double buffering) that draws its chart model with a SurfaceChart.
//
// - Chart(): the chart model (SetData, the marker mapping); works at any time, with or without
//   a context.
// - SetFrameSource(): the function asked for the view and the display options whenever a frame
//   is drawn (by RedrawChart or by Qt's own repaints). Without one, the start-up defaults.
// - ChartReady / SetChartReady(): until the chart is ready (given data once, or the wave
//   demonstration started) nothing is drawn and the panel shows black.
// - RedrawChart(): draws one frame of the chart at the next paint; nothing while not ready.
// - MouseDown / MouseUp / MouseMove: the panel's mouse events, in panel coordinates, for the
//   window's view handlers.
class PanelChart : public QOpenGLWidget {
    Q_OBJECT

  public:
    explicit PanelChart(QWidget* parent = nullptr);
    ~PanelChart() override;

    ChartModel& Chart() { return *model_; }
    const ChartModel& Chart() const { return *model_; }

    void SetFrameSource(std::function<ChartFrame()> source) { frameSource_ = std::move(source); }

    bool ChartReady() const { return chartReady_; }
    void SetChartReady(bool ready) { chartReady_ = ready; }

    void RedrawChart();
    // RedrawChart when the picture would change: the model changed since the last frame
    // (NoteDataChanged), the frame source gives another view or other options, or the wave
    // demonstration runs.
    void RedrawIfChanged();
    // The progress timer's redraw: none while a frame is still waiting to be drawn, and none
    // right after a frame that took longer than the timer's period (the tick after draws
    // again), so frames never pile up behind the timer; else RedrawIfChanged.
    void RedrawOnTick(int periodMs);
    // The chart model was changed: the next tick draws.
    void NoteDataChanged() { dataChanged_ = true; }
    // Whether a frame drawn since the last call rebuilt the model's grid outside the wave (the
    // first frame, the first after the wave), which leaves it flat until the surface is given
    // again.
    bool TakeGridRebuilt() { return std::exchange(gridRebuilt_, false); }

    // Chart frames rendered so far (each one also advances a running wave by a step).
    int FramesRendered() const { return framesRendered_; }

  signals:
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseUp(Qt::MouseButton button);
    void MouseMove(int x, int y);
    // A double click of the left button, in panel coordinates.
    void DoubleClicked(int x, int y);

  protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void ReleaseGL();

    std::unique_ptr<ChartModel> model_;
    SurfaceChart renderer_;
    std::function<ChartFrame()> frameSource_;
    QMetaObject::Connection contextConnection_;
    bool chartReady_ = false;
    int framesRendered_ = 0;
    bool framePending_ = false;
    bool lastFrameSlow_ = false;
    int tickPeriodMs_ = -1;  // none until the timer asks for a frame
    bool dataChanged_ = true;
    bool gridRebuilt_ = false;
    bool drawn_ = false;  // lastFrame_ holds the view and options of the last frame drawn
    ChartFrame lastFrame_;
};

}  // namespace quarmel
