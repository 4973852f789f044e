// The file commands: New function, Open and Save of the data file. Reading and writing the file
// is the data file's own code, and what Open does with a file read is DecideOpen's; here the
// window asks, resets and fills its pages.
#include <QFileInfo>
#include <QTimer>

#include <utility>

#include "algorithms/Optimizationthread.h"
#include "app/datafile/DataFile.h"
#include "app/datafile/OpenedProblem.h"
#include "app/examples/ExampleFolder.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/RunReplay.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/mainwindow/BackgroundRead.h"
#include "ui/mainwindow/FunctionPage.h"
#include "ui/mainwindow/Mainform.h"
#include "ui/mainwindow/RaceRun.h"

namespace quarmel {
namespace {

const char* const kConfirmCaption = "Confimation";
const char* const kNotSavedQuestion = "Sure ? Solutions not saved !";
const char* const kPageNotSavedQuestion = "Sure ? Function not saved !";

}  // namespace

bool TFormMain::ConfirmDroppingSolutions() {
    if (!session_.Unsaved()) return true;
    if (!CurrentDialogs().Confirm(kConfirmCaption, kNotSavedQuestion, DefaultButton::No)) {
        return false;
    }
    session_.SetUnsaved(false);
    return true;
}

bool TFormMain::ConfirmDroppingPage() {
    if (session_.Unsaved()) return ConfirmDroppingSolutions();
    if (function_->Texts() == pageBaseline_) return true;
    return CurrentDialogs().Confirm(kConfirmCaption, kPageNotSavedQuestion, DefaultButton::No);
}

void TFormMain::RememberPage() {
    pageBaseline_ = function_->Texts();
}

void TFormMain::ReleaseFinishedWorker() {
    if (worker_ && worker_->IsFinished()) SetIdleState();
}

void TFormMain::SpeedButtonNewClick() {
    if (!ConfirmDroppingPage()) return;
    chart_->SetSpiralMode(false);
    chart_->ResetView(true);
    function_->ClearFunctionInput();
    problemFile_.clear();
    RememberPage();
    ShowPage(function_);
}

void TFormMain::SpeedButtonSaveClick() {
    if (ReadFunctionPage(true) == -1) return;
    const std::string path = CurrentDialogs().SaveFileName(SaveDialog);
    if (path.empty()) return;
    DataFileContents contents;
    contents.FunctionName = function_->ProblemName();
    contents.Formula = function_->FormulaText();
    contents.Maximize = function_->Maximize();
    contents.Variables = Parameters.Variables();
    contents.Solutions = runSolutions_;
    const SaveResult saved = SaveDataFile(path, contents);
    if (!saved.Ok) {
        // The solutions stay marked as not saved.
        CurrentDialogs().Message(saved.Error);
        return;
    }
    session_.SetUnsaved(false);
    RememberPage();
    problemFile_ = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    // A caption that names a file names the one the page now belongs to.
    if (windowTitle().startsWith("File: ")) {
        setWindowTitle("File: " + QString::fromStdString(problemFile_));
    }
}

void TFormMain::SpeedButtonOpenClick() {
    if (!ConfirmDroppingSolutions()) return;
    const std::string path = pathToOpen_.empty() ? CurrentDialogs().OpenFileName(OpenDialog)
                                                 : std::exchange(pathToOpen_, {});
    if (path.empty()) {
        session_.SetResultsIgnored(false);
        ReleaseFinishedWorker();
        return;
    }

    // The whole file is read before anything changes: a file not read whole leaves the window
    // as it was. A large one is read on a thread of its own while the window repaints.
    DataFileReading reading = ReadDataFileKeepingWindow(this, path);
    const OpenDecision decision = DecideOpen(reading);
    if (decision.Notice == OpenNotice::ErrorBox) ShowCommandError(reading.Message);
    if (decision.Notice == OpenNotice::Message) CurrentDialogs().Message(reading.Message);
    if (!decision.Apply) return;

    chart_->SetSpiralMode(false);
    chart_->ResetView(false);
    function_->ClearFunctionInput();
    ReleaseFinishedWorker();
    runPopulation_.Clear();
    problemFile_ = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    setWindowTitle("File: " + QString::fromStdString(problemFile_));
    function_->ShowFile(reading);
    runSolutions_ = std::move(reading.Solutions);
    race_->Forget();  // the last race's lanes are no longer the window's to choose
    ShowReplacedRunSolutions();
    replay_->Begin(nullptr, false);

    // The page reading then sees an unchanged formula and keeps the loaded solutions.
    function_->AdoptFormula();
    RememberPage();
    openedOptimum_.Forget();
    if (ReadFunctionPage(false) == -1) return;
    // Found as the batch runner finds it: in the catalogue beside the file.
    openedOptimum_.Remember(KnownExampleFor(path, "", Parameters), Parameters);
    ShowKnownOptimum();
    session_.SetResultsIgnored(true);
    session_.SetUnsaved(false);
    TimerChart->start();
    ReleaseFinishedWorker();
}

}  // namespace quarmel
