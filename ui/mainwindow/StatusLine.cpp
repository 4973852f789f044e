#include "ui/mainwindow/StatusLine.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "app/runs/RunStatus.h"

namespace quarmel {

StatusLine::StatusLine(QStatusBar* bar) : bar_(bar) {
    ProgressRun = new QProgressBar(bar);
    ProgressRun->setObjectName("ProgressRun");
    ProgressRun->setAccessibleName("Run progress");
    ProgressRun->setMaximumWidth(180);
    ProgressRun->hide();
    LabelElapsed = new QLabel(bar);
    LabelElapsed->setObjectName("LabelElapsed");
    LabelElapsed->setAccessibleName("Elapsed time");
    LabelStage = new QLabel(bar);
    LabelStage->setObjectName("LabelStage");
    LabelStage->setAccessibleName("Annealing stage");
    LabelSeed = new QLabel(bar);
    LabelSeed->setObjectName("LabelSeed");
    LabelSeed->setAccessibleName("Seed");
    LabelUndefined = new QLabel(bar);
    LabelUndefined->setObjectName("LabelUndefined");
    LabelUndefined->setAccessibleName("Undefined evaluations");
    LabelUndefined->hide();
    bar->addPermanentWidget(LabelUndefined);
    bar->addPermanentWidget(LabelStage);
    bar->addPermanentWidget(ProgressRun);
    bar->addPermanentWidget(LabelElapsed);
    bar->addPermanentWidget(LabelSeed);
}

void StatusLine::Show(const RunStatus& status) {
    ProgressRun->setVisible(status.BarVisible());
    ProgressRun->setRange(0, status.BarMaximum());
    ProgressRun->setValue(status.BarValue());
    if (!status.BarFormat().empty())
        ProgressRun->setFormat(QString::fromStdString(status.BarFormat()));
    LabelStage->setText(QString::fromStdString(status.StageText()));
    LabelElapsed->setText(QString::fromStdString(status.ElapsedText()));
    LabelSeed->setText(QString::fromStdString(status.SeedText()));
    // Assistive technology gives each its name; the value goes with it as the description.
    for (QLabel* label : {LabelStage, LabelElapsed, LabelSeed}) {
        label->setAccessibleDescription(label->text());
    }
    ProgressRun->setAccessibleDescription(status.BarVisible() ? ProgressRun->text() : QString());
    // Only a count that is not zero is shown; in full it would leave the message no room.
    const QString hint = QString::fromStdString(status.UndefinedHint());
    LabelUndefined->setText(QString::fromStdString(status.UndefinedText()));
    LabelUndefined->setToolTip(hint);
    LabelUndefined->setAccessibleDescription(hint);
    LabelUndefined->setVisible(!hint.isEmpty());
    const QString message = QString::fromStdString(status.MessageText());
    if (message.isEmpty()) {
        bar_->clearMessage();
    } else if (bar_->currentMessage() != message) {
        bar_->showMessage(message);
    }
}

}  // namespace quarmel
