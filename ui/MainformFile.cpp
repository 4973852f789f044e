// The file commands: New function, Open and Save of the data file. Reading and writing the file
// is the data file's own code; here the window asks, resets and fills its controls.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "algorithms/Optimizationthread.h"
#include "app/DataFile.h"
#include "app/FunctionPage.h"
#include "app/OpenedProblem.h"
#include "ui/Dialogs.h"
#include "ui/Mainform.h"

namespace quarmel {

namespace {

const char* const kConfirmCaption = "Confimation";
const char* const kNotSavedQuestion = "Sure ? Solutions not saved !";

}  // namespace

bool TFormMain::ConfirmDroppingSolutions() {
    if (!SolutionsNotSaved) return true;
    if (!CurrentDialogs().Confirm(kConfirmCaption, kNotSavedQuestion)) return false;
    SolutionsNotSaved = false;
    return true;
}

void TFormMain::ClearFunctionInput() {
    EditFunction->clear();
    // Every data row but the last one is emptied; the last keeps what it holds.
    for (int row = 1; row <= VariableRowCount() - 2; ++row) {
        for (int column = 0; column < 4; ++column) SetVariableCell(column, row, QString());
    }
}

void TFormMain::ReleaseFinishedWorker() {
    if (Worker && Worker->IsFinished()) SetIdleState();
}

void TFormMain::SpeedButtonNewClick() {
    if (!ConfirmDroppingSolutions()) return;
    UsesSpiral = false;
    Navigation.ResetViewForNewFunction();
    ClearFunctionInput();
    ShowPage(TabSheetFunction);
}

void TFormMain::SpeedButtonSaveClick() {
    if (ReadFunctionPage(true) == -1) return;
    const std::string path = CurrentDialogs().SaveFileName(SaveDialog);
    if (path.empty()) return;
    DataFileContents contents;
    contents.FunctionName = EditFunctionName->text().toStdString();
    contents.Formula = EditFunction->text().toStdString();
    contents.Maximize = RadioButton_max->isChecked();
    contents.Variables = Parameters.Variables();
    contents.Solutions = RunSolutions;
    const SaveResult saved = SaveDataFile(path, contents);
    if (!saved.Ok) {
        // The solutions stay marked as not saved.
        CurrentDialogs().Message(saved.Error);
        return;
    }
    SolutionsNotSaved = false;
}

void TFormMain::SpeedButtonOpenClick() {
    if (!ConfirmDroppingSolutions()) return;
    const std::string path = CurrentDialogs().OpenFileName(OpenDialog);
    if (path.empty()) {
        IgnoreRunResults = false;
        ReleaseFinishedWorker();
        return;
    }

    UsesSpiral = false;
    Navigation.ResetView();
    ClearFunctionInput();
    ReleaseFinishedWorker();
    RunSolutions.Clear();
    RunPopulation.Clear();
    ShowReplacedRunSolutions();

    DataFileReading reading = ReadDataFile(path);
    if (reading.Error == DataFileError::CannotOpen) {
        CurrentDialogs().Message(reading.Message);
        return;
    }
    if (!reading.HeaderFound) {
        CurrentDialogs().Message(reading.Message);
        return;
    }
    setWindowTitle("File: " + QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    ApplyDataFile(reading);
    if (!reading.Ok()) {
        if (reading.Error == DataFileError::Conversion) {
            ShowCommandError(reading.Message);
        } else {
            CurrentDialogs().Message(reading.Message);
        }
        return;
    }

    // The page reading then sees an unchanged formula and keeps the loaded solutions.
    LastFormula = NormaliseFormula(EditFunction->text().toStdString());
    if (ReadFunctionPage(false) == -1) return;
    IgnoreRunResults = true;
    SolutionsNotSaved = false;
    TimerChart->start();
    ReleaseFinishedWorker();
}

void TFormMain::ApplyDataFile(DataFileReading& reading) {
    if (reading.FunctionName)
        EditFunctionName->setText(QString::fromStdString(*reading.FunctionName));
    if (reading.Formula) EditFunction->setText(QString::fromStdString(*reading.Formula));
    if (reading.Maximize) {
        if (*reading.Maximize) {
            RadioButton_max->setChecked(true);
        } else {
            RadioButton_min->setChecked(true);
        }
    }
    int row = 1;
    for (const VariableRowTexts& texts : OpenedTableRows(reading)) {
        SetVariableCell(0, row, QString::fromStdString(texts.Name));
        SetVariableCell(1, row, QString::fromStdString(texts.Min));
        SetVariableCell(2, row, QString::fromStdString(texts.Max));
        SetVariableCell(3, row, QString::fromStdString(texts.Value));
        ++row;
    }
    RunSolutions = std::move(reading.Solutions);
    ShowReplacedRunSolutions();
}

}  // namespace quarmel
