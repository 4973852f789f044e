#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <memory>
#include <string>

#include "FindControl.h"
#include "ScriptedDialogs.h"
#include "TestApplication.h"
#include "WaitFor.h"
#include "algorithms/Optimizationthread.h"
#include "app/datafile/DataFile.h"
#include "ui/chart/ChartPage.h"
#include "ui/chart/PanelChart.h"
#include "ui/dialogs/Aboutform.h"
#include "ui/dialogs/Helpfunctionform.h"
#include "ui/mainwindow/FunctionPage.h"
#include "ui/mainwindow/Mainform.h"

namespace quarmel::test {

// A shown main window with its two small windows, the scripted dialogs installed, and a
// watchdog that fails the test and closes any modal window the test did not expect.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        quarmel::testing::TestApplication();
        previous_ = InstallDialogs(&dialogs);
        form = std::make_unique<TFormMain>();
        about = std::make_unique<TFormAbout>(form.get());
        help = std::make_unique<TFormHelpFunction>();
        form->SetAboutWindow(about.get());
        form->SetHelpWindow(help.get());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        watchdog_.setInterval(200);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && !expectModal) {
                ADD_FAILURE() << "unexpected modal window " << modal->objectName().toStdString();
                modal->close();
            }
        });
        watchdog_.start();
    }

    void TearDown() override {
        watchdog_.stop();
        help.reset();
        about.reset();
        form.reset();
        InstallDialogs(previous_);
    }

    // Chooses a page by clicking its tab, as the user does.
    void ClickTab(QWidget* page) {
        auto* pages = Ctl<QTabWidget>("PageControlMain");
        QTabBar* bar = pages->tabBar();
        const int index = pages->indexOf(page);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(form.get());
        QTest::keyClick(form.get(), Qt::Key(key), modifiers);
    }

    void SetRow(int row, const QString& name, const QString& min, const QString& max,
                const QString& value) {
        Function()->SetVariableCell(0, row, name);
        Function()->SetVariableCell(1, row, min);
        Function()->SetVariableCell(2, row, max);
        Function()->SetVariableCell(3, row, value);
    }

    void ClearRow(int row) { SetRow(row, "", "", "", ""); }

    // Opens a data file of the problem the page shows, holding `solutions`, as the user does.
    void OpenWithSolutions(const SolutionList& solutions) {
        ASSERT_EQ(form->ReadFunctionPage(false), 0);
        DataFileContents contents;
        contents.FunctionName = "Example 1";
        contents.Formula = Ctl<QLineEdit>("EditFunction")->text().toStdString();
        contents.Variables = form->Parameters.Variables();
        contents.Solutions = solutions;
        QTemporaryDir dir;
        const std::string path = dir.filePath("solutions.txt").toStdString();
        ASSERT_TRUE(SaveDataFile(path, contents).Ok);
        dialogs.files = {path};
        Ctl<QAction>("Wczytajwyniki1")->trigger();
        ASSERT_EQ(form->Solutions().Count(), solutions.Count());
    }

    // A short genetic run to its end, which leaves solutions and a population.
    void RunGeneticToTheEnd() {
        Ctl<QSlider>("TrackBarGeneticSleep")->setValue(0);
        Ctl<QSlider>("TrackBarIterations")->setValue(20);
        Ctl<QSlider>("TrackBarPopSize")->setValue(50);
        QTest::mouseClick(Ctl<QToolButton>("SpeedButtonGeneticAlg"), Qt::LeftButton);
        WAIT_FOR_MS(!form->RunWorker(), 20000);
        ASSERT_FALSE(form->Population().Empty());
    }

    // A control of the window by its name.
    template <class T>
    T* Ctl(const char* name) const {
        return FindControl<T>(form.get(), name);
    }
    // The pages, for the state a test cannot see on the screen.
    FunctionPage* Function() const { return Ctl<FunctionPage>("TabSheetFunction"); }
    ChartPage* Chart() const { return Ctl<ChartPage>("TabSheetChart"); }

    ScriptedDialogs dialogs;
    std::unique_ptr<TFormMain> form;
    std::unique_ptr<TFormAbout> about;
    std::unique_ptr<TFormHelpFunction> help;
    bool expectModal = false;

  private:
    Dialogs* previous_ = nullptr;
    QTimer watchdog_;
};

}  // namespace quarmel::test
