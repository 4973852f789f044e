// The Chart page's view: the three mouse-function pictures, drags on the chart panel, the
// distance scroll bar, auto-rotation and "Default". The rules live in ViewNavigation; this file
// only connects them to the controls.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

#include <optional>

#include "ui/chart/ChartPage.h"
#include "ui/chart/PanelChart.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/SvgImages.h"

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

void ChartPage::ConnectNavigation() {
    connect(PanelChart, &PanelChart::MouseDown, this, [this](Qt::MouseButton b, int x, int y) {
        if (auto button = ButtonOf(b)) PanelChartMouseDown(*button, x, y);
    });
    connect(PanelChart, &PanelChart::MouseUp, this, [this](Qt::MouseButton b) {
        if (auto button = ButtonOf(b)) PanelChartMouseUp(*button);
    });
    connect(PanelChart, &PanelChart::MouseMove, this,
            [this](int x, int y) { PanelChartMouseMove(x, y); });
    connect(PanelChart, &PanelChart::DoubleClicked, this,
            [this](int x, int y) { RunCommand([this, x, y] { PickStart(x, y); }); });
    connect(ScrollBarScale, &QScrollBar::valueChanged, this,
            [this] { RunCommand([this] { ScrollBarScaleChange(); }); });
    connect(TimerAutoRotation, &QTimer::timeout, this,
            [this] { RunCommand([this] { TimerAutoRotationTimer(); }); });
    connect(BitBtnReset, &QPushButton::clicked, this,
            [this] { RunCommand([this] { BitBtnResetClick(); }); });
    for (QLabel* picture : {Image_rotate, Image_position, Image_zoom}) {
        picture->installEventFilter(this);
    }
}

void ChartPage::LoadCursors() {
    const std::pair<int, const char*> cursors[] = {{kCursorRotate, "ID_CUR_ROTATE"},
                                                   {kCursorMove, "ID_CUR_MOVE"},
                                                   {kCursorScale, "ID_CUR_SCALE"}};
    for (const auto& [number, name] : cursors) {
        const QPixmap picture = SvgPixmap(QString(":/cursors/") + name, QSize(32, 32));
        cursors_[number] = QCursor(picture, 16, 16);
    }
}

QCursor ChartPage::PanelCursor(int number) const {
    const auto found = cursors_.find(number);
    return found == cursors_.end() ? QCursor() : found->second;
}

bool ChartPage::eventFilter(QObject* watched, QEvent* event) {
    if (PictureMouseDown(watched, event)) return true;
    return QWidget::eventFilter(watched, event);
}

bool ChartPage::PictureMouseDown(QObject* watched, QEvent* event) {
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

void ChartPage::Image_rotateMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Rotate);
}
void ChartPage::Image_positionMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Move);
}
void ChartPage::Image_zoomMouseDown(MouseButton button) {
    ChooseMouseFunction(button, Scale);
}

void ChartPage::ChooseMouseFunction(MouseButton button, MouseFunction function) {
    navigation_.ChooseFunction(button, function);
    ShowMouseFunctionLabels();
}

void ChartPage::ShowMouseFunctionLabels() {
    LabelRotateLeft->setVisible(navigation_.LeftButtonFunction == Rotate);
    LabelMoveLeft->setVisible(navigation_.LeftButtonFunction == Move);
    LabelScaleLeft->setVisible(navigation_.LeftButtonFunction == Scale);
    LabelRotateRight->setVisible(navigation_.RightButtonFunction == Rotate);
    LabelMoveRight->setVisible(navigation_.RightButtonFunction == Move);
    LabelScaleRight->setVisible(navigation_.RightButtonFunction == Scale);
}

void ChartPage::SetPanelCursor(int number) {
    const auto found = cursors_.find(number);
    if (found == cursors_.end()) {
        PanelChart->unsetCursor();
    } else {
        PanelChart->setCursor(found->second);
    }
}

void ChartPage::PanelChartMouseDown(MouseButton button, int x, int y) {
    SetPanelCursor(navigation_.MouseDown(button, x, y));
}

void ChartPage::PanelChartMouseUp(MouseButton button) {
    SetPanelCursor(navigation_.MouseUp(button));
}

void ChartPage::PanelChartMouseMove(int x, int y) {
    // The scroll bar keeps its own limits and redraws when its position changes.
    if (auto distance = navigation_.MouseMove(x, y, chartReady_, ScrollBarScale->value()))
        ScrollBarScale->setValue(*distance);
}

void ChartPage::ScrollBarScaleChange() {
    RedrawChart();
}

void ChartPage::TimerAutoRotationTimer() {
    if (Current() && CheckBoxAutoRotation->isChecked() && chartReady_)
        navigation_.AutoRotate(TrackBarAutoRotation->value());
}

void ChartPage::ResetView(bool newFunction) {
    if (newFunction) {
        navigation_.ResetViewForNewFunction();
    } else {
        navigation_.ResetView();
    }
}

void ChartPage::BitBtnResetClick() {
    spiralMode_ = false;
    navigation_.ResetView();
    CheckBoxPolygon->setChecked(true);
    CheckBoxFrames->setChecked(false);
    CheckBoxWireframe->setChecked(false);
    ScrollBarScale->setValue(kScaleDefault);
    navigation_.ResetButtonFunctions();
    ShowMouseFunctionLabels();
    RedrawChart();
}

}  // namespace quarmel
