#include "ui/plots/ConvergencePlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRubberBand>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "app/plot/RunColours.h"
#include "model/Improvement.h"

namespace quarmel {

namespace {

// A line through the points, as the painter draws it.
QPainterPath LinePath(const std::vector<PlotPoint>& points) {
    QPainterPath path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF p(points[i].X, points[i].Y);
        if (i == 0) {
            path.moveTo(p);
        } else {
            path.lineTo(p);
        }
    }
    return path;
}

// A small triangle pointing down onto the bottom edge at `p`.
void FloorMarker(QPainter& painter, const PlotPoint& p, const QColor& colour) {
    const QPointF tip(p.X, p.Y);
    const QPointF corners[] = {tip, tip + QPointF(-5, -8), tip + QPointF(5, -8)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(corners, 3);
    painter.setBrush(Qt::NoBrush);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

ConvergencePlot::ConvergencePlot(QWidget* parent) : QWidget(parent) {
    setObjectName("ConvergencePlot");
    setAccessibleName("Convergence plot");
    setToolTip("Wheel: zoom; drag: zoom to a rectangle; double click: show all");
    setMinimumSize(240, 160);
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
}

void ConvergencePlot::BeginRun(const std::string& label, const std::string& problem,
                               bool maximize) {
    while (runs_.size() >= static_cast<std::size_t>(kKeptRuns)) runs_.pop_front();
    const auto [r, g, b] = RunColour(runsBegun_);
    runs_.push_back({label, QColor(r, g, b), problem, ConvergenceCurve(maximize), false, false,
                     nullptr, runsBegun_++});
    chosen_.reset();
    live_ = true;
    emit RunsChanged();
    update();
}

void ConvergencePlot::UpdateRun(const SolutionList& solutions,
                                const std::vector<unsigned long long>& evaluations,
                                const SolutionList& population) {
    if (runs_.empty()) return;
    ConvergenceCurve& curve = runs_.back().Curve;
    const bool added = curve.Update(solutions, evaluations) > 0;
    const bool mean = curve.AddPopulationMean(population);
    if (added || mean) update();
}

void ConvergencePlot::EndRun(bool stopped, std::shared_ptr<const SolutionList> path) {
    if (!live_) return;
    live_ = false;
    runs_.back().Stopped = stopped;
    runs_.back().Path = std::move(path);
    emit RunsChanged();
    update();
}

std::size_t ConvergencePlot::CurrentCount() const {
    return runs_.empty() ? 0 : runs_.back().Curve.Count();
}

void ConvergencePlot::Clear() {
    const std::size_t keep = live_ ? 1 : 0;
    if (runs_.size() <= keep) return;
    runs_.erase(runs_.begin(), runs_.end() - static_cast<long>(keep));
    emit RunsChanged();
    update();
}

void ConvergencePlot::ChangeAxes(const PlotAxes& axes) {
    axes_ = axes;
    view_ = PlotView();
    update();
}

void ConvergencePlot::SetXAxis(PlotX axis) {
    if (axis == axes_.X) return;
    PlotAxes axes = axes_;
    axes.X = axis;
    ChangeAxes(axes);
}

void ConvergencePlot::SetDistance(bool on) {
    if (on == (axes_.Y == PlotY::Distance)) return;
    PlotAxes axes = axes_;
    axes.Y = on ? PlotY::Distance : PlotY::Value;
    ChangeAxes(axes);
}

void ConvergencePlot::SetLogScale(bool on) {
    if (on == axes_.LogY) return;
    PlotAxes axes = axes_;
    axes.LogY = on;
    ChangeAxes(axes);
}

void ConvergencePlot::SetKnownOptimum(std::optional<double> optimum) {
    if (optimum == knownOptimum_) return;
    knownOptimum_ = optimum;
    update();
}

void ConvergencePlot::SetRunHidden(std::size_t run, bool hidden) {
    if (run >= runs_.size() || runs_[run].Hidden == hidden) return;
    runs_[run].Hidden = hidden;
    emit RunsChanged();
    update();
}

void ConvergencePlot::ResetZoom() {
    if (view_.Whole()) return;
    view_ = PlotView();
    update();
}

bool ConvergencePlot::OtherProblem(const PlottedRun& run) const {
    return run.Problem != runs_.back().Problem;
}

std::string ConvergencePlot::LegendText(const PlottedRun& run) const {
    std::string text = run.Label;
    if (run.Stopped) text += " (stopped)";
    if (OtherProblem(run)) text += " (other problem: " + run.Problem + ")";
    return text;
}

PlotAxes ConvergencePlot::Axes() const {
    PlotAxes axes = axes_;
    if (runs_.empty()) return axes;
    axes.Maximize = runs_.back().Curve.Maximize();
    axes.BestIsOptimum = knownOptimum_.has_value();
    axes.BestKnown = knownOptimum_;
    if (axes.BestKnown) return axes;
    // The best any kept run of this problem found, hidden or not.
    for (const PlottedRun& run : runs_) {
        if (OtherProblem(run) || run.Curve.Count() == 0) continue;
        const float best = run.Curve.BestSoFar().back();
        if (!axes.BestKnown || Improves(static_cast<float>(*axes.BestKnown), best, axes.Maximize))
            axes.BestKnown = best;
    }
    return axes;
}

PlotPoint ConvergencePlot::ViewFractions(const QPoint& pixel) const {
    return PlotScale(axes_, shownBox_).Fractions({double(pixel.x()), double(pixel.y())});
}

void ConvergencePlot::wheelEvent(QWheelEvent* event) {
    const PlotPoint f = ViewFractions(event->position().toPoint());
    view_ = view_.Zoomed(f.X, f.Y, std::pow(0.85, event->angleDelta().y() / 120.0));
    update();
    event->accept();
}

void ConvergencePlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    bandStart_ = event->position().toPoint();
    band_->setGeometry(QRect(bandStart_, QSize()));
    band_->show();
}

void ConvergencePlot::mouseMoveEvent(QMouseEvent* event) {
    if (band_->isVisible()) {
        band_->setGeometry(QRect(bandStart_, event->position().toPoint()).normalized());
    }
}

void ConvergencePlot::mouseReleaseEvent(QMouseEvent* event) {
    if (!band_->isVisible()) return QWidget::mouseReleaseEvent(event);
    band_->hide();
    const QPoint end = event->position().toPoint();
    // A click is not a rectangle.
    if (std::abs(end.x() - bandStart_.x()) < 5 || std::abs(end.y() - bandStart_.y()) < 5) return;
    const PlotPoint a = ViewFractions(bandStart_), b = ViewFractions(end);
    view_ = view_.Part(a.X, b.X, a.Y, b.Y);
    update();
}

void ConvergencePlot::mouseDoubleClickEvent(QMouseEvent*) {
    ResetZoom();
}

void ConvergencePlot::SetCurrentRun(std::size_t number) {
    const PlottedRun* before = CurrentRun();
    chosen_ = number;
    if (CurrentRun() == before) return;
    emit RunsChanged();
    update();
}

const PlottedRun* ConvergencePlot::CurrentRun() const {
    if (runs_.empty()) return nullptr;
    for (const PlottedRun& run : runs_) {
        if (chosen_ && run.Number == *chosen_) return &run;
    }
    return &runs_.back();
}

void ConvergencePlot::SetCursor(std::optional<std::size_t> step) {
    if (step == cursor_) return;
    cursor_ = step;
    update();
}

void ConvergencePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect(), false);
}

