#pragma once

#include <QWidget>

#include <cstddef>

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

namespace quarmel {

class ReplayState;

// What the replay keys and buttons ask for.
enum class ReplayCommand { Previous, Next, First, Last, PlayPause };

// The replay bar under the chart: after a race the lane replayed, then step back, play/pause, step
// forward, a slider over the run's steps and the step shown. It only shows a ReplayState and
// reports what the user asks for; the keys Left, Right, Home, End and Space work while the bar or a
// widget handed to TakeKeysFrom has the focus.
class ReplayBar : public QWidget {
    Q_OBJECT

  public:
    explicit ReplayBar(QWidget* parent = nullptr);

    // Shows the state's steps, step and playing; `hint` is the bar's tooltip.
    void Show(const ReplayState& state, const QString& hint);
    // The race's lanes to choose from, `chosen` shown; an empty list hides the choice.
    void OfferLanes(const QStringList& lanes, int chosen);
    // The replay keys also work while `widget` has the focus.
    void TakeKeysFrom(QWidget* widget);

  signals:
    void Command(ReplayCommand command);
    void StepChosen(std::size_t step);
    void LaneChosen(int lane);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QComboBox* ComboBoxReplayLane = nullptr;
    QToolButton* ButtonReplayBack = nullptr;
    QToolButton* ButtonReplayPlay = nullptr;
    QToolButton* ButtonReplayForward = nullptr;
    QSlider* SliderReplay = nullptr;
    QLabel* LabelReplayStep = nullptr;
};

}  // namespace quarmel
