// New function, Open and Save from the window, with the scripted dialogs.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "WindowFixture.h"
#include "ui/mainwindow/BackgroundRead.h"

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
        Ctl<QSlider>("TrackBarLocalSleep")->setValue(0);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGreedy"), Qt::LeftButton);
        WAIT_FOR_MS(!form->RunWorker() && Ctl<QToolButton>("SpeedButtonSave")->isEnabled(), 20000);
        ASSERT_FALSE(form->Solutions().Empty());
    }

    void Save(const std::string& path) {
        dialogs.files = {path};
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSave"), Qt::LeftButton);
    }

    void Open(const std::string& path) {
        dialogs.files = {path};
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonOpen"), Qt::LeftButton);
    }

    QStringList Row(int r) const {
        return {Function()->VariableCell(0, r), Function()->VariableCell(1, r),
                Function()->VariableCell(2, r), Function()->VariableCell(3, r)};
    }

    QTemporaryDir dir;
};

TEST_F(FileTest, SaveThenOpenGivesTheSameProblemAndSolutions) {
    RunGreedyToTheEnd();
    const SolutionList saved = form->Solutions();
    const std::string path = PathOf("run.txt");
    Save(path);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(form->Session().Unsaved());
    EXPECT_EQ(form->windowTitle(), "Quarmel");  // Save does not name the file

    // Something else on the page, then the file back.
    Ctl<QLineEdit>("EditFunctionName")->setText("other");
    Ctl<QRadioButton>("RadioButton_max")->setChecked(true);
    dialogs.answers = {true};
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonNew"), Qt::LeftButton);
    EXPECT_TRUE(Ctl<QLineEdit>("EditFunction")->text().isEmpty());
    dialogs.shown.clear();
    Open(path);
    EXPECT_TRUE(dialogs.shown.empty());

    EXPECT_EQ(form->windowTitle(), "File: " + QDir(dir.path()).absoluteFilePath("run.txt"));
    EXPECT_EQ(Ctl<QLineEdit>("EditFunctionName")->text(), "Example 1 ");
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), "x^2+(y-2)^2+3*c");
    EXPECT_TRUE(Ctl<QRadioButton>("RadioButton_min")->isChecked());
    EXPECT_EQ(Row(1), (QStringList{"x", "-50", "50", "0"}));
    EXPECT_EQ(Row(2), (QStringList{"y", "-40", "40", "6"}));
    EXPECT_EQ(Row(3), (QStringList{"c", "1", "15", "5"}));
    ASSERT_EQ(form->Solutions().Count(), saved.Count());
    for (std::size_t i = 0; i < saved.Count(); ++i) {
        // The file holds six significant digits.
        EXPECT_NEAR(form->Solutions().FuncValue(i), saved.FuncValue(i),
                    1e-5 * std::fabs(saved.FuncValue(i)) + 1e-6);
        for (std::size_t j = 0; j < 3; ++j) {
            EXPECT_NEAR(form->Solutions().VarValue(i, j), saved.VarValue(i, j),
                        1e-5 * std::fabs(saved.VarValue(i, j)) + 1e-6);
        }
    }
    EXPECT_TRUE(form->Session().ResultsIgnored());
    EXPECT_FALSE(form->Session().Unsaved());
    EXPECT_TRUE(Ctl<QTimer>("TimerChart")->isActive());
    EXPECT_FALSE(Chart()->SpiralMode());
    EXPECT_EQ(Chart()->Navigation().ShiftY, -900);

    // The loaded solutions survive the progress timer and show on the Solutions page.
    ClickTab(Ctl<QWidget>("TabSheetSolutions"));
    QTest::qWait(150);
    EXPECT_EQ(Ctl<QTableView>("StringGridSolutions")->model()->rowCount(),
              static_cast<int>(saved.Count()));

    // Saved under another name, the caption names the file the window now belongs to.
    Save(PathOf("copy.txt"));
    EXPECT_EQ(form->windowTitle(), "File: " + QDir(dir.path()).absoluteFilePath("copy.txt"));
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
    EXPECT_TRUE(form->Solutions().Empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTest, ClosingAfterSaveDoesNotAsk) {
    RunGreedyToTheEnd();
    Save(PathOf("run.txt"));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileTest, AFailedOpenLeavesTheWindowAsItWasAndSaysWhy) {
    RunGreedyToTheEnd();
    Save(PathOf("run.txt"));
    Ctl<QLineEdit>("EditFunctionName")->setText("typed name");
    Ctl<QLineEdit>("EditFunction")->setText("x*y");
    Ctl<QRadioButton>("RadioButton_max")->setChecked(true);
    SetRow(1, "x", "-2", "3", "1");
    SetRow(2, "y", "0", "1", "0,5");
    const SolutionList solutions = form->Solutions();

    WriteFile("other.txt", "# data file for something else entirely\nf=x\nmax=1 \n");
    QFile binary(dir.filePath("binary.txt"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x7f"
                            "ELF\x02\x01\x00\x00\xff\xfe",
                            10)
                     .repeated(100));
    binary.close();
    ASSERT_EQ(mkfifo(PathOf("fifo.txt").c_str(), 0600), 0);
    // A sparse file just over the size limit, starting as a data file does.
    WriteFile("huge.txt", "# data file for Quarmel\n");
    ASSERT_TRUE(QFile::resize(dir.filePath("huge.txt"), kMaxDataFileBytes + 1));
    // The header, then a count that is not a number: the error box.
    WriteFile("count.txt",
              "# data file for Quarmel\n# n\n\n# formula\nf=x\n\n# 1 for max\nmax=0 \n\n"
              "# number of variables\nvars=two \n");
    const std::pair<const char*, std::string> cases[] = {
        {"other.txt", "Wrong file format !"},
        {"binary.txt", "Wrong file format !"},
        {"fifo.txt", "Cannot read file '" + PathOf("fifo.txt") + "': it is not a regular file."},
        {"huge.txt", "Cannot read file '" + PathOf("huge.txt") + "': it is larger than 256 MB."},
        {"count.txt", "'two' is not a valid integer value."},
    };
    for (const auto& [name, message] : cases) {
        dialogs.shown.clear();
        Open(PathOf(name));
        ASSERT_EQ(dialogs.shown.size(), 1u) << name;
        EXPECT_EQ(dialogs.shown[0].Text, message);
        EXPECT_EQ(form->windowTitle(), "Quarmel");
        EXPECT_EQ(Ctl<QLineEdit>("EditFunctionName")->text(), "typed name");
        EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), "x*y");
        EXPECT_TRUE(Ctl<QRadioButton>("RadioButton_max")->isChecked());
        EXPECT_EQ(Row(1), (QStringList{"x", "-2", "3", "1"}));
        EXPECT_EQ(Row(2), (QStringList{"y", "0", "1", "0,5"}));
        EXPECT_EQ(Row(3), (QStringList{"c", "1", "15", "5"}));
        EXPECT_EQ(form->Solutions().Count(), solutions.Count()) << name;
    }
}

