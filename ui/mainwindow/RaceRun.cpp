#include "ui/mainwindow/RaceRun.h"

#include <array>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "algorithms/AlgorithmTable.h"
#include "algorithms/Optimizationthread.h"
#include "app/plot/RunColours.h"
#include "model/Random.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/ReplayBar.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/plots/RunComparison.h"

namespace quarmel {

RaceRun::RaceRun(QWidget* window, QMenu* runsMenu, ChartPage* chart, QStatusBar* bar,
                 RunComparison* comparison, const AlgParameters& params, StartFirst startFirst)
    : QObject(window),
      window_(window),
      chart_(chart),
      comparison_(comparison),
      startFirst_(std::move(startFirst)),
      windowParams_(params) {
    // At the foot of the Runs menu, so every other item keeps its place.
    runsMenu->addSeparator();
    item_ = runsMenu->addAction("&Race...");
    item_->setObjectName("Race1");
    connect(item_, &QAction::triggered, this, &RaceRun::OpenDialog);
    legend_ = new QLabel(chart);
    legend_->setObjectName("RaceLegend");
    legend_->setAutoFillBackground(true);
    legend_->setMargin(4);
    legend_->move(8, 8);
    legend_->hide();
    connect(legend_, &QLabel::linkActivated, this,
            [this](const QString& lane) { ChooseLane(lane.toULongLong()); });
    status_ = new QLabel(bar);
    status_->setObjectName("RaceStatus");
    bar->addPermanentWidget(status_);
    status_->hide();
    connect(chart_->ReplayControls(), &ReplayBar::LaneChosen, this,
            [this](int lane) { ChooseLane(static_cast<std::size_t>(lane)); });
}

RaceRun::~RaceRun() {
    // Workers end by themselves once told; nothing waits for them.
    for (Lane& lane : others_) {
        if (lane.Worker) lane.Worker->Terminate();
    }
}

void RaceRun::OpenDialog() {
    delete dialog_;
    dialog_ = new QDialog(window_);
    dialog_->setObjectName("RaceDialog");
    dialog_->setWindowTitle("Race");
    auto* layout = new QVBoxLayout(dialog_);
    std::vector<QCheckBox*> boxes;
    for (std::size_t row = 0; row < kAlgorithmCount; ++row) {
        auto* box = new QCheckBox(kAlgorithms[row].Caption, dialog_);
        box->setObjectName(QString("RaceLane_") + kAlgorithms[row].Key);
        box->setChecked(!kAlgorithms[row].Reference);
        layout->addWidget(box);
        boxes.push_back(box);
    }
    const std::optional<SeedChoice> fixed = comparison_->FixedSeed();
    const bool fixedUsable = fixed && fixed->Refusal.empty();
    auto* fixedSeed = new QRadioButton(
        fixedUsable ? QString("&Fixed seed %1").arg(fixed->Seed) : QString("&Fixed seed (not set)"),
        dialog_);
    fixedSeed->setObjectName("RaceFixedSeed");
    fixedSeed->setEnabled(fixedUsable);
    const std::uint32_t fresh = ClockSeed();
    auto* newSeed = new QRadioButton(QString("&New seed %1").arg(fresh), dialog_);
    newSeed->setObjectName("RaceNewSeed");
    (fixedUsable ? fixedSeed : newSeed)->setChecked(true);
    layout->addWidget(fixedSeed);
    layout->addWidget(newSeed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog_);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    // A race needs a lane.
    const auto anyChecked = [boxes] {
        for (QCheckBox* box : boxes) {
            if (box->isChecked()) return true;
        }
        return false;
    };
    for (QCheckBox* box : boxes) {
        connect(box, &QCheckBox::toggled, ok, [ok, anyChecked] { ok->setEnabled(anyChecked()); });
    }
    connect(buttons, &QDialogButtonBox::accepted, dialog_, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::reject);
    connect(dialog_, &QDialog::accepted, this, [=] {
        std::vector<AlgorithmKind> kinds;
        for (std::size_t row = 0; row < boxes.size(); ++row) {
            if (boxes[row]->isChecked()) kinds.push_back(KindAt(row));
        }
        const std::uint32_t seed = fixedSeed->isChecked() ? fixed->Seed : fresh;
        RunCommand([&] { Start(kinds, seed); });
    });
    dialog_->open();
}

void RaceRun::Start(const std::vector<AlgorithmKind>& kinds, std::uint32_t seed) {
    if (kinds.empty() || !startFirst_(kinds.front(), seed)) return;
    params_ = windowParams_;
    seed_ = seed;
    // The window's run has just begun in the plot; the other lanes follow it there in order.
    firstNumber_ = comparison_->RunsBegun() - 1;
    lanes_.Start(kinds, params_.Maximize());
    others_.clear();
    firstSolutions_.reset();
    firstGenerations_.reset();
    chosen_ = 0;
    for (std::size_t i = 1; i < kinds.size(); ++i) {
        Lane lane;
        lane.Worker =
            OptimizationThread::Start(params_, kinds[i], OptimizationThread::Options{seed, {}});
        others_.push_back(std::move(lane));
    }
}

void RaceRun::Forget() {
    first_ = nullptr;
    chart_->SetLanePopulations({});
    chart_->SetRunColour(std::nullopt);
    lanes_.Start({}, false);
    legend_->hide();
    status_->hide();
    OfferLanes();
    // The lanes' populations are kept for their replays only.
    for (Lane& lane : others_) lane.Generations.reset();
    firstGenerations_.reset();
}

void RaceRun::Tick(const SolutionList& first, bool firstFinished) {
    if (!Running()) return;
    first_ = &first;
    const auto seen = [this] {
        std::size_t n = 0;
        for (const RaceLanes::Lane& lane : lanes_.Lanes()) n += lane.Seen;
        return n;
    };
    const std::size_t before = seen();
    lanes_.Update(0, first, firstFinished);
    for (std::size_t i = 0; i < others_.size(); ++i) {
        Lane& lane = others_[i];
        if (!lane.Worker) continue;
        // Finished is read first: a snapshot taken after it is the lane's final state.
        const bool finished = lane.Worker->IsFinished();
        const SolutionList tail = lane.Worker->SnapshotSolutionsFrom(lane.Solutions->Count());
        for (std::size_t k = 0; k < tail.Count(); ++k) lane.Solutions->Append(tail.At(k));
        lane.Population = lane.Worker->SnapshotPopulation();
        lanes_.Update(i + 1, *lane.Solutions, finished);
    }
    // The chart's markers of the paths are built again only when a path grew.
    ShowLanes(seen() != before);
}

void RaceRun::SetPaused(bool paused) {
    for (Lane& lane : others_) {
        if (!lane.Worker) continue;
        if (paused) {
            lane.Worker->Hold();
        } else {
            lane.Worker->Resume();
        }
    }
}

void RaceRun::End(std::shared_ptr<const GenerationStore> firstGenerations) {
    if (lanes_.Lanes().empty() || others_.size() + 1 != lanes_.Lanes().size()) return;
    for (std::size_t i = 0; i < others_.size(); ++i) {
        Lane& lane = others_[i];
        if (!lane.Worker) continue;
        const bool finished = lane.Worker->IsFinished();
        lane.Worker->Terminate();
        comparison_->LaneEnded(lanes_.Lanes()[i + 1].Kind, params_, seed_, *lane.Worker, !finished);
        *lane.Solutions = lane.Worker->SnapshotSolutions();
        lanes_.Update(i + 1, *lane.Solutions, true);
        lane.Generations = lane.Worker->TakeGenerations();
        lane.Worker.reset();
    }
    lanes_.Clear();
    if (first_) firstSolutions_ = std::make_shared<SolutionList>(*first_);
    firstGenerations_ = std::move(firstGenerations);
    first_ = nullptr;
    // The window shows and replays the chosen lane: the plot's cursor goes on its curve.
    comparison_->ChooseRun(firstNumber_ + chosen_);
    ShowLanes(false);
    chart_->SetKeptPaths(comparison_->ShownPaths());
    OfferLanes();
}

void RaceRun::ChooseLane(std::size_t lane) {
    if (Running() || lane >= lanes_.Lanes().size() || lane == chosen_ || !show_) return;
    const std::shared_ptr<SolutionList>& list =
        lane ? others_[lane - 1].Solutions : firstSolutions_;
    if (!list) return;
    chosen_ = lane;
    comparison_->ChooseRun(firstNumber_ + lane);
    show_(*list, lane ? others_[lane - 1].Generations : firstGenerations_);
    ShowLanes(false);
    OfferLanes();
}

std::array<std::uint8_t, 3> RaceRun::LaneColour(std::size_t lane) const {
    return RunColour(firstNumber_ + lane);
}

void RaceRun::OfferLanes() {
    QStringList names;
    // Only a race that has ended can be replayed.
    if (!Running() && lanes_.Lanes().size() > 1) {
        for (const RaceLanes::Lane& lane : lanes_.Lanes())
            names << QString::fromStdString(AlgorithmTitle(lane.Kind));
    }
    chart_->ReplayControls()->OfferLanes(names, static_cast<int>(chosen_));
}

void RaceRun::ShowLanes(bool pathsGrew) {
    QString text;
    std::vector<KeptPath> paths;
    if (pathsGrew) paths = comparison_->ShownPaths();
    std::vector<LanePopulation> populations;
    std::array<std::uint8_t, 3> firstColour{};
    for (std::size_t i = 0; i < lanes_.Lanes().size(); ++i) {
        const std::array<std::uint8_t, 3> colour = LaneColour(i);
        QString line = QString::fromStdString(lanes_.LegendLine(i)).toHtmlEscaped();
        // Once the race is over a lane can be chosen; the chosen one is in bold.
        if (!Running() && i == chosen_) line = "<b>" + line + "</b>";
        if (!Running() && i != chosen_) line = QString("<a href=\"%1\">%2</a>").arg(i).arg(line);
        text += QString("%1<span style=\"color:#%2\">&#9632;</span> %3")
                    .arg(i ? "<br>" : "")
                    .arg(colour[0] << 16 | colour[1] << 8 | colour[2], 6, 16, QChar('0'))
                    .arg(line);
        // The window's run is the first lane: its own path and population take the lane's
        // colour, so the chart draws it once.
        if (i == 0) {
            firstColour = colour;
            continue;
        }
        paths.push_back({others_[i - 1].Solutions, colour});
        populations.push_back({others_[i - 1].Population, colour});
    }
    legend_->setText(text);
    legend_->adjustSize();
    legend_->setVisible(!lanes_.Lanes().empty());
    legend_->raise();
    status_->setText(QString::fromStdString(lanes_.StatusText()));
    status_->setVisible(Running());
    if (pathsGrew) chart_->SetKeptPaths(std::move(paths));
    chart_->SetLanePopulations(Running() ? std::move(populations) : std::vector<LanePopulation>());
    chart_->SetRunColour(Running() ? std::optional(firstColour) : std::nullopt);
}

}  // namespace quarmel
