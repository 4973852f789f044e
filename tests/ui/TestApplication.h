#pragma once

#include <QApplication>

namespace quarmel::testing {

// The one QApplication of the window tests, made on first use and kept for the whole program.
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace quarmel::testing
