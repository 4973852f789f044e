// The Chart page's axes and display ranges: the axis lists, the range controls and sampling
// the surface between the ranges' limits. The rules are ChartAxes'; here they meet the controls.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/chartpage/ChartAxes.h"
#include "app/text/NumberText.h"
#include "ui/chart/ChartPage.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/mainwindow/WindowColours.h"

namespace quarmel {
namespace {

const QColor kWhite(255, 255, 255);
// The grey the range edits show while their axis is off.
const QColor kScrollBarGrey(200, 200, 200);

float EditValue(const QLineEdit* edit) {
    return static_cast<float>(TextToFloat(edit->text().toStdString()));
}

// Keeps a range's minimum below its maximum; the bar's own limits win at the end of the range.
void KeepOrder(QScrollBar* min, QScrollBar* max, bool moveMinimum) {
    QScrollBar* moved = moveMinimum ? min : max;
    const QSignalBlocker quiet(moved);
    moved->setValue(OrderedPosition(min->value(), max->value(), moveMinimum));
}

}  // namespace

void ChartPage::SetAxisVariables(const std::vector<std::string>& names, bool read) {
    const int rememberedY = ComboBoxAxeY->currentIndex();
    ComboBoxAxeX->clear();
    ComboBoxAxeY->clear();
    if (!read) return;
    const AxisLists lists = MakeAxisLists(names, rememberedY);
    for (const std::string& name : lists.X) ComboBoxAxeX->addItem(QString::fromStdString(name));
    for (const std::string& name : lists.Y) ComboBoxAxeY->addItem(QString::fromStdString(name));
    // Nothing is chosen after a refill (a combo box would pick its first item by itself).
    ComboBoxAxeX->setCurrentIndex(-1);
    ComboBoxAxeY->setCurrentIndex(lists.YIndex);
}

void ChartPage::SetUpAxes() {
    const int count = problem_.VariableCount();
    if (count == 0) {
        surface_ = SampleWithoutVariables(parser_);  // all ranges 0
        surfaceChanged_ = true;
        return;
    }
    const AxisChoice axes = ChooseAxes(count, ComboBoxAxeX->currentIndex(),
                                       ComboBoxAxeY->currentIndex(), ComboBoxAxeY->count());
    ComboBoxAxeX->setCurrentIndex(axes.XIndex);
    ComboBoxAxeY->setCurrentIndex(axes.YIndex);
    axisX_ = axes.XVariable;
    axisY_ = axes.YVariable;
    SetUpRangeControls(!axes.TwoAxes, axisX_, axisY_);
    if (axes.TwoAxes) {
        SampleOverXY(axisX_, axisY_);
    } else {
        SampleOverX(axisX_);
    }
}

void ChartPage::ShowDrawnAxisX() {
    if (axisX_ < ComboBoxAxeX->count()) ComboBoxAxeX->setCurrentIndex(axisX_);
}

void ChartPage::SetUpRangeControls(bool xOnly, int xVariable, int yVariable) {
    // The final positions and texts are set here; the bars' own handlers would only resample,
    // which the caller does once at the end.
    auto setUp = [this](QScrollBar* minBar, QScrollBar* maxBar, QLineEdit* minEdit,
                        QLineEdit* maxEdit, int variable) {
        const VariableSpec& v = problem_.Variable(variable);
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
            SetLightFieldColours(edit, kWhite);
            edit->setEnabled(true);
        }
    };
    setUp(ScrollBarMinX, ScrollBarMaxX, EditMinX, EditMaxX, xVariable);
    if (xOnly) {
        for (QWidget* w :
             std::initializer_list<QWidget*>{ScrollBarMinY, ScrollBarMaxY, EditMinY, EditMaxY}) {
            w->setEnabled(false);
        }
        SetLightFieldColours(EditMinY, kScrollBarGrey);
        SetLightFieldColours(EditMaxY, kScrollBarGrey);
    } else {
        setUp(ScrollBarMinY, ScrollBarMaxY, EditMinY, EditMaxY, yVariable);
    }
}

void ChartPage::Resample() {
    if (TwoAxesChosen(problem_.VariableCount(), ComboBoxAxeX->currentIndex(),
                      ComboBoxAxeY->currentIndex(), ComboBoxAxeY->count())) {
        SampleOverXY(axisX_, axisY_);
    } else {
        SampleOverX(axisX_);
    }
}

void ChartPage::SampleOverXY(int xVariable, int yVariable) {
    const int count = problem_.VariableCount();
    // Before the first reading of the page there are no variables to sample over.
    if (xVariable < 0 || xVariable >= count || yVariable < 0 || yVariable >= count) return;
    surface_.Samples.clear();
    surface_ = quarmel::SampleOverXY(parser_, problem_.Variables(), xVariable, yVariable,
                                     EditValue(EditMinX), EditValue(EditMaxX), EditValue(EditMinY),
                                     EditValue(EditMaxY));
    surfaceChanged_ = true;
}

void ChartPage::SampleOverX(int xVariable) {
    if (xVariable < 0 || xVariable >= problem_.VariableCount()) return;
    surface_.Samples.clear();
    surface_ = quarmel::SampleOverX(parser_, problem_.Variables(), xVariable, EditValue(EditMinX),
                                    EditValue(EditMaxX));
    surface_.DisplayYMin = 0;
    surface_.DisplayYMax = 0;
    surfaceChanged_ = true;
}

void ChartPage::ComboBoxAxeXChange() {
    SetUpAxes();
    emit AxesChanged();
    RedrawChart();
}

void ChartPage::ScrollBarMinXChange() {
    KeepOrder(ScrollBarMinX, ScrollBarMaxX, true);
    EditMinX->setText(QString::number(ScrollBarMinX->value()));
    Resample();
    RedrawChart();
}

void ChartPage::ScrollBarMaxXChange() {
    KeepOrder(ScrollBarMinX, ScrollBarMaxX, false);
    EditMaxX->setText(QString::number(ScrollBarMaxX->value()));
    Resample();
    RedrawChart();
}

void ChartPage::ScrollBarMinYChange() {
    KeepOrder(ScrollBarMinY, ScrollBarMaxY, true);
    EditMinY->setText(QString::number(ScrollBarMinY->value()));
    Resample();
    RedrawChart();
}

void ChartPage::ScrollBarMaxYChange() {
    KeepOrder(ScrollBarMinY, ScrollBarMaxY, false);
    EditMaxY->setText(QString::number(ScrollBarMaxY->value()));
    Resample();
    RedrawChart();
}

void ChartPage::RangeEditEnter(QLineEdit* edit, QScrollBar* bar) {
    if (!WithinBar(TextToFloat(edit->text().toStdString()), bar->minimum(), bar->maximum())) {
        CurrentDialogs().Message("Wrong data !");
        return;
    }
    Resample();
    RedrawChart();
}

void ChartPage::EditMinXKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMinX, ScrollBarMinX);
}
void ChartPage::EditMinYKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMinY, ScrollBarMinY);
}
void ChartPage::EditMaxXKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMaxX, ScrollBarMaxX);
}
void ChartPage::EditMaxYKeyPress(char key) {
    if (key == '\r') RangeEditEnter(EditMaxY, ScrollBarMaxY);
}

void ChartPage::CheckBoxWireframeClick() {
    RedrawChart();
}
void ChartPage::CheckBoxPolygonClick() {
    RedrawChart();
}
void ChartPage::CheckBoxShadingClick() {
    RedrawChart();
}
void ChartPage::CheckBoxColorsClick() {
    RedrawChart();
}

}  // namespace quarmel