TEST_F(FileTest, AFailedSaveIsReportedAndTheSolutionsStayUnsaved) {
    RunGreedyToTheEnd();
    Save(PathOf("no/such/folder/run.txt"));
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(form->Session().Unsaved());
    dialogs.answers = {false};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(dialogs.shown.back().Default, DefaultButton::No);
}

TEST_F(FileTest, SaveWithAFormulaThatDoesNotCompileAsksForNoFile) {
    Ctl<QLineEdit>("EditFunction")->setText("x + (");
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonSave"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.fileDialogs.empty());
    ASSERT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(FileTest, NoOnTheConfirmationChangesNothingAndYesGoesOn) {
    RunGreedyToTheEnd();
    SetRow(18, "w", "1", "2", "1");
    SetRow(19, "z", "1", "2", "1");
    const QString formula = Ctl<QLineEdit>("EditFunction")->text();

    dialogs.answers = {false};
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonNew"), Qt::LeftButton);
    // One question, though the page was typed in too; Enter answers No.
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].Caption, "Confimation");
    EXPECT_EQ(dialogs.shown[0].Text, "Sure ? Solutions not saved !");
    EXPECT_EQ(dialogs.shown[0].Default, DefaultButton::No);
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), formula);
    EXPECT_TRUE(form->Session().Unsaved());

    dialogs.answers = {true};
    Ctl<QAction>("Nowafunkcja1")->trigger();
    EXPECT_FALSE(form->Session().Unsaved());
    EXPECT_TRUE(Ctl<QLineEdit>("EditFunction")->text().isEmpty());
    EXPECT_TRUE(Row(1) == (QStringList{"", "", "", ""}));
    EXPECT_TRUE(Row(18) == (QStringList{"", "", "", ""}));
    EXPECT_EQ(Row(19), (QStringList{"z", "1", "2", "1"}));  // the last row keeps its content
    EXPECT_EQ(Ctl<QTabWidget>("PageControlMain")->currentWidget(),
              Ctl<QWidget>("TabSheetFunction"));
    EXPECT_EQ(Chart()->Navigation().ShiftY, 0);
    EXPECT_EQ(Chart()->Navigation().ShiftX, -50);
    EXPECT_EQ(Ctl<QLineEdit>("EditFunctionName")->text(), "Example 1");
    EXPECT_FALSE(form->Solutions().Empty());
}

