#include "ui/chart/ChartPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <utility>

#include "chart/MarkerPoints.h"
#include "ui/chart/PanelChart.h"
#include "ui/chart/ReplayBar.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/SvgImages.h"
#include "ui/mainwindow/Accessibility.h"
#include "ui/mainwindow/WindowColours.h"

namespace quarmel {
namespace {

// The grey the range edits show while their axis is off.
const QColor kScrollBarGrey(200, 200, 200);

QScrollBar* AddRangeBar(QGroupBox* group, const char* name, const QString& spokenName) {
    auto* bar = new QScrollBar(Qt::Horizontal, group);
    bar->setObjectName(name);
    bar->setRange(0, 10);
    bar->setValue(5);
    bar->setPageStep(5);
    SetHint(bar, "Set display range");
    bar->setAccessibleName(spokenName);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QLineEdit* AddRangeEdit(QGroupBox* group, const char* name, const QString& spokenName) {
    auto* edit = new QLineEdit("0", group);
    edit->setObjectName(name);
    // Light whatever the palette: the text colours come with it.
    SetLightFieldColours(edit, kScrollBarGrey);
    SetHint(edit, "Enter accurate value");
    edit->setAccessibleName(spokenName);
    return edit;
}

QLabel* AddAxisLetter(QGroupBox* group, const QString& letter, int y) {
    auto* label = new QLabel(letter, group);
    label->setGeometry(8, y, 14, 18);
    return label;
}

QCheckBox* AddCheckBox(QBoxLayout* column, const char* name, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setChecked(checked);
    column->addWidget(box);
    return box;
}

QLabel* AddButtonMark(QGridLayout* grid, const char* name, const QString& letter,
                      const QColor& colour, int row, int column) {
    auto* label = new QLabel(letter);
    label->setObjectName(name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignCenter);
    label->hide();
    grid->addWidget(label, row, column);
    return label;
}

QLabel* AddFunctionPicture(QGridLayout* grid, const char* name, const QString& picture,
                           const QString& spokenName, int column) {
    auto* image = new QLabel;
    image->setObjectName(name);
    image->setPixmap(SvgPixmap(":/cursors/" + picture, QSize(32, 32)));
    image->setAlignment(Qt::AlignCenter);
    SetHint(image, "Click left or right mouse button to use this function");
    image->setAccessibleName(spokenName);
    grid->addWidget(image, 0, column, 1, 2);
    return image;
}

}  // namespace

ChartPage::ChartPage(QWidget* parent, const AlgParameters& problem, FunctionParser& parser)
    : QWidget(parent), problem_(problem), parser_(parser) {
    setObjectName("TabSheetChart");
    setAccessibleName("Chart");
    Build();
    TimerAutoRotation = new QTimer(this);
    TimerAutoRotation->setObjectName("TimerAutoRotation");
    TimerAutoRotation->setInterval(50);
    TimerAutoRotation->start();
    Connect();
    ConnectNavigation();
    SetTabOrder();
    LoadCursors();
    // Rotate on the left button, move on the right one.
    LabelRotateLeft->show();
    LabelMoveRight->show();
    PanelChart->SetFrameSource([this] { return CurrentChartFrame(); });
}

void ChartPage::Build() {
    PanelChart = new quarmel::PanelChart(this);
    PanelChart->setAccessibleName("Chart");
    BuildOptionsColumn();
    BuildRanges();
    Replay = new ReplayBar(this);
    Replay->hide();
}

void ChartPage::BuildOptionsColumn() {
    // Right-hand column: axes, display options, mouse functions, scaling, rotation.
    PanelChartOptions = new QWidget(this);
    PanelChartOptions->setObjectName("PanelChartOptions");
    auto* column = new QVBoxLayout(PanelChartOptions);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    GroupBoxAxes = new QGroupBox("Chart axes");
    GroupBoxAxes->setObjectName("GroupBoxAxes");
    auto* axes = new QGridLayout(GroupBoxAxes);
    axes->setContentsMargins(6, 4, 6, 4);
    auto* labelX = new QLabel("X-Axis");
    ComboBoxAxeX = new QComboBox;
    ComboBoxAxeX->setObjectName("ComboBoxAxeX");
    SetHint(ComboBoxAxeX, "Set axis X");
    NameAfter(ComboBoxAxeX, "X-Axis");
    labelX->setBuddy(ComboBoxAxeX);
    auto* labelY = new QLabel("Y-Axis");
    ComboBoxAxeY = new QComboBox;
    ComboBoxAxeY->setObjectName("ComboBoxAxeY");
    SetHint(ComboBoxAxeY, "Set axis Y");
    NameAfter(ComboBoxAxeY, "Y-Axis");
    labelY->setBuddy(ComboBoxAxeY);
    axes->addWidget(labelX, 0, 0);
    axes->addWidget(ComboBoxAxeX, 0, 1);
    axes->addWidget(labelY, 1, 0);
    axes->addWidget(ComboBoxAxeY, 1, 1);
    axes->setColumnStretch(1, 1);
    column->addWidget(GroupBoxAxes);

    CheckBoxPolygon = AddCheckBox(column, "CheckBoxPolygon", "Polygons", true);
    CheckBoxFrames = AddCheckBox(column, "CheckBoxFrames", "Lines", false);
    CheckBoxWireframe = AddCheckBox(column, "CheckBoxWireframe", "Points", false);
    CheckBoxShading = AddCheckBox(column, "CheckBoxShading", "Shading", true);
    CheckBoxAxes = AddCheckBox(column, "CheckBoxAxes", "Axes", true);
    CheckBoxAxesDesc = AddCheckBox(column, "CheckBoxAxesDesc", "Axes description", false);
    CheckBoxSolution = AddCheckBox(column, "CheckBoxSolution", "Solution", true);

    GroupBoxMouse = new QGroupBox("Mouse buttons");
    GroupBoxMouse->setObjectName("GroupBoxMouse");
    auto* mouse = new QGridLayout(GroupBoxMouse);
    mouse->setContentsMargins(4, 4, 4, 2);
    mouse->setVerticalSpacing(0);
    Image_rotate = AddFunctionPicture(mouse, "Image_rotate", "ID_CUR_ROTATE", "Rotate", 0);
    Image_position = AddFunctionPicture(mouse, "Image_position", "ID_CUR_MOVE", "Move", 2);
    Image_zoom = AddFunctionPicture(mouse, "Image_zoom", "ID_CUR_SCALE", "Scale", 4);
    const QColor fuchsia(255, 0, 255);
    LabelRotateLeft = AddButtonMark(mouse, "LabelRotateLeft", "L", fuchsia, 1, 0);
    LabelRotateRight = AddButtonMark(mouse, "LabelRotateRight", "R", Qt::blue, 1, 1);
    LabelMoveLeft = AddButtonMark(mouse, "LabelMoveLeft", "L", fuchsia, 1, 2);
    LabelMoveRight = AddButtonMark(mouse, "LabelMoveRight", "R", Qt::blue, 1, 3);
    LabelScaleLeft = AddButtonMark(mouse, "LabelScaleLeft", "L", fuchsia, 1, 4);
    LabelScaleRight = AddButtonMark(mouse, "LabelScaleRight", "R", Qt::blue, 1, 5);
    mouse->setRowMinimumHeight(1, 14);
    column->addWidget(GroupBoxMouse);

    GroupBoxScale = new QGroupBox("Scaling");
    GroupBoxScale->setObjectName("GroupBoxScale");
    auto* scale = new QVBoxLayout(GroupBoxScale);
    scale->setContentsMargins(6, 2, 6, 4);
    ScrollBarScale = new QScrollBar(Qt::Horizontal);
    ScrollBarScale->setObjectName("ScrollBarScale");
    ScrollBarScale->setRange(kScaleMin, kScaleMax);
    ScrollBarScale->setValue(kScaleDefault);
    ScrollBarScale->setSingleStep(kScaleSmallChange);
    ScrollBarScale->setPageStep(kScaleLargeChange);
    ScrollBarScale->setFocusPolicy(Qt::StrongFocus);
    NameAfter(ScrollBarScale, "Scaling");
    scale->addWidget(ScrollBarScale);
    column->addWidget(GroupBoxScale);

    CheckBoxAutoRotation = AddCheckBox(column, "CheckBoxAutoRotation", "Autorotate", true);
    TrackBarAutoRotation = new QSlider(Qt::Horizontal);
    TrackBarAutoRotation->setObjectName("TrackBarAutoRotation");
    TrackBarAutoRotation->setRange(kAutoRotationMin, kAutoRotationMax);
    TrackBarAutoRotation->setValue(kAutoRotationDefault);
    TrackBarAutoRotation->setTickPosition(QSlider::TicksBelow);
    TrackBarAutoRotation->setTickInterval(1);
    TrackBarAutoRotation->setAccessibleName("Autorotate speed");
    column->addWidget(TrackBarAutoRotation);

    BitBtnReset = new QPushButton("Default");
    BitBtnReset->setObjectName("BitBtnReset");
    SetHint(BitBtnReset, "Reset chart to default position");
    column->addWidget(BitBtnReset);
    column->addStretch(1);
}

void ChartPage::BuildRanges() {
    // The display ranges along the bottom; their widths follow the page (LayoutRangeControls).
    GroupBoxRangeMin = new QGroupBox("Display range - minimum", this);
    GroupBoxRangeMin->setObjectName("GroupBoxRangeMin");
    GroupBoxRangeMax = new QGroupBox("Display range - maximum", this);
    GroupBoxRangeMax->setObjectName("GroupBoxRangeMax");
    ScrollBarMinX = AddRangeBar(GroupBoxRangeMin, "ScrollBarMinX", "Display range - minimum, X");
    ScrollBarMinY = AddRangeBar(GroupBoxRangeMin, "ScrollBarMinY", "Display range - minimum, Y");
    EditMinX = AddRangeEdit(GroupBoxRangeMin, "EditMinX", "Display range - minimum, X");
    EditMinY = AddRangeEdit(GroupBoxRangeMin, "EditMinY", "Display range - minimum, Y");
    ScrollBarMaxX = AddRangeBar(GroupBoxRangeMax, "ScrollBarMaxX", "Display range - maximum, X");
    ScrollBarMaxY = AddRangeBar(GroupBoxRangeMax, "ScrollBarMaxY", "Display range - maximum, Y");
    EditMaxX = AddRangeEdit(GroupBoxRangeMax, "EditMaxX", "Display range - maximum, X");
    EditMaxY = AddRangeEdit(GroupBoxRangeMax, "EditMaxY", "Display range - maximum, Y");
    for (QGroupBox* group : {GroupBoxRangeMin, GroupBoxRangeMax}) {
        AddAxisLetter(group, "X", 18);
        AddAxisLetter(group, "Y", 42);
    }
    const int top[] = {18, 42};
    ScrollBarMinX->move(24, top[0]);
    ScrollBarMinY->move(24, top[1]);
    ScrollBarMaxX->move(24, top[0]);
    ScrollBarMaxY->move(24, top[1]);
    EditMinX->move(0, top[0] - 2);
    EditMinY->move(0, top[1] - 2);
    EditMaxX->move(0, top[0] - 2);
    EditMaxY->move(0, top[1] - 2);
    for (QLineEdit* edit : {EditMinX, EditMinY, EditMaxX, EditMaxY}) edit->resize(38, 21);
}

void ChartPage::Connect() {
    for (QComboBox* list : {ComboBoxAxeX, ComboBoxAxeY}) {
        connect(list, &QComboBox::activated, this,
                [this] { RunCommand([this] { ComboBoxAxeXChange(); }); });
    }
    const std::pair<QScrollBar*, void (ChartPage::*)()> bars[] = {
        {ScrollBarMinX, &ChartPage::ScrollBarMinXChange},
        {ScrollBarMinY, &ChartPage::ScrollBarMinYChange},
        {ScrollBarMaxX, &ChartPage::ScrollBarMaxXChange},
        {ScrollBarMaxY, &ChartPage::ScrollBarMaxYChange},
    };
    for (const auto& [bar, handler] : bars) {
        connect(bar, &QScrollBar::valueChanged, this,
                [this, h = handler] { RunCommand([this, h] { (this->*h)(); }); });
    }
    const std::pair<QLineEdit*, void (ChartPage::*)(char)> edits[] = {
        {EditMinX, &ChartPage::EditMinXKeyPress},
        {EditMinY, &ChartPage::EditMinYKeyPress},
        {EditMaxX, &ChartPage::EditMaxXKeyPress},
        {EditMaxY, &ChartPage::EditMaxYKeyPress},
    };
    for (const auto& [edit, handler] : edits) {
        connect(edit, &QLineEdit::returnPressed, this,
                [this, h = handler] { RunCommand([this, h] { (this->*h)('\r'); }); });
    }
    const std::pair<QCheckBox*, void (ChartPage::*)()> boxes[] = {
        {CheckBoxWireframe, &ChartPage::CheckBoxWireframeClick},
        {CheckBoxPolygon, &ChartPage::CheckBoxPolygonClick},
        {CheckBoxShading, &ChartPage::CheckBoxShadingClick},
        {CheckBoxSolution, &ChartPage::CheckBoxShadingClick},
        {CheckBoxAxes, &ChartPage::CheckBoxColorsClick},
        {CheckBoxAxesDesc, &ChartPage::CheckBoxColorsClick},
        {CheckBoxFrames, &ChartPage::CheckBoxColorsClick},
    };
    for (const auto& [box, handler] : boxes) {
        connect(box, &QCheckBox::toggled, this,
                [this, h = handler] { RunCommand([this, h] { (this->*h)(); }); });
    }
}

void ChartPage::SetTabOrder() {
    // Controls are created in reading order, which gives most of the order; the range controls
    // go row by row, each bar before its edit.
    const QWidget* order[] = {ComboBoxAxeX,
                              ComboBoxAxeY,
                              CheckBoxPolygon,
                              CheckBoxFrames,
                              CheckBoxWireframe,
                              CheckBoxShading,
                              CheckBoxAxes,
                              CheckBoxAxesDesc,
                              CheckBoxSolution,
                              ScrollBarScale,
                              CheckBoxAutoRotation,
                              TrackBarAutoRotation,
                              BitBtnReset,
                              ScrollBarMinX,
                              EditMinX,
                              ScrollBarMinY,
                              EditMinY,
                              ScrollBarMaxX,
                              EditMaxX,
                              ScrollBarMaxY,
                              EditMaxY};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    }
}

bool ChartPage::Current() const {
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack && stack->currentWidget() == this;
}

void ChartPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int optionsWidth = 150;
    const int rangeHeight = 70;
    const int replayHeight = Replay->isHidden() ? 0 : Replay->sizeHint().height();
    PanelChart->setGeometry(4, 4, w - optionsWidth - 12, h - rangeHeight - 10 - replayHeight);
    Replay->setGeometry(4, h - rangeHeight - 6 - replayHeight, w - optionsWidth - 12, replayHeight);
    PanelChartOptions->setGeometry(w - optionsWidth - 4, 2, optionsWidth, h - rangeHeight - 6);
    GroupBoxRangeMin->move(8, h - rangeHeight - 2);
    GroupBoxRangeMax->move(GroupBoxRangeMax->x(), h - rangeHeight - 2);
    GroupBoxRangeMin->resize(GroupBoxRangeMin->width(), rangeHeight);
    GroupBoxRangeMax->resize(GroupBoxRangeMax->width(), rangeHeight);
    // The page is only resized while shown, so this also gives the ranges their first layout.
    LayoutRangeControls();
}

