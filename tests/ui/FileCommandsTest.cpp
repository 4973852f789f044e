// New function, Open and Save from the window, with the scripted dialogs.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include "FindControl.h"
#include "WindowFixture.h"

namespace quarmel::test {
namespace {

class FileTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    std::string PathOf(const char* name) const { return dir.filePath(name).toStdString(); }

    void WriteFile(const char* name, const char* text) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    void RunGreedyToTheEnd() {
        FindControl<QSlider>(form.get(), "TrackBarLocalSleep")->setValue(0);
        QTest::mouseClick(form->SpeedButtonGreedy, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!form->Worker && form->SpeedButtonSave->isEnabled(), 20000);
        ASSERT_FALSE(form->RunSolutions.Empty());
    }

    void Save(const std::string& path) {
        dialogs.files = {path};
        QTest::mouseClick(form->SpeedButtonSave, Qt::LeftButton);
    }

    void Open(const std::string& path) {
        dialogs.files = {path};
        QTest::mouseClick(form->SpeedButtonOpen, Qt::LeftButton);
    }

    QStringList Row(int r) const {
        return {form->VariableCell(0, r), form->VariableCell(1, r), form->VariableCell(2, r),
                form->VariableCell(3, r)};
    }

    QTemporaryDir dir;
};

TEST_F(FileTest, SaveThenOpenGivesTheSameProblemAndSolutions) {
    RunGreedyToTheEnd();
    const SolutionList saved = form->RunSolutions;
    const std::string path = PathOf("run.txt");
    Save(path);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(form->SolutionsNotSaved);
    EXPECT_EQ(form->windowTitle(), "Quarmel");  // Save does not name the file

    // Something else on the page, then the file back.
    form->EditFunctionName->setText("other");
    form->RadioButton_max->setChecked(true);
    QTest::mouseClick(form->SpeedButtonNew, Qt::LeftButton);
    EXPECT_TRUE(form->EditFunction->text().isEmpty());
    Open(path);
    EXPECT_TRUE(dialogs.shown.empty());

    EXPECT_EQ(form->windowTitle(), "File: " + QDir(dir.path()).absoluteFilePath("run.txt"));
    EXPECT_EQ(form->EditFunctionName->text(), "Example 1 ");
    EXPECT_EQ(form->EditFunction->text(), "x^2+(y-2)^2+3*c");
    EXPECT_TRUE(form->RadioButton_min->isChecked());
    EXPECT_EQ(Row(1), (QStringList{"x", "-50", "50", "0"}));
    EXPECT_EQ(Row(2), (QStringList{"y", "-40", "40", "6"}));
    EXPECT_EQ(Row(3), (QStringList{"c", "1", "15", "5"}));
    ASSERT_EQ(form->RunSolutions.Count(), saved.Count());
    for (std::size_t i = 0; i < saved.Count(); ++i) {
        // The file holds six significant digits.
        EXPECT_NEAR(form->RunSolutions.FuncValue(i), saved.FuncValue(i),
                    1e-5 * std::fabs(saved.FuncValue(i)) + 1e-6);
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_NEAR(form->RunSolutions.VarValue(i, j), saved.VarValue(i, j),
                        1e-5 * std::fabs(saved.VarValue(i, j)) + 1e-6);
        }
    }
    EXPECT_TRUE(form->IgnoreRunResults);
    EXPECT_FALSE(form->SolutionsNotSaved);
    EXPECT_TRUE(form->TimerChart->isActive());
    EXPECT_FALSE(form->UsesSpiral);
    EXPECT_EQ(form->Navigation.ShiftY, -900);

    // The loaded solutions survive the progress timer and show on the Solutions page.
    ClickTab(form->TabSheetSolutions);
    QTest::qWait(150);
    EXPECT_EQ(form->StringGridSolutions->model()->rowCount(), static_cast<int>(saved.Count()));
}