void ConvergencePlot::Paint(QPainter& painter, const QRect& area, bool legend) const {
    const QColor text = palette().color(QPalette::Text);
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetrics fm = painter.fontMetrics();

    // The legend's column, outside the curves and at most a third of the width.
    std::vector<const PlottedRun*> drawn;
    for (const PlottedRun& run : runs_) {
        if (Drawn(run)) drawn.push_back(&run);
    }
    const PlottedRun* current = CurrentRun();
    int legendWidth = 0;
    if (legend) {
        for (const PlottedRun* run : drawn) {
            legendWidth = std::max(legendWidth, fm.horizontalAdvance(Text(LegendText(*run))) + 30);
        }
        legendWidth = std::min(legendWidth, area.width() / 3);
    }
    PlotScale scale(Axes(), {}, view_);
    for (const PlottedRun* run : drawn) scale.Fit(run->Curve);
    const std::vector<std::string> notes = scale.Notes();
    const PlotBox whole{double(area.left()), double(area.top()), double(area.width() - legendWidth),
                        double(area.height())};
    scale.Place(CurveBox(whole, fm.horizontalAdvance("-0,0000E-00"), fm.height(), 1,
                         2 + static_cast<int>(notes.size())));
    const PlotBox& b = scale.Box();
    if (!legend) shownBox_ = b;
    const QRectF box(b.Left, b.Top, b.Width, b.Height);
    painter.setPen(text);
    painter.drawRect(box);
    painter.drawText(QPointF(box.left(), box.top() - fm.descent() - 3), Text(scale.YCaption()));
    double line = box.bottom() + fm.height() + 2;
    painter.drawText(QRectF(box.left(), line, box.width(), fm.height()), Qt::AlignHCenter,
                     Text(scale.XCaption()));
    for (const std::string& note : notes) {
        line += fm.height();
        painter.drawText(QRectF(area.left() + 4, line, area.width() - 8, fm.height()),
                         Qt::AlignLeft, Text(note));
    }
    double labelsEnd = -1e9;  // a label that would run into the one before is left out
    for (const AxisTick& tick : scale.XTicks()) {
        const QString label = Text(tick.Label);
        painter.drawLine(QPointF(tick.At, box.bottom()), QPointF(tick.At, box.bottom() + 3));
        const double w = fm.horizontalAdvance(label);
        const double x = std::clamp(tick.At - w / 2, box.left() - 4, box.right() - w + 4);
        if (x < labelsEnd + 6) continue;
        painter.drawText(QPointF(x, box.bottom() + fm.height()), label);
        labelsEnd = x + w;
    }
    if (!scale.HasValues()) {
        painter.drawText(box, Qt::AlignCenter,
                         runs_.empty()   ? "No runs yet"
                         : drawn.empty() ? "Every run of this problem is hidden"
                                         : "No values to show on this scale");
        return;
    }
    for (const AxisTick& tick : scale.ValueTicks()) {
        painter.drawLine(QPointF(box.left() - 4, tick.At), QPointF(box.left(), tick.At));
        const QString label = Text(tick.Label);
        painter.drawText(
            QPointF(box.left() - 6 - fm.horizontalAdvance(label), tick.At + fm.ascent() / 2.0),
            label);
    }

    painter.save();
    painter.setClipRect(box.adjusted(-1, -1, 1, 1));
    // The current run's curve over the others'.
    std::vector<const PlottedRun*> order = drawn;
    std::stable_partition(order.begin(), order.end(),
                          [current](const PlottedRun* run) { return run != current; });
    for (const PlottedRun* run : order) {
        QColor faint = run->Colour;
        faint.setAlpha(90);
        painter.setPen(QPen(faint, 1));
        painter.drawPath(LinePath(scale.Thinned(run->Curve, false)));
        painter.setPen(QPen(run->Colour, 2, run->Stopped ? Qt::DashLine : Qt::SolidLine));
        const std::vector<PlotPoint> steps = scale.BestSteps(run->Curve);
        painter.drawPath(LinePath(steps));
        // A line of one point has no length: a dot shows where it is.
        if (!steps.empty() && steps.front().X == steps.back().X &&
            steps.front().Y == steps.back().Y) {
            painter.setBrush(run->Colour);
            painter.drawEllipse(QPointF(steps.front().X, steps.front().Y), 3.0, 3.0);
            painter.setBrush(Qt::NoBrush);
        }
        if (!run->Curve.Means().empty()) {
            painter.setPen(QPen(run->Colour, 1, Qt::DotLine));
            painter.drawPath(LinePath(scale.MeanLine(run->Curve)));
        }
        if (const auto mark = scale.FloorMark(run->Curve)) FloorMarker(painter, *mark, run->Colour);
    }
    if (cursor_ && current && current->Curve.Count() > 0) {
        const ConvergenceCurve& curve = current->Curve;
        painter.setPen(QPen(text, 1, Qt::DashLine));
        const double x = scale.X(curve, std::min(*cursor_, curve.Count() - 1));
        painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    }
    painter.restore();

    // The legend, newest run last, beside the curves.
    double y = box.top();
    const double x = box.right() + 10;
    for (const PlottedRun* run : legend ? drawn : std::vector<const PlottedRun*>()) {
        painter.setPen(QPen(run->Colour, 2, run->Stopped ? Qt::DashLine : Qt::SolidLine));
        painter.drawLine(QPointF(x, y + fm.height() / 2.0), QPointF(x + 14, y + fm.height() / 2.0));
        painter.setPen(text);
        const QString label =
            fm.elidedText(Text(LegendText(*run)), Qt::ElideRight, area.right() - int(x) - 20);
        painter.drawText(QPointF(x + 18, y + fm.ascent()), label);
        y += fm.height();
    }
}

}  // namespace quarmel