void ChartPage::ShowReplayBar(bool shown) {
    if (shown != Replay->isHidden()) return;
    Replay->setVisible(shown);
    PanelChart->setFocusPolicy(shown ? Qt::ClickFocus : Qt::NoFocus);
    QResizeEvent again(size(), size());
    resizeEvent(&again);
}

void ChartPage::LayoutRangeControls() {
    const int w = (width() - GroupBoxRangeMin->x() - 8) / 2;
    GroupBoxRangeMin->resize(w, GroupBoxRangeMin->height());
    GroupBoxRangeMax->setGeometry(GroupBoxRangeMin->x() + w - 2, GroupBoxRangeMin->y(), w,
                                  GroupBoxRangeMin->height());
    for (QLineEdit* edit : {EditMinX, EditMinY, EditMaxX, EditMaxY}) edit->move(w - 42, edit->y());
    const int barWidth = std::max(10, w - 42 - 4 - ScrollBarMinX->x());
    ScrollBarMinX->resize(barWidth, 17);
    ScrollBarMinY->resize(barWidth, 17);
    ScrollBarMaxX->setGeometry(ScrollBarMinX->x(), ScrollBarMaxX->y(), barWidth, 17);
    ScrollBarMaxY->setGeometry(ScrollBarMinX->x(), ScrollBarMaxY->y(), barWidth, 17);
}

