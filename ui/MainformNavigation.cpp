// The chart's view: the three mouse-function pictures, drags on the chart panel, the distance
// scroll bar, auto-rotation and "Default". The rules live in ViewNavigation; this file only
// connects them to the controls.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include "ui/Mainform.h"
#include "ui/PanelChart.h"

namespace quarmel {

namespace {

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        case Qt::RightButton:
            return MouseButton::Right;
        default:
            return std::nullopt;
    }
}

}  // namespace

void TFormMain::ConnectNavigation() {
    connect(PanelChart, &PanelChart::MouseDown, this, [this](Qt::MouseButton b, int x, int y) {
        if (auto button = ButtonOf(b)) PanelChartMouseDown(*button, x, y);
    });
    connect(PanelChart, &PanelChart::MouseUp, this, [this](Qt::MouseButton b) {
        if (auto button = ButtonOf(b)) PanelChartMouseUp(*button);
    });
    connect(PanelChart, &PanelChart::MouseMove, this,
            [this](int x, int y) { PanelChartMouseMove(x, y); });
    connect(ScrollBarScale, &QScrollBar::valueChanged, this,
            [this] { RunCommand(&TFormMain::ScrollBarScaleChange); });
    connect(TimerAutoRotation, &QTimer::timeout, this,
            [this] { RunCommand(&TFormMain::TimerAutoRotationTimer); });
    connect(BitBtnReset, &QPushButton::clicked, this,
            [this] { RunCommand(&TFormMain::BitBtnResetClick); });
    for (QLabel* picture : {Image_rotate, Image_position, Image_zoom}) {
        picture->installEventFilter(this);
    }
}

bool TFormMain::PictureMouseDown(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    const auto button = ButtonOf(static_cast<QMouseEvent*>(event)->button());
    if (!button) return false;
    if (watched == Image_rotate) {
        Image_rotateMouseDown(*button);
    } else if (watched == Image_position) {
        Image_positionMouseDown(*button);
    } else if (watched == Image_zoom) {
        Image_zoomMouseDown(*button);
    } else {
        return false;
    }
    return true;
}

void TFormMain::Image_rotateMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Rotate);
}
void TFormMain::Image_positionMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Move);
}
void TFormMain::Image_zoomMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Scale);
}

void TFormMain::ChooseMouseFunction(MouseButton button, MouseFunction function) {
    Navigation.ChooseFunction(button, function);
    ShowMouseFunctionLabels();
}

void TFormMain::ShowMouseFunctionLabels() {
    LabelRotateLeft->setVisible(Navigation.LeftButtonFunction == Rotate);
    LabelMoveLeft->setVisible(Navigation.LeftButtonFunction == Move);
    LabelScaleLeft->setVisible(Navigation.LeftButtonFunction == Scale);
    LabelRotateRight->setVisible(Navigation.RightButtonFunction == Rotate);
    LabelMoveRight->setVisible(Navigation.RightButtonFunction == Move);
    LabelScaleRight->setVisible(Navigation.RightButtonFunction == Scale);
}

void TFormMain::SetPanelCursor(int number) {
    const auto found = Cursors.find(number);
    if (found == Cursors.end()) {
        PanelChart->unsetCursor();
    } else {
        PanelChart->setCursor(found->second);
    }
}

void TFormMain::PanelChartMouseDown(MouseButton button, int x, int y) {
    SetPanelCursor(Navigation.MouseDown(button, x, y));
}

void TFormMain::PanelChartMouseUp(MouseButton button) {
    SetPanelCursor(Navigation.MouseUp(button));
}

void TFormMain::PanelChartMouseMove(int x, int y) {
    // The scroll bar keeps its own limits and redraws when its position changes.
    if (auto distance = Navigation.MouseMove(x, y, ChartReady, ScrollBarScale->value()))
        ScrollBarScale->setValue(*distance);
}

void TFormMain::ScrollBarScaleChange() {
    RedrawChart();
}

void TFormMain::TimerAutoRotationTimer() {
    if (PageControlMain->currentWidget() == TabSheetChart && CheckBoxAutoRotation->isChecked() &&
        ChartReady)
        Navigation.AutoRotate(TrackBarAutoRotation->value());
}

void TFormMain::BitBtnResetClick() {
    UsesSpiral = false;
    Navigation.ResetView();
    CheckBoxPolygon->setChecked(true);
    CheckBoxFrames->setChecked(false);
    CheckBoxWireframe->setChecked(false);
    ScrollBarScale->setValue(kScaleDefault);
    Navigation.ResetButtonFunctions();
    ShowMouseFunctionLabels();
    RedrawChart();
}

}  // namespace quarmel
