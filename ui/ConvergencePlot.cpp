#include "ui/ConvergencePlot.h"

#include <QPainter>
#include <QPainterPath>

#include "app/PlotScale.h"

namespace quarmel {

namespace {

// Ten colours that stay apart on light and dark backgrounds.
const QColor kColours[] = {QColor(31, 119, 180),  QColor(255, 127, 14),  QColor(44, 160, 44),
                           QColor(214, 39, 40),   QColor(148, 103, 189), QColor(140, 86, 75),
                           QColor(227, 119, 194), QColor(127, 127, 127), QColor(188, 189, 34),
                           QColor(23, 190, 207)};

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

}  // namespace

ConvergencePlot::ConvergencePlot(QWidget* parent) : QWidget(parent) {
    setObjectName("ConvergencePlot");
    setAccessibleName("Convergence plot");
    setMinimumSize(240, 160);
}

void ConvergencePlot::BeginRun(const std::string& label, bool maximize) {
    while (runs_.size() >= static_cast<std::size_t>(kKeptRuns)) runs_.pop_front();
    runs_.push_back(
        {label, kColours[coloursUsed_++ % std::size(kColours)], ConvergenceCurve(maximize)});
    live_ = true;
    update();
}

void ConvergencePlot::UpdateRun(const SolutionList& solutions, const SolutionList& population) {
    if (runs_.empty()) return;
    ConvergenceCurve& curve = runs_.back().Curve;
    const bool added = curve.Update(solutions) > 0;
    const bool mean = curve.AddPopulationMean(population);
    if (added || mean) update();
}

void ConvergencePlot::Clear() {
    const std::size_t keep = live_ ? 1 : 0;
    if (runs_.size() <= keep) return;
    runs_.erase(runs_.begin(), runs_.end() - static_cast<long>(keep));
    update();
}

void ConvergencePlot::SetLogScale(bool on) {
    if (on == logScale_) return;
    logScale_ = on;
    update();
}

void ConvergencePlot::SetCursor(std::optional<std::size_t> step) {
    if (step == cursor_) return;
    cursor_ = step;
    update();
}

void ConvergencePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect());
}

void ConvergencePlot::Paint(QPainter& painter, const QRect& area) const {
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    painter.fillRect(area, base);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetrics fm = painter.fontMetrics();

    const PlotBox whole{double(area.left()), double(area.top()), double(area.width()),
                        double(area.height())};
    PlotScale scale(logScale_, CurveBox(whole, fm.horizontalAdvance("-0,0000E-00"), fm.height()));
    for (const PlottedRun& run : runs_) scale.Fit(run.Curve);
    const PlotBox& b = scale.Box();
    const QRectF box(b.Left, b.Top, b.Width, b.Height);
    painter.setPen(text);
    painter.drawRect(box);
    const QString xCaption = "step / generation";
    painter.drawText(QRectF(box.left(), box.bottom() + fm.height() + 2, box.width(), fm.height()),
                     Qt::AlignHCenter, xCaption);
    painter.drawText(QPointF(box.left(), box.bottom() + fm.height()), "0");
    const QString last = QString::number(static_cast<long long>(scale.LastStep()));
    painter.drawText(QPointF(box.right() - fm.horizontalAdvance(last), box.bottom() + fm.height()),
                     last);
    if (!scale.HasValues()) {
        painter.drawText(box, Qt::AlignCenter,
                         runs_.empty() ? "No runs yet" : "No values to show on this scale");
        return;
    }
    for (const ValueTick& tick : scale.Ticks()) {
        painter.drawLine(QPointF(box.left() - 4, tick.Y), QPointF(box.left(), tick.Y));
        const QString label = QString::fromStdString(tick.Label);
        painter.drawText(
            QPointF(box.left() - 6 - fm.horizontalAdvance(label), tick.Y + fm.ascent() / 2.0),
            label);
    }

    painter.save();
    painter.setClipRect(box.adjusted(-1, -1, 1, 1));
    for (const PlottedRun& run : runs_) {
        QColor faint = run.Colour;
        faint.setAlpha(90);
        painter.setPen(QPen(faint, 1));
        painter.drawPath(LinePath(scale.Thinned(run.Curve.Values())));
        painter.setPen(QPen(run.Colour, 2));
        painter.drawPath(LinePath(scale.Thinned(run.Curve.BestSoFar())));
        if (!run.Curve.Means().empty()) {
            painter.setPen(QPen(run.Colour, 1, Qt::DashLine));
            painter.drawPath(LinePath(scale.MeanLine(run.Curve.Means())));
        }
    }
    if (cursor_) {
        painter.setPen(QPen(text, 1, Qt::DashLine));
        const double x = scale.X(static_cast<double>(*cursor_));
        painter.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    }
    painter.restore();

    // The legend, newest run last.
    double y = box.top() + 4;
    for (const PlottedRun& run : runs_) {
        const QString label = QString::fromStdString(run.Label);
        const double x = box.right() - fm.horizontalAdvance(label) - 26;
        painter.setPen(QPen(run.Colour, 2));
        painter.drawLine(QPointF(x, y + fm.height() / 2.0), QPointF(x + 16, y + fm.height() / 2.0));
        painter.setPen(text);
        painter.drawText(QPointF(x + 20, y + fm.ascent()), label);
        y += fm.height();
    }
}

}  // namespace quarmel
