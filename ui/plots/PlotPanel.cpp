#include "ui/plots/PlotPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/plots/ConvergencePlot.h"

namespace quarmel {

namespace {

// The x axis's choices, in the order of the list.
const std::pair<const char*, PlotX> kXChoices[] = {{"Evaluations (log)", PlotX::LogEvaluations},
                                                   {"Evaluations", PlotX::Evaluations},
                                                   {"Step / generation", PlotX::Steps}};

QComboBox* Choices(QWidget* parent, const char* name, const char* spoken,
                   std::initializer_list<const char*> items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    for (const char* item : items) box->addItem(item);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

PlotPanel::PlotPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PlotPanel");
    plot_ = new ConvergencePlot(this);
    ListPlotRuns = new QListWidget(this);
    ListPlotRuns->setObjectName("ListPlotRuns");
    ListPlotRuns->setAccessibleName("Plotted runs");
    ListPlotRuns->setToolTip("Uncheck a run to hide it");
    // Long labels wrap rather than hide their end.
    ListPlotRuns->setWordWrap(true);
    ListPlotRuns->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListPlotRuns->setMinimumWidth(120);
    ListPlotRuns->setMaximumWidth(200);
    ComboBoxPlotX = Choices(this, "ComboBoxPlotX", "X axis",
                            {kXChoices[0].first, kXChoices[1].first, kXChoices[2].first});
    ComboBoxPlotY = Choices(this, "ComboBoxPlotY", "Y axis", {"Value", "Distance to best known"});
    CheckBoxLogScale = new QCheckBox("&Log scale", this);
    CheckBoxLogScale->setObjectName("CheckBoxLogScale");
    ButtonResetZoom = new QPushButton("Reset &zoom", this);
    ButtonResetZoom->setObjectName("ButtonResetZoom");

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(plot_, 1);
    top->addWidget(ListPlotRuns);
    column->addLayout(top, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(Caption("X a&xis:", ComboBoxPlotX, this));
    row->addWidget(ComboBoxPlotX);
    row->addWidget(Caption("Y axi&s:", ComboBoxPlotY, this));
    row->addWidget(ComboBoxPlotY);
    row->addWidget(CheckBoxLogScale);
    row->addStretch(1);
    row->addWidget(ButtonResetZoom);
    column->addLayout(row);
    // Off at start: the chart shows the current run's path alone until asked for more.
    CheckBoxShowPaths = new QCheckBox("Show &paths on chart", this);
    CheckBoxShowPaths->setObjectName("CheckBoxShowPaths");
    CheckBoxShowPaths->setToolTip("Draw the checked runs' paths on the chart, each in its colour");
    column->addWidget(CheckBoxShowPaths);

    connect(ComboBoxPlotX, &QComboBox::currentIndexChanged, this, &PlotPanel::ApplyAxes);
    connect(ComboBoxPlotY, &QComboBox::currentIndexChanged, this, &PlotPanel::ApplyAxes);
    connect(CheckBoxLogScale, &QCheckBox::toggled, this, &PlotPanel::ApplyAxes);
    connect(ButtonResetZoom, &QPushButton::clicked, plot_, &ConvergencePlot::ResetZoom);
    connect(CheckBoxShowPaths, &QCheckBox::toggled, this, &PlotPanel::ShowPathsToggled);
    connect(plot_, &ConvergencePlot::RunsChanged, this, &PlotPanel::FillLegend);
    connect(ListPlotRuns, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        plot_->SetRunHidden(static_cast<std::size_t>(ListPlotRuns->row(item)),
                            item->checkState() != Qt::Checked);
    });
}

bool PlotPanel::ShowPathsOnChart() const {
    return CheckBoxShowPaths->isChecked();
}

void PlotPanel::ApplyAxes() {
    plot_->SetXAxis(kXChoices[std::max(0, ComboBoxPlotX->currentIndex())].second);
    plot_->SetDistance(ComboBoxPlotY->currentIndex() == 1);
    plot_->SetLogScale(CheckBoxLogScale->isChecked());
}

void PlotPanel::FillLegend() {
    const QSignalBlocker quiet(ListPlotRuns);
    const auto& runs = plot_->Runs();
    while (ListPlotRuns->count() > static_cast<int>(runs.size())) {
        delete ListPlotRuns->takeItem(ListPlotRuns->count() - 1);
    }
    while (ListPlotRuns->count() < static_cast<int>(runs.size())) {
        ListPlotRuns->addItem(new QListWidgetItem);
    }
    const int side = fontMetrics().height() - 4;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const PlottedRun& run = runs[i];
        QListWidgetItem* item = ListPlotRuns->item(static_cast<int>(i));
        const QString text = QString::fromStdString(plot_->LegendText(run));
        item->setText(text);
        item->setToolTip(text);
        QPixmap swatch(side, side);
        swatch.fill(run.Colour);
        item->setIcon(QIcon(swatch));
        // The current run, whose curve is drawn over the others, in bold.
        QFont font = item->font();
        font.setBold(&run == plot_->CurrentRun() && runs.size() > 1);
        item->setFont(font);
        // A run of another problem is not drawn, whatever its check.
        const bool other = plot_->OtherProblem(run);
        item->setFlags(other ? Qt::ItemIsEnabled
                             : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setData(Qt::CheckStateRole,
                      other ? QVariant() : QVariant(run.Hidden ? Qt::Unchecked : Qt::Checked));
    }
    if (!runs.empty()) ListPlotRuns->scrollToBottom();
}

}  // namespace quarmel
