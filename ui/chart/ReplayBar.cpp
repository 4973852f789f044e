#include "ui/chart/ReplayBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "app/runs/ReplayState.h"
#include "ui/mainwindow/Accessibility.h"

namespace quarmel {
namespace {

const struct {
    Qt::Key Key;
    ReplayCommand Command;
} kReplayKeys[] = {
    {Qt::Key_Left, ReplayCommand::Previous},   {Qt::Key_Right, ReplayCommand::Next},
    {Qt::Key_Home, ReplayCommand::First},      {Qt::Key_End, ReplayCommand::Last},
    {Qt::Key_Space, ReplayCommand::PlayPause},
};

QToolButton* AddButton(QHBoxLayout* row, const char* name, const QString& caption,
                       const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(caption);
    button->setAccessibleName(hint);
    SetHint(button, hint);
    row->addWidget(button);
    return button;
}

}  // namespace

ReplayBar::ReplayBar(QWidget* parent) : QWidget(parent) {
    setObjectName("ReplayBar");
    setAccessibleName("Replay");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    ComboBoxReplayLane = new QComboBox;
    ComboBoxReplayLane->setObjectName("ComboBoxReplayLane");
    ComboBoxReplayLane->setAccessibleName("Lane replayed");
    SetHint(ComboBoxReplayLane, "The race's lane replayed (also chosen in the chart's legend)");
    ComboBoxReplayLane->hide();
    row->addWidget(ComboBoxReplayLane);
    ButtonReplayBack = AddButton(row, "ButtonReplayBack", "<", "Step back (Left)");
    ButtonReplayPlay =
        AddButton(row, "ButtonReplayPlay", "Play", "Play or pause the replay (Space)");
    ButtonReplayForward = AddButton(row, "ButtonReplayForward", ">", "Step forward (Right)");
    SliderReplay = new QSlider(Qt::Horizontal);
    SliderReplay->setObjectName("SliderReplay");
    SliderReplay->setAccessibleName("Replay step");
    row->addWidget(SliderReplay, 1);
    LabelReplayStep = new QLabel;
    LabelReplayStep->setObjectName("LabelReplayStep");
    row->addWidget(LabelReplayStep);

    const std::pair<QToolButton*, ReplayCommand> buttons[] = {
        {ButtonReplayBack, ReplayCommand::Previous},
        {ButtonReplayPlay, ReplayCommand::PlayPause},
        {ButtonReplayForward, ReplayCommand::Next},
    };
    for (const auto& [button, command] : buttons) {
        connect(button, &QToolButton::clicked, this, [this, c = command] { emit Command(c); });
    }
    connect(ComboBoxReplayLane, &QComboBox::activated, this, &ReplayBar::LaneChosen);
    connect(SliderReplay, &QSlider::valueChanged, this,
            [this](int value) { emit StepChosen(static_cast<std::size_t>(value)); });
    QWidget* const controls[] = {ButtonReplayBack, ButtonReplayPlay, ButtonReplayForward,
                                 SliderReplay};
    for (QWidget* w : controls) TakeKeysFrom(w);
}

void ReplayBar::Show(const ReplayState& state, const QString& hint) {
    const QSignalBlocker quiet(SliderReplay);
    SliderReplay->setRange(0, static_cast<int>(state.Last()));
    SliderReplay->setValue(static_cast<int>(state.Step()));
    SliderReplay->setPageStep(std::max(1, static_cast<int>(state.Last() / 20)));
    ButtonReplayPlay->setText(state.Playing() ? "Pause" : "Play");
    LabelReplayStep->setText(QString::fromStdString(ReplayStepText(state)));
    setToolTip(hint);
}

void ReplayBar::OfferLanes(const QStringList& lanes, int chosen) {
    const QSignalBlocker quiet(ComboBoxReplayLane);
    ComboBoxReplayLane->clear();
    ComboBoxReplayLane->addItems(lanes);
    ComboBoxReplayLane->setCurrentIndex(chosen);
    ComboBoxReplayLane->setVisible(!lanes.isEmpty());
}

void ReplayBar::TakeKeysFrom(QWidget* widget) {
    widget->installEventFilter(this);
}

bool ReplayBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    for (const auto& k : kReplayKeys) {
        if (key->key() == k.Key) {
            emit Command(k.Command);
            return true;
        }
    }
    return false;
}

}  // namespace quarmel
