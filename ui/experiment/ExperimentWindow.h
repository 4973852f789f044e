#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/runs/BatchRun.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace quarmel {

class ExperimentPlan;
class ExperimentPlot;
struct ExperimentControl;
class TFormMain;

// The experiment window: the chosen algorithms with the main window's problem and settings, over
// a number of seeds under one budget and target, run in the background on every core by the
// batch runner's engine, with progress and Cancel. It then shows the three plots and the table
// per algorithm, and exports the plots and the batch runner's runs and long tables.
class ExperimentWindow : public QDialog {
    Q_OBJECT

  public:
    // `keptBests` gives the best values of the runs the main window keeps of its problem.
    ExperimentWindow(TFormMain* form, std::function<std::vector<std::optional<float>>()> keptBests);
    ~ExperimentWindow() override;

    // Shows the window, offering the best known value as the target until the user writes one.
    void Open();
    bool Running() const { return worker_.joinable(); }

  protected:
    // Closing (the title bar, Escape) while runs go on asks; Yes cancels them, No keeps the
    // window open with its runs.
    void reject() override;

  private:
    void Start();
    void Cancel();
    void ShowProgress();
    void Finished(std::vector<RunOutcome> outcomes);
    void ShowFigures();
    void UpdateControls();
    void ExportTable(bool runs);
    void ExportPlot(const ExperimentPlot* plot, bool svg);

    TFormMain* form_;
    std::function<std::vector<std::optional<float>>()> keptBests_;
    bool targetEdited_ = false;

    std::vector<QCheckBox*> algorithms_;  // by the algorithm table's rows
    QLineEdit* seeds_ = nullptr;
    QLineEdit* firstSeed_ = nullptr;
    QLineEdit* evaluations_ = nullptr;
    QLineEdit* seconds_ = nullptr;
    QLineEdit* target_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* state_ = nullptr;
    QCheckBox* logScale_ = nullptr;
    ExperimentPlot* plots_[3] = {};
    QTableWidget* table_ = nullptr;
    QPushButton* exportRuns_ = nullptr;
    QPushButton* exportLong_ = nullptr;
    std::vector<QPushButton*> plotExports_;
    QTimer* timer_ = nullptr;

    std::unique_ptr<ExperimentPlan> plan_;
    std::unique_ptr<ExperimentControl> control_;
    std::thread worker_;  // calls the engine, which hands every run back on it in order
    std::vector<RunOutcome> outcomes_;
};

}  // namespace quarmel