void ChartPage::ApplyPaletteColours(const QColor& page) {
    for (QLabel* label : {LabelRotateRight, LabelMoveRight, LabelScaleRight}) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, ReadableOn(Qt::blue, page));
        label->setPalette(blue);
    }
}

ChartFrame ChartPage::CurrentChartFrame() const {
    ChartFrame frame;
    frame.WaveMode = waveMode_;
    frame.Distance = static_cast<float>(ScrollBarScale->value());
    frame.TiltAngle = navigation_.TiltAngle;
    frame.TurnAngle = navigation_.TurnAngle;
    frame.ShiftX = static_cast<float>(navigation_.ShiftX);
    frame.ShiftY = static_cast<float>(navigation_.ShiftY);
    frame.ShowPoints = CheckBoxWireframe->isChecked();
    frame.ShowPolygons = CheckBoxPolygon->isChecked();
    frame.SmoothShading = CheckBoxShading->isChecked();
    frame.ShowSolution = CheckBoxSolution->isChecked();
    frame.ShowAxes = CheckBoxAxes->isChecked();
    frame.ShowAxesDescription = CheckBoxAxesDesc->isChecked();
    frame.ShowLines = CheckBoxFrames->isChecked();
    frame.SpiralMode = spiralMode_;
    return frame;
}