// New asks (No by default) only for a page typed since the start, the last Save or Open or New.
TEST_F(FileTest, NewAsksBeforeDroppingATypedPage) {
    auto newAsks = [&](bool answer) {
        dialogs.answers = {answer};
        Press(Qt::Key_N, Qt::ControlModifier);
        const bool asked = dialogs.answers.empty();
        if (asked) {
            EXPECT_EQ(dialogs.shown.back().Default, DefaultButton::No);
        }
        dialogs.answers.clear();
        return asked;
    };
    EXPECT_FALSE(newAsks(true));  // the page as the program started
    Ctl<QLineEdit>("EditFunction")->setText("x");
    SetRow(1, "x", "-1", "1", "0");
    EXPECT_TRUE(newAsks(false));
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), "x");  // No keeps it
    Save(PathOf("page.txt"));
    EXPECT_FALSE(newAsks(true));
    Open(PathOf("page.txt"));
    EXPECT_FALSE(newAsks(true));
    Ctl<QLineEdit>("EditFunction")->setText("x*2");
    EXPECT_TRUE(newAsks(true));
    EXPECT_TRUE(Ctl<QLineEdit>("EditFunction")->text().isEmpty());  // Yes clears it
}

TEST_F(FileTest, YesThenCancellingOpenLeavesTheSolutionsMarkedSaved) {
    RunGreedyToTheEnd();
    const QString formula = Ctl<QLineEdit>("EditFunction")->text();
    dialogs.answers = {true};
    dialogs.files = {""};
    QTest::mouseClick(Ctl<QToolButton>("SpeedButtonOpen"), Qt::LeftButton);
    EXPECT_FALSE(form->Session().Unsaved());
    EXPECT_FALSE(form->Session().ResultsIgnored());
    EXPECT_EQ(Ctl<QLineEdit>("EditFunction")->text(), formula);
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
    ASSERT_EQ(form->Solutions().Count(), 2u);

    Ctl<QAction>("Wykresfunkcji1")->trigger();
    QTest::qWait(200);
    Ctl<QAction>("Rozwizania1")->trigger();
    QTest::qWait(200);
    EXPECT_TRUE(dialogs.shown.empty());
    QAbstractItemModel* table = Ctl<QTableView>("StringGridSolutions")->model();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->data(table->index(0, 1)).toString(), "0,25");
    EXPECT_EQ(table->data(table->index(0, 2)).toString(), "");
    EXPECT_EQ(table->data(table->index(0, 3)).toString(), "1,25");
}

// A file large enough to be read on its own thread ends as a small one does: taken whole, or,
// when it breaks off, not at all and said why; the busy dialog is gone either way.
TEST_F(FileTest, ALargeFileIsReadOffTheWindowsThreadWithTheSameOutcome) {
    const int count = 300000;  // about 5 MB
    std::string text =
        "# data file for Quarmel\n# Big\n\n# formula\nf=x^2\n\n# 1 for maximization, 0 for "
        "minimization\nmax=0 \n\n# number of variables\nvars=1 \n\n# variables: name, min, max, "
        "default\nx,-10,10,5\n\n# number of solutions\nsols=" +
        std::to_string(count) + "\n\n# solutions - values of the variables and of f (last)\n";
    for (int k = 0; k < count; ++k) {
        const double x = -10.0 + 20.0 * k / count;
        text += QString::asprintf("%.6g,%.6g\n", x, x * x).toStdString();
    }
    ASSERT_GE(text.size(), kBackgroundReadBytes);
    WriteFile("big.txt", text.c_str());
    Open(PathOf("big.txt"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->windowTitle(), "File: " + QDir(dir.path()).absoluteFilePath("big.txt"));
    ASSERT_EQ(form->Solutions().Count(), static_cast<std::size_t>(count));
    EXPECT_FLOAT_EQ(form->Solutions().VarValue(count - 1, 0), -10.0f + 20.0f * (count - 1) / count);
    EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr);

    // Announcing more solutions than it holds: the window stays with the file before.
    WriteFile("short.txt", text.replace(text.find("sols="), 5, "sols=1").c_str());
    Open(PathOf("short.txt"));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::string>{"Wrong file format !"});
    EXPECT_EQ(form->windowTitle(), "File: " + QDir(dir.path()).absoluteFilePath("big.txt"));
    EXPECT_EQ(form->Solutions().Count(), static_cast<std::size_t>(count));
    EXPECT_EQ(form->findChild<QProgressDialog*>(), nullptr);
}

// The window asked to close while a long read goes on closes once the read is done.
TEST_F(FileTest, ACloseRequestDuringALongReadIsHonouredAfterIt) {
    std::atomic<bool> asked{false};
    QTimer::singleShot(0, form.get(), [&] {
        form->close();
        asked = true;
    });
    RunAwayFromWindow(form.get(), "Reading...", [&] {
        while (!asked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_TRUE(form->isVisible());  // not while the read went on
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 2000));
}

}  // namespace
}  // namespace quarmel::test
