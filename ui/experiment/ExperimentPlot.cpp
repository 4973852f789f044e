#include "ui/experiment/ExperimentPlot.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <functional>

#include "app/plot/PlotTicks.h"
#include "app/text/NumberText.h"
#include "ui/plots/PictureExport.h"

namespace quarmel {

namespace {

QString Number(double value) {
    return QString::fromStdString(GeneralText(value, 4));
}

// The vertical axis from lo to hi: the ticks, with `y` mapping a value to its height.
void PaintTicks(QPainter& painter, const QRectF& box, const std::vector<double>& ticks,
                const std::function<double(double)>& y) {
    const QFontMetrics fm = painter.fontMetrics();
    const std::vector<std::string> labels = TickLabels(ticks);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double at = y(ticks[i]);
        painter.drawLine(QPointF(box.left() - 4, at), QPointF(box.left(), at));
        const QString label = QString::fromStdString(labels[i]);
        painter.drawText(
            QPointF(box.left() - 6 - fm.horizontalAdvance(label), at + fm.ascent() / 2.0), label);
    }
}

int MostTicks(const QPainter& painter, const QRectF& box) {
    return std::max(2, int(box.height() / (2.5 * painter.fontMetrics().height())));
}

// The axis of values: linear, or logarithmic when asked for and every finite value is above 0.
// The range is the finite values' widened a little, so that lines at its ends stay inside the
// frame; a value that is not finite (a best so far where the formula is undefined counts as the
// worst) is drawn at the frame's edge rather than left out.
class ValueAxis {
  public:
    // None when there is no finite value.
    static std::optional<ValueAxis> For(const std::vector<double>& values, bool log,
                                        const QRectF& box) {
        ValueAxis a;
        a.box_ = box;
        bool any = false;
        double lo = 0, hi = 0;
        for (double v : values) {
            if (!std::isfinite(v)) continue;
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
        if (!any) return std::nullopt;
        a.refused_ = log && !(lo > 0);
        a.log_ = log && lo > 0;
        if (a.log_) {
            lo = std::log10(lo);
            hi = std::log10(hi);
        }
        const double pad = hi > lo ? (hi - lo) * 0.05 : std::max(std::abs(lo) * 0.05, 0.5);
        a.lo_ = lo - pad;
        a.hi_ = hi + pad;
        return a;
    }

    double Y(double v) const {
        if (!std::isfinite(v)) return v < 0 ? box_.bottom() : box_.top();
        const double at = log_ ? std::log10(v) : v;
        return box_.bottom() - (at - lo_) / (hi_ - lo_) * box_.height();
    }

    void Paint(QPainter& painter) const {
        const int most = MostTicks(painter, box_);
        const std::vector<double> ticks =
            log_ ? LogTicks(std::pow(10.0, lo_), std::pow(10.0, hi_), most)
                 : NiceTicks(lo_, hi_, most);
        PaintTicks(painter, box_, ticks, [this](double v) { return Y(v); });
        if (refused_) {
            painter.drawText(box_.adjusted(0, 2, -4, 0), Qt::AlignRight | Qt::AlignTop,
                             "linear: values at or below 0");
        }
    }

  private:
    QRectF box_;
    bool log_ = false, refused_ = false;
    double lo_ = 0, hi_ = 1;
};

}  // namespace

ExperimentPlot::ExperimentPlot(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    const char* names[] = {"PlotExperimentBand", "PlotExperimentReached", "PlotExperimentBox"};
    setObjectName(names[int(kind)]);
    setAccessibleName(Title());
    setMinimumSize(240, 180);
}

QString ExperimentPlot::Title() const {
    switch (kind_) {
        case Kind::Band:
            return "Median best so far (interquartile band)";
        case Kind::Ecdf:
            return "Runs that reached the target";
        case Kind::Box:
            return "Final best values";
    }
    return {};
}

void ExperimentPlot::Show(const std::vector<AlgorithmFigures>& figures, double lastEvaluations,
                          std::optional<double> target) {
    figures_ = figures;
    lastEvaluations_ = std::max(lastEvaluations, 1.0);
    target_ = target;
    update();
}

void ExperimentPlot::SetLogValues(bool on) {
    if (on == logValues_) return;
    logValues_ = on;
    update();
}

void ExperimentPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect());
}