void ChartPage::RedrawChart() {
    if (!chartReady_) return;
    PanelChart->SetChartReady(true);
    PanelChart->RedrawChart();
}

void ChartPage::RedrawIfChanged() {
    if (!chartReady_) return;
    PanelChart->SetChartReady(true);
    PanelChart->RedrawIfChanged();
}

MarkerAxes ChartPage::Axes() const {
    return {axisX_,
            axisY_,
            surface_.DisplayXMin,
            surface_.DisplayXMax,
            surface_.DisplayYMin,
            surface_.DisplayYMax};
}

void ChartPage::GiveSurface() {
    PanelChart->Chart().SetSurface(surface_.DisplayXMin, surface_.DisplayXMax, surface_.DisplayYMin,
                                   surface_.DisplayYMax, surface_.HeightMin, surface_.HeightMax,
                                   surface_.Samples);
}

void ChartPage::NoteChange(ListChange change) {
    markerFeed_.Note(change);
    if (change != ListChange::None) listChanged_ = true;
}

void ChartPage::Tick(const SolutionList& solutions, const SolutionList& population, int periodMs) {
    const bool shown = Current();
    const bool fedBefore = std::exchange(fedLastTick_, shown);
    if (!shown) return;
    const MarkerAxes axes = Axes();
    ChartModel& chart = PanelChart->Chart();
    // The panel is given only what changed, so an idle page neither rebuilds nor redraws.
    if (PanelChart->TakeGridRebuilt()) surfaceChanged_ = true;
    bool changed = !fedBefore || surfaceChanged_ || listChanged_;
    if (!fedBefore || surfaceChanged_) GiveSurface();
    surfaceChanged_ = false;
    listChanged_ = false;
    if (!fedBefore) markerFeed_.Rebuild();
    markerFeed_.Update(solutions, axes, chart);
    changed = GiveOptimum(axes) || changed;
    changed = GiveKeptPaths(axes) || changed;
    changed = GiveLanePopulations(axes) || changed;
    std::vector<float> populationMarkers = PopulationMarkers(population, axes);
    // Compared by bytes: a marker of an undefined value is not equal to itself.
    const std::vector<float>& shownPopulation = chart.PopulationPoints();
    if (populationMarkers.size() != shownPopulation.size() ||
        !std::equal(populationMarkers.begin(), populationMarkers.end(), shownPopulation.begin(),
                    [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; })) {
        chart.SetPopulationPoints(std::move(populationMarkers));
        changed = true;
    }
    if (changed) PanelChart->NoteDataChanged();
    chartReady_ = true;
    PanelChart->SetChartReady(true);
    PanelChart->RedrawOnTick(periodMs);
}

}  // namespace quarmel
