#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace quarmel {

class ConvergencePlot;

// The convergence plot with its controls: a legend beside it where each run can be hidden, what
// each axis shows, the log scale and a reset of the zoom.
class PlotPanel : public QWidget {
    Q_OBJECT

  public:
    explicit PlotPanel(QWidget* parent = nullptr);

    ConvergencePlot& Plot() const { return *plot_; }
    // Whether "Show paths on chart" is checked.
    bool ShowPathsOnChart() const;

  signals:
    void ShowPathsToggled();

  private:
    // Shows the plot's runs in the legend, each checked unless hidden.
    void FillLegend();
    void ApplyAxes();

    ConvergencePlot* plot_ = nullptr;
    QListWidget* ListPlotRuns = nullptr;
    QComboBox* ComboBoxPlotX = nullptr;
    QComboBox* ComboBoxPlotY = nullptr;
    QCheckBox* CheckBoxLogScale = nullptr;
    QPushButton* ButtonResetZoom = nullptr;
    QCheckBox* CheckBoxShowPaths = nullptr;
};

}  // namespace quarmel