double ExperimentPlot::EvaluationX(const QRectF& box, double evaluations) const {
    const double decades = std::max(std::log10(lastEvaluations_), 1.0);
    return box.left() + std::log10(std::max(evaluations, 1.0)) / decades * box.width();
}

void ExperimentPlot::Paint(QPainter& painter, const QRect& area) const {
    const QColor text = palette().color(QPalette::Text);
    painter.fillRect(area, palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetrics fm = painter.fontMetrics();
    const double left = area.left() + fm.horizontalAdvance("-0,000E-00") + 10;
    const QRectF box(left, area.top() + 1.5 * fm.height(), area.right() - left - 8,
                     area.height() - 4.5 * fm.height());
    painter.setPen(text);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), 1.5 * fm.height()),
                     Qt::AlignCenter,
                     kind_ == Kind::Ecdf && target_ ? Title() + " " + Number(*target_) : Title());
    if (box.width() < 20 || box.height() < 20) return;
    painter.drawRect(box);
    if (figures_.empty()) {
        painter.drawText(box, Qt::AlignCenter, "No experiment yet");
        return;
    }
    switch (kind_) {
        case Kind::Band:
            PaintBand(painter, box);
            break;
        case Kind::Ecdf:
            PaintEcdf(painter, box);
            break;
        case Kind::Box:
            PaintBox(painter, box);
            break;
    }
    PaintLegend(painter, box);
}

void ExperimentPlot::PaintEvaluationAxis(QPainter& painter, const QRectF& box) const {
    const QFontMetrics fm = painter.fontMetrics();
    const std::vector<double> ticks = DecadeTicks(lastEvaluations_);
    const std::vector<std::string> labels = TickLabels(ticks);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double x = EvaluationX(box, ticks[i]);
        painter.drawLine(QPointF(x, box.bottom()), QPointF(x, box.bottom() + 4));
        const QString label = QString::fromStdString(labels[i]);
        painter.drawText(
            QPointF(x - fm.horizontalAdvance(label) / 2.0, box.bottom() + fm.height() + 2), label);
    }
    painter.drawText(QRectF(box.left(), box.bottom() + fm.height() + 4, box.width(), fm.height()),
                     Qt::AlignHCenter, "evaluations (log scale)");
}

void ExperimentPlot::PaintBand(QPainter& painter, const QRectF& box) const {
    std::vector<double> values;
    for (const AlgorithmFigures& f : figures_) {
        for (const BandPoint& p : f.Band) values.insert(values.end(), {p.Q1, p.Median, p.Q3});
    }
    PaintEvaluationAxis(painter, box);
    const std::optional<ValueAxis> axis = ValueAxis::For(values, logValues_, box);
    if (!axis) {
        painter.drawText(box, Qt::AlignCenter, "No finite values to show");
        return;
    }
    axis->Paint(painter);
    const auto clampedY = [&](double v) { return axis->Y(v); };
    painter.save();
    painter.setClipRect(box);
    for (const AlgorithmFigures& f : figures_) {
        if (f.Band.empty()) continue;
        QPainterPath band, median;
        for (std::size_t i = 0; i < f.Band.size(); ++i) {
            const QPointF p(EvaluationX(box, f.Band[i].Evaluations), clampedY(f.Band[i].Q3));
            i ? band.lineTo(p) : band.moveTo(p);
            const QPointF m(p.x(), clampedY(f.Band[i].Median));
            i ? median.lineTo(m) : median.moveTo(m);
        }
        for (std::size_t i = f.Band.size(); i-- > 0;) {
            band.lineTo(EvaluationX(box, f.Band[i].Evaluations), clampedY(f.Band[i].Q1));
        }
        band.closeSubpath();
        QColor faint = f.Colour;
        faint.setAlpha(60);
        painter.fillPath(band, faint);
        painter.setPen(QPen(f.Colour, 2));
        painter.drawPath(median);
    }
    painter.restore();
}

