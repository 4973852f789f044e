#include "ui/chart/PanelChart.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>

#include "ui/chart/ChartFont.h"

namespace quarmel {
namespace {

bool SameFrame(const ChartFrame& a, const ChartFrame& b) {
    return a.WaveMode == b.WaveMode && a.Distance == b.Distance && a.TiltAngle == b.TiltAngle &&
           a.TurnAngle == b.TurnAngle && a.ShiftX == b.ShiftX && a.ShiftY == b.ShiftY &&
           a.ShowPoints == b.ShowPoints && a.ShowPolygons == b.ShowPolygons &&
           a.SmoothShading == b.SmoothShading && a.ShowSolution == b.ShowSolution &&
           a.ShowAxes == b.ShowAxes && a.ShowAxesDescription == b.ShowAxesDescription &&
           a.ShowLines == b.ShowLines && a.SpiralMode == b.SpiralMode;
}

}  // namespace

PanelChart::PanelChart(QWidget* parent)
    : QOpenGLWidget(parent), model_(std::make_unique<ChartModel>()) {
    setObjectName("PanelChart");
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    setFormat(format);
    // The scene is cleared with alpha 0: an opaque texture keeps the panel from showing through.
    setTextureFormat(GL_RGB8);
}

PanelChart::~PanelChart() {
    // The base class destroys the context after this object's members are gone.
    QObject::disconnect(contextConnection_);
    if (renderer_.Attached()) {
        makeCurrent();
        ReleaseGL();
        doneCurrent();
    }
}

void PanelChart::RedrawChart() {
    if (!chartReady_) return;
    framePending_ = true;
    update();
}

void PanelChart::RedrawOnTick(int periodMs) {
    if (!chartReady_) return;
    tickPeriodMs_ = periodMs;
    if (framePending_) return;
    if (lastFrameSlow_) {
        lastFrameSlow_ = false;
        return;
    }
    RedrawIfChanged();
}

void PanelChart::RedrawIfChanged() {
    if (!chartReady_ || framePending_) return;
    // A running wave moves at every frame.
    const ChartFrame frame = frameSource_ ? frameSource_() : ChartFrame{};
    if (drawn_ && !dataChanged_ && !frame.WaveMode && SameFrame(frame, lastFrame_)) return;
    RedrawChart();
}

void PanelChart::initializeGL() {
    // A widget moved to another window gets a new context: release what the old one held.
    QObject::disconnect(contextConnection_);
    contextConnection_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        ReleaseGL();
        doneCurrent();
    });
    renderer_.AttachContext(BuildLabelGlyphs(ChartLabelFont(devicePixelRatioF())));
}

void PanelChart::ReleaseGL() {
    if (renderer_.Attached()) renderer_.DetachContext();
}

void PanelChart::paintGL() {
    framePending_ = false;
    QElapsedTimer clock;
    clock.start();
    // The chart draws from client-side arrays and without shaders.
    QOpenGLFunctions* gl = context()->functions();
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl->glUseProgram(0);
    if (!chartReady_) {
        gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const ChartFrame frame = frameSource_ ? frameSource_() : ChartFrame{};
    const bool rebuildsGrid = model_->GridRebuildPending || model_->LastWaveMode != frame.WaveMode;
    renderer_.Render(*model_, 0, 0, static_cast<int>(width() * ratio),
                     static_cast<int>(height() * ratio), frame);
    if (rebuildsGrid && !frame.WaveMode) gridRebuilt_ = true;
    ++framesRendered_;
    lastFrame_ = frame;
    drawn_ = true;
    dataChanged_ = false;
    lastFrameSlow_ = tickPeriodMs_ >= 0 && clock.nsecsElapsed() > tickPeriodMs_ * 1000000LL;
}

void PanelChart::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->button(), p.x(), p.y());
}

void PanelChart::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press still reaches the view's handlers, as it does without this override.
    mousePressEvent(event);
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) emit DoubleClicked(p.x(), p.y());
}

void PanelChart::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(event->button());
}

void PanelChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}

}  // namespace quarmel
