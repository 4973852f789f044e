#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <exception>

#include "ui/Aboutform.h"
#include "ui/Helpfunctionform.h"
#include "ui/Mainform.h"
#include "ui/SvgImages.h"

int main(int argc, char* argv[]) {
    // Answered before any window system is needed, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("quarmel " QUARMEL_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    // The title is also the caption of plain message boxes and of error boxes.
    QApplication::setApplicationName("Quarmel");
    // Every window shows the program's icon; the desktop entry of the same name shows it too.
    quarmel::InitResources();
    QApplication::setWindowIcon(QIcon(":/icons/quarmel.svg"));
    QGuiApplication::setDesktopFileName("io.github.quarmel.Quarmel");
    try {
        quarmel::TFormMain formMain;
        quarmel::TFormAbout formAbout(&formMain);
        quarmel::TFormHelpFunction formHelp;
        // The help window may stay open; closing the main window still ends the program.
        formHelp.setAttribute(Qt::WA_QuitOnClose, false);
        formMain.SetAboutWindow(&formAbout);
        formMain.SetHelpWindow(&formHelp);
        formMain.show();
        // A file given to the program (a file manager's "Open with") opens as File > Open would.
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1) formMain.OpenDataFile(arguments.at(1).toStdString());
        return app.exec();
    } catch (const std::exception& e) {
        quarmel::ShowCommandError(e.what());
    } catch (...) {
        quarmel::ShowCommandError("");
    }
    return 1;
}