void ExperimentPlot::PaintEcdf(QPainter& painter, const QRectF& box) const {
    PaintEvaluationAxis(painter, box);
    const auto y = [&](double share) { return box.bottom() - share * box.height(); };
    PaintTicks(painter, box, NiceTicks(0.0, 1.0, MostTicks(painter, box)), y);
    if (!target_) {
        painter.drawText(box, Qt::AlignCenter, "No target was given");
        return;
    }
    painter.save();
    painter.setClipRect(box.adjusted(-1, -1, 1, 1));
    for (const AlgorithmFigures& f : figures_) {
        // A staircase: the share holds until the next run reaches the target.
        QPainterPath path;
        path.moveTo(box.left(), y(0));
        double share = 0;
        for (const EcdfStep& s : f.Ecdf) {
            const double x = EvaluationX(box, s.Evaluations);
            path.lineTo(x, y(share));
            share = s.Share;
            path.lineTo(x, y(share));
        }
        path.lineTo(box.right(), y(share));
        painter.setPen(QPen(f.Colour, 2));
        painter.drawPath(path);
    }
    painter.restore();
}

void ExperimentPlot::PaintBox(QPainter& painter, const QRectF& box) const {
    std::vector<double> values;
    for (const AlgorithmFigures& f : figures_) {
        if (f.Box) values.insert(values.end(), {f.Box->Min, f.Box->Max});
    }
    const std::optional<ValueAxis> axis = ValueAxis::For(values, logValues_, box);
    if (!axis) {
        painter.drawText(box, Qt::AlignCenter, "No finite values to show");
        return;
    }
    axis->Paint(painter);
    const auto y = [&](double v) { return axis->Y(v); };
    const QFontMetrics fm = painter.fontMetrics();
    const double slot = box.width() / figures_.size();
    // Names wider than their slot take two rows, every other one on the lower, where the other
    // plots name their axis.
    bool stagger = false;
    for (const AlgorithmFigures& f : figures_) stagger |= fm.horizontalAdvance(f.Name) + 4 > slot;
    for (std::size_t i = 0; i < figures_.size(); ++i) {
        const AlgorithmFigures& f = figures_[i];
        const double middle = box.left() + slot * (i + 0.5);
        const double row = stagger && i % 2 ? 2.0 : 1.0;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(middle - fm.horizontalAdvance(f.Name) / 2.0,
                                 box.bottom() + row * fm.height() + 2),
                         f.Name);
        if (!f.Box) continue;
        const BoxFigures& b = *f.Box;
        const double half = std::min(slot * 0.3, 30.0);
        QColor fill = f.Colour;
        fill.setAlpha(60);
        painter.setPen(QPen(f.Colour, 2));
        painter.drawLine(QPointF(middle, y(b.Min)), QPointF(middle, y(b.Q1)));
        painter.drawLine(QPointF(middle, y(b.Q3)), QPointF(middle, y(b.Max)));
        painter.drawLine(QPointF(middle - half / 2, y(b.Min)),
                         QPointF(middle + half / 2, y(b.Min)));
        painter.drawLine(QPointF(middle - half / 2, y(b.Max)),
                         QPointF(middle + half / 2, y(b.Max)));
        const QRectF quartiles(QPointF(middle - half, y(b.Q3)), QPointF(middle + half, y(b.Q1)));
        painter.fillRect(quartiles, fill);
        painter.drawRect(quartiles);
        painter.setPen(QPen(f.Colour, 3));
        painter.drawLine(QPointF(middle - half, y(b.Median)), QPointF(middle + half, y(b.Median)));
    }
}

void ExperimentPlot::PaintLegend(QPainter& painter, const QRectF& box) const {
    if (kind_ == Kind::Box) return;  // the boxes are named under the axis
    // In the corner the curves leave free: falling best values start at the top left and end at
    // the bottom right, rising shares start at the bottom left.
    const QFontMetrics fm = painter.fontMetrics();
    const double x = box.left() + 6;
    double y = kind_ == Kind::Ecdf ? box.top() + 4
                                   : box.bottom() - 4 - fm.height() * double(figures_.size());
    for (const AlgorithmFigures& f : figures_) {
        painter.setPen(QPen(f.Colour, 2));
        painter.drawLine(QPointF(x, y + fm.height() / 2.0), QPointF(x + 16, y + fm.height() / 2.0));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x + 20, y + fm.ascent()), f.Name);
        y += fm.height();
    }
}

std::string ExperimentPlot::PngBytes(int scale) const {
    return WidgetPng(
        *this, [this](QPainter& p, const QRect& r) { Paint(p, r); }, scale);
}

std::string ExperimentPlot::SvgBytes() const {
    return WidgetSvg(*this, Title(), [this](QPainter& p, const QRect& r) { Paint(p, r); });
}

}  // namespace quarmel
