// The Chart page: the chart panel, the display options, the axis choice and the display ranges.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

#include "app/ChartAxes.h"
#include "app/NumberText.h"
#include "chart/Sampling.h"
#include "ui/Accessibility.h"
#include "ui/Mainform.h"
#include "ui/PanelChart.h"
#include "ui/SvgImages.h"
#include "ui/WindowColours.h"

namespace quarmel {
namespace {

const QColor kWhite(255, 255, 255);
// The grey the range edits show while their axis is off.
const QColor kScrollBarGrey(200, 200, 200);

void SetBackground(QLineEdit* edit, const QColor& colour) {
    // Light whatever the palette: the text colours come with it.
    SetLightFieldColours(edit, colour);
}

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
    SetBackground(edit, kScrollBarGrey);
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

void TFormMain::BuildChartPage() {
    TabSheetChart = new QWidget;
    TabSheetChart->setObjectName("TabSheetChart");
    TabSheetChart->setAccessibleName("Chart");
    PageControlMain->addTab(TabSheetChart, "Chart");
    QWidget* page = TabSheetChart;

    PanelChart = new quarmel::PanelChart(page);
    PanelChart->setAccessibleName("Chart");

    // Right-hand column: axes, display options, mouse functions, scaling, rotation.
    PanelChartOptions = new QWidget(page);
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

    // The display ranges along the bottom; their widths follow the page (LayoutRangeControls).
    GroupBoxRangeMin = new QGroupBox("Display range - minimum", page);
    GroupBoxRangeMin->setObjectName("GroupBoxRangeMin");
    GroupBoxRangeMax = new QGroupBox("Display range - maximum", page);
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

    TabSheetChart->installEventFilter(this);
}

void TFormMain::ConnectChartPage() {
    connect(ComboBoxAxeX, &QComboBox::activated, this,
            [this] { RunCommand(&TFormMain::ComboBoxAxeXChange); });
    connect(ComboBoxAxeY, &QComboBox::activated, this,
            [this] { RunCommand(&TFormMain::ComboBoxAxeXChange); });
    ConnectCommands<QScrollBar>(
        {
            {ScrollBarMinX, &TFormMain::ScrollBarMinXChange},
            {ScrollBarMinY, &TFormMain::ScrollBarMinYChange},
            {ScrollBarMaxX, &TFormMain::ScrollBarMaxXChange},
            {ScrollBarMaxY, &TFormMain::ScrollBarMaxYChange},
        },
        &QScrollBar::valueChanged);
    const std::pair<QLineEdit*, void (TFormMain::*)(char)> edits[] = {
        {EditMinX, &TFormMain::EditMinXKeyPress},
        {EditMinY, &TFormMain::EditMinYKeyPress},
        {EditMaxX, &TFormMain::EditMaxXKeyPress},
        {EditMaxY, &TFormMain::EditMaxYKeyPress},
    };
    for (const auto& [edit, handler] : edits) {
        connect(edit, &QLineEdit::returnPressed, this,
                [this, h = handler] { RunCommand([this, h] { (this->*h)('\r'); }); });
    }
    ConnectCommands<QCheckBox>(
        {
            {CheckBoxWireframe, &TFormMain::CheckBoxWireframeClick},
            {CheckBoxPolygon, &TFormMain::CheckBoxPolygonClick},
            {CheckBoxShading, &TFormMain::CheckBoxShadingClick},
            {CheckBoxSolution, &TFormMain::CheckBoxShadingClick},
            {CheckBoxAxes, &TFormMain::CheckBoxColorsClick},
            {CheckBoxAxesDesc, &TFormMain::CheckBoxColorsClick},
            {CheckBoxFrames, &TFormMain::CheckBoxColorsClick},
        },
        &QCheckBox::toggled);
}

void TFormMain::AnchorChartPage() {
    const int w = TabSheetChart->width();
    const int h = TabSheetChart->height();
    const int optionsWidth = 150;
    const int rangeHeight = 70;
    PanelChart->setGeometry(4, 4, w - optionsWidth - 12, h - rangeHeight - 10);
    PanelChartOptions->setGeometry(w - optionsWidth - 4, 2, optionsWidth, h - rangeHeight - 6);
    GroupBoxRangeMin->move(8, h - rangeHeight - 2);
    GroupBoxRangeMax->move(GroupBoxRangeMax->x(), h - rangeHeight - 2);
    GroupBoxRangeMin->resize(GroupBoxRangeMin->width(), rangeHeight);
    GroupBoxRangeMax->resize(GroupBoxRangeMax->width(), rangeHeight);
    // The page is only resized while shown, so this also gives the ranges their first layout.
    LayoutRangeControls();
}

void TFormMain::LayoutRangeControls() {
    const int w = (TabSheetChart->width() - GroupBoxRangeMin->x() - 8) / 2;
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

void TFormMain::SetUpAxes() {
    const int count = Parameters.VariableCount();
    if (count == 0) {
        SurfaceSampling s = SampleWithoutVariables(FormParser);
        SurfaceSamples = std::move(s.Samples);
        DisplayXMin = DisplayXMax = DisplayYMin = DisplayYMax = 0;
        HeightMin = HeightMax = 0;
        return;
    }
    const AxisChoice axes = ChooseAxes(count, ComboBoxAxeX->currentIndex(),
                                       ComboBoxAxeY->currentIndex(), ComboBoxAxeY->count());
    ComboBoxAxeX->setCurrentIndex(axes.XIndex);
    ComboBoxAxeY->setCurrentIndex(axes.YIndex);
    AxisXVariable = axes.XVariable;
    AxisYVariable = axes.YVariable;
    SetUpRangeControls(!axes.TwoAxes, AxisXVariable, AxisYVariable);
    if (axes.TwoAxes) {
        SampleOverXY(AxisXVariable, AxisYVariable);
    } else {
        SampleOverX(AxisXVariable);
    }
}

void TFormMain::SetUpRangeControls(bool xOnly, int xVariable, int yVariable) {
    // The final positions and texts are set here; the bars' own handlers would only resample,
    // which the caller does once at the end.
    auto setUp = [this](QScrollBar* minBar, QScrollBar* maxBar, QLineEdit* minEdit,
                        QLineEdit* maxEdit, int variable) {
        const VariableSpec& v = Parameters.Variable(variable);
        const BarRange range = RangeBarLimits(v);
        for (QScrollBar* bar : {minBar, maxBar}) {
            const QSignalBlocker quiet(bar);
            bar->setRange(range.Low, range.High);
            bar->setValue(bar == minBar ? range.Low : range.High);
            bar->setEnabled(true);
        }
        minEdit->setText(QString::fromStdString(LimitText(v.Min)));
        maxEdit->setText(QString::fromStdString(LimitText(v.Max)));
        for (QLineEdit* edit : {minEdit, maxEdit}) {
            SetBackground(edit, kWhite);
            edit->setEnabled(true);
        }
    };
    setUp(ScrollBarMinX, ScrollBarMaxX, EditMinX, EditMaxX, xVariable);
    if (xOnly) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{ScrollBarMinY, ScrollBarMaxY, EditMinY, EditMaxY}) {
            w->setEnabled(false);
        }
        SetBackground(EditMinY, kScrollBarGrey);
        SetBackground(EditMaxY, kScrollBarGrey);
    } else {
        setUp(ScrollBarMinY, ScrollBarMaxY, EditMinY, EditMaxY, yVariable);
    }
}

bool TFormMain::TwoAxesChosen() const {
    return Parameters.VariableCount() > 1 && ComboBoxAxeY->currentIndex() != 0;
}

void TFormMain::Resample() {
    if (TwoAxesChosen()) {
        SampleOverXY(AxisXVariable, AxisYVariable);
    } else {
        SampleOverX(AxisXVariable);
    }
}

void TFormMain::SampleOverXY(int xVariable, int yVariable) {
    const int count = Parameters.VariableCount();
    // Before the first reading of the page there are no variables to sample over.
    if (xVariable < 0 || xVariable >= count || yVariable < 0 || yVariable >= count) return;
    SurfaceSamples.clear();
    const auto read = [](const QLineEdit* edit) {
        return static_cast<float>(TextToFloat(edit->text().toStdString()));
    };
    const float xMin = read(EditMinX), xMax = read(EditMaxX);
    const float yMin = read(EditMinY), yMax = read(EditMaxY);
    SurfaceSampling s = quarmel::SampleOverXY(FormParser, Parameters.Variables(), xVariable,
                                              yVariable, xMin, xMax, yMin, yMax);
    SurfaceSamples = std::move(s.Samples);
    DisplayXMin = s.DisplayXMin;
    DisplayXMax = s.DisplayXMax;
    DisplayYMin = s.DisplayYMin;
    DisplayYMax = s.DisplayYMax;
    HeightMin = s.HeightMin;
    HeightMax = s.HeightMax;
}

void TFormMain::SampleOverX(int xVariable) {
    if (xVariable < 0 || xVariable >= Parameters.VariableCount()) return;
    SurfaceSamples.clear();
    const float xMin = static_cast<float>(TextToFloat(EditMinX->text().toStdString()));
    const float xMax = static_cast<float>(TextToFloat(EditMaxX->text().toStdString()));
    SurfaceSampling s =
        quarmel::SampleOverX(FormParser, Parameters.Variables(), xVariable, xMin, xMax);
    SurfaceSamples = std::move(s.Samples);
    DisplayXMin = s.DisplayXMin;
    DisplayXMax = s.DisplayXMax;
    DisplayYMin = 0;
    DisplayYMax = 0;
    HeightMin = s.HeightMin;
    HeightMax = s.HeightMax;
}

void TFormMain::ComboBoxAxeXChange() {
    SetUpAxes();
    TimerChartTimer();
    RedrawChart();
}

namespace {

// Keeps a range's minimum below its maximum; the bar's own limits win at the end of the range.
void KeepOrder(QScrollBar* min, QScrollBar* max, bool moveMinimum) {
    QScrollBar* moved = moveMinimum ? min : max;
    const QSignalBlocker quiet(moved);
    moved->setValue(OrderedPosition(min->value(), max->value(), moveMinimum));
}

}  // namespace

void TFormMain::ScrollBarMinXChange() {
    KeepOrder(ScrollBarMinX, ScrollBarMaxX, true);
    EditMinX->setText(QString::number(ScrollBarMinX->value()));
    Resample();
    RedrawChart();
}

void TFormMain::ScrollBarMaxXChange() {
    KeepOrder(ScrollBarMinX, ScrollBarMaxX, false);
    EditMaxX->setText(QString::number(ScrollBarMaxX->value()));
    Resample();
    RedrawChart();
}

void TFormMain::ScrollBarMinYChange() {
    KeepOrder(ScrollBarMinY, ScrollBarMaxY, true);
    EditMinY->setText(QString::number(ScrollBarMinY->value()));
    Resample();
    RedrawChart();
}

void TFormMain::ScrollBarMaxYChange() {
    KeepOrder(ScrollBarMinY, ScrollBarMaxY, false);
    EditMaxY->setText(QString::number(ScrollBarMaxY->value()));
    Resample();
    RedrawChart();
}

void TFormMain::RangeEditEnter(QLineEdit* edit, QScrollBar* bar) {
    const double value = TextToFloat(edit->text().toStdString());
    if (value < bar->minimum() || value > bar->maximum()) {
        CurrentDialogs().Message("Wrong data !");
        return;
    }
    Resample();
    RedrawChart();
}

void TFormMain::EditMinXKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMinX, ScrollBarMinX);
}
void TFormMain::EditMinYKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMinY, ScrollBarMinY);
}
void TFormMain::EditMaxXKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMaxX, ScrollBarMaxX);
}
void TFormMain::EditMaxYKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMaxY, ScrollBarMaxY);
}

void TFormMain::CheckBoxWireframeClick() {
    RedrawChart();
}
void TFormMain::CheckBoxPolygonClick() {
    RedrawChart();
}
void TFormMain::CheckBoxShadingClick() {
    RedrawChart();
}
void TFormMain::CheckBoxColorsClick() {
    RedrawChart();
}

}  // namespace quarmel