TEST_F(FileTest, TheDialogsAreSetUpAsTheCommandsNeedThem) {
    const std::string path = PathOf("empty.txt");
    Save(path);
    Open(path);
    ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
    const FileDialogSettings& save = dialogs.fileDialogs[0];
    const FileDialogSettings& open = dialogs.fileDialogs[1];
    for (const FileDialogSettings* d : {&save, &open}) {
        EXPECT_EQ(d->DefaultExt, "txt");
        EXPECT_EQ(d->InitialDir, QDir::currentPath().toStdString());
        ASSERT_EQ(d->Filters.size(), 2u);
        EXPECT_EQ(d->Filters[0].first, "Txt file");
        EXPECT_EQ(d->Filters[0].second, "*.txt;*.TXT");
        EXPECT_EQ(d->Filters[1].first, "All files");
    }
    EXPECT_EQ(save.FileName, "Example");
    EXPECT_TRUE(save.OverwritePrompt);
    // A problem without solutions comes back without solutions.
    EXPECT_TRUE(form->RunSolutions.Empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTest, ClosingAfterSaveDoesNotAsk) {
    RunGreedyToTheEnd();
    Save(PathOf("run.txt"));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTest, AFileOfAnotherProgramIsRefusedAfterTheReset) {
    RunGreedyToTheEnd();
    Save(PathOf("run.txt"));
    WriteFile("other.txt", "# data file for something else entirely\nf=x\nmax=1 \n");
    Open(PathOf("other.txt"));
    EXPECT_EQ(dialogs.Messages(), (std::vector<std::string>{"Wrong file format !"}));
    EXPECT_EQ(form->windowTitle(), "Quarmel");
    EXPECT_TRUE(form->EditFunction->text().isEmpty());
    EXPECT_TRUE(form->RunSolutions.Empty());
    EXPECT_TRUE(Row(1) == (QStringList{"", "", "", ""}));
}

TEST_F(FileTest, AFileThatCannotBeReadIsNamed) {
    Open(PathOf("missing.txt"));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(dialogs.Messages()[0].find("missing.txt"), std::string::npos);
    EXPECT_EQ(form->windowTitle(), "Quarmel");
}

TEST_F(FileTest, AFailedSaveIsReportedAndTheSolutionsStayUnsaved) {
    RunGreedyToTheEnd();
    Save(PathOf("no/such/folder/run.txt"));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(form->SolutionsNotSaved);
    dialogs.answers = {false};
    EXPECT_FALSE(form->close());
}

TEST_F(FileTest, SaveWithAFormulaThatDoesNotCompileAsksForNoFile) {
    form->EditFunction->setText("x + (");
    QTest::mouseClick(form->SpeedButtonSave, Qt::LeftButton);
    EXPECT_TRUE(dialogs.fileDialogs.empty());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(FileTest, NoOnTheConfirmationChangesNothingAndYesGoesOn) {
    RunGreedyToTheEnd();
    SetRow(18, "w", "1", "2", "1");
    SetRow(19, "z", "1", "2", "1");
    const QString formula = form->EditFunction->text();

    dialogs.answers = {false};
    QTest::mouseClick(form->SpeedButtonNew, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].Caption, "Confimation");
    EXPECT_EQ(dialogs.shown[0].Text, "Sure ? Solutions not saved !");
    EXPECT_EQ(form->EditFunction->text(), formula);
    EXPECT_TRUE(form->SolutionsNotSaved);

    dialogs.answers = {true};
    form->Nowafunkcja1->trigger();
    EXPECT_FALSE(form->SolutionsNotSaved);
    EXPECT_TRUE(form->EditFunction->text().isEmpty());
    EXPECT_TRUE(Row(1) == (QStringList{"", "", "", ""}));
    EXPECT_TRUE(Row(18) == (QStringList{"", "", "", ""}));
    EXPECT_EQ(Row(19), (QStringList{"z", "1", "2", "1"}));  // the last row keeps its content
    EXPECT_EQ(form->PageControlMain->currentWidget(), form->TabSheetFunction);
    EXPECT_EQ(form->Navigation.ShiftY, 0);
    EXPECT_EQ(form->Navigation.ShiftX, -50);
    EXPECT_EQ(form->EditFunctionName->text(), "Example 1");
    EXPECT_FALSE(form->RunSolutions.Empty());
}

TEST_F(FileTest, YesThenCancellingOpenLeavesTheSolutionsMarkedSaved) {
    RunGreedyToTheEnd();
    const QString formula = form->EditFunction->text();
    dialogs.answers = {true};
    dialogs.files = {""};
    QTest::mouseClick(form->SpeedButtonOpen, Qt::LeftButton);
    EXPECT_FALSE(form->SolutionsNotSaved);
    EXPECT_FALSE(form->IgnoreRunResults);
    EXPECT_EQ(form->EditFunction->text(), formula);
    EXPECT_TRUE(form->close());
}

TEST_F(FileTest, SolutionsShorterThanTheProblemAreShownWithoutErrors) {
    // The file knows x only; the table's last row, which Open keeps, adds z to the problem.
    SetRow(19, "z", "1", "2", "1");
    WriteFile("short.txt",
              "# data file for Quarmel\n# short\n\n# formula\nf=x+z\n\n"
              "# 1 for maximization, 0 for minimization\nmax=0 \n\n# number of variables\n"
              "vars=1 \n\n# variables: name, min, max, default\nx,-1,1,0\n\n"
              "# number of solutions\nsols=2\n\n# solutions - comma-delimited values list for "
              "variables and value of function (last)\n0.5,1.5\n0.25,1.25\n");
    Open(PathOf("short.txt"));
    ASSERT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(form->Parameters.VariableCount(), 2);
    ASSERT_EQ(form->RunSolutions.Count(), 2u);

    form->Wykresfunkcji1->trigger();
    QTest::qWait(200);
    form->Rozwizania1->trigger();
    QTest::qWait(200);
    EXPECT_TRUE(dialogs.shown.empty());
    QAbstractItemModel* table = form->StringGridSolutions->model();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->data(table->index(0, 1)).toString(), "0,25");
    EXPECT_EQ(table->data(table->index(0, 2)).toString(), "");
    EXPECT_EQ(table->data(table->index(0, 3)).toString(), "1,25");
}

}  // namespace
}  // namespace quarmel::test
