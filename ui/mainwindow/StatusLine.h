#pragma once

class QLabel;
class QProgressBar;
class QStatusBar;

namespace quarmel {

class RunStatus;

// The status line's run: its message, and at the right end of the status bar the annealing's
// stage, the progress bar, the elapsed time and the seed. Shows what a RunStatus holds.
class StatusLine {
  public:
    explicit StatusLine(QStatusBar* bar);

    void Show(const RunStatus& status);

  private:
    QStatusBar* bar_ = nullptr;
    QProgressBar* ProgressRun = nullptr;
    QLabel* LabelElapsed = nullptr;
    QLabel* LabelSeed = nullptr;
    QLabel* LabelStage = nullptr;
    QLabel* LabelUndefined = nullptr;  // short; the full count is its hint and description
};

}  // namespace quarmel
