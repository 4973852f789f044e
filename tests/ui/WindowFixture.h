#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "ScriptedDialogs.h"
#include "TestApplication.h"
#include "ui/Aboutform.h"
#include "ui/Helpfunctionform.h"
#include "ui/Mainform.h"

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
        QTabBar* bar = form->PageControlMain->tabBar();
        const int index = form->PageControlMain->indexOf(page);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QApplication::setActiveWindow(form.get());
        QTest::keyClick(form.get(), Qt::Key(key), modifiers);
    }

    void SetRow(int row, const QString& name, const QString& min, const QString& max,
                const QString& value) {
        form->SetVariableCell(0, row, name);
        form->SetVariableCell(1, row, min);
        form->SetVariableCell(2, row, max);
        form->SetVariableCell(3, row, value);
    }

    void ClearRow(int row) { SetRow(row, "", "", "", ""); }

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
