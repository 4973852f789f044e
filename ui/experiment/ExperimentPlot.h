#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "app/stats/ExperimentStats.h"

class QPainter;

namespace quarmel {

// What the experiment's plots draw of one algorithm.
struct AlgorithmFigures {
    QString Name;
    QColor Colour;
    std::vector<BandPoint> Band;
    std::vector<EcdfStep> Ecdf;
    std::optional<BoxFigures> Box;
};

// One plot of an experiment's figures, per algorithm in its colour: the median best so far with
// its interquartile band against the evaluations, the share of runs that reached the target by
// each number of evaluations, or the box of the final best values. Painted with QPainter, so it
// also paints into a PNG image or an SVG drawing.
class ExperimentPlot : public QWidget {
    Q_OBJECT

  public:
    enum class Kind { Band, Ecdf, Box };

    ExperimentPlot(Kind kind, QWidget* parent = nullptr);

    // `lastEvaluations` ends the log axis of evaluations; `target` is none when the runs had
    // none (the reaching plot says so).
    void Show(const std::vector<AlgorithmFigures>& figures, double lastEvaluations,
              std::optional<double> target);

    // Values (of the band and the boxes) on a log scale, where every one is above 0.
    void SetLogValues(bool on);

    QString Title() const;
    void Paint(QPainter& painter, const QRect& area) const;
    // The plot as shown (or at its preferred size while hidden).
    std::string PngBytes(int scale) const;
    std::string SvgBytes() const;

    QSize sizeHint() const override { return {380, 280}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void PaintBand(QPainter& painter, const QRectF& box) const;
    void PaintEcdf(QPainter& painter, const QRectF& box) const;
    void PaintBox(QPainter& painter, const QRectF& box) const;
    void PaintLegend(QPainter& painter, const QRectF& box) const;
    // The log axis of evaluations under `box`, and the x of a count on it.
    void PaintEvaluationAxis(QPainter& painter, const QRectF& box) const;
    double EvaluationX(const QRectF& box, double evaluations) const;

    Kind kind_;
    std::vector<AlgorithmFigures> figures_;
    double lastEvaluations_ = 1;
    std::optional<double> target_;
    bool logValues_ = true;
};

}  // namespace quarmel
