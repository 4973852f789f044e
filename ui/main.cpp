#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <exception>

#include "ui/dialogs/Aboutform.h"
#include "ui/dialogs/Helpfunctionform.h"
#include "ui/dialogs/SvgImages.h"
#include "ui/mainwindow/Mainform.h"

namespace {

const char kHelp[] =
    "usage: quarmel [Qt option]... [FILE]\n"
    "       quarmel --help | --version\n"
    "\n"
    "Opens the window for watching optimisation algorithms search a function you type\n"
    "in; FILE, a data file, opens as File > Open opens it.\n"
    "  --help, -h    prints this help\n"
    "  --version     prints the version\n"
    "  --            ends the options: a FILE may then begin with -\n"
    "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken too.\n";

// Prints `text` to standard output: status 0, or 1 when it cannot be written.
int Print(const char* text) {
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before any window system is needed, so they work without a display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Print(kHelp);
        }
        if (std::strcmp(argv[i], "--version") == 0) return Print("quarmel " QUARMEL_VERSION "\n");
    }
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv: an option left is not the program's.
    int file = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            if (i + 1 < argc) file = i + 1;
            break;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "quarmel: unknown option '%s' (quarmel --help lists them)\n",
                         argv[i]);
            return 2;
        }
        if (!file) file = i;
    }
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
        if (file) formMain.OpenDataFile(argv[file]);
        return app.exec();
    } catch (const std::exception& e) {
        quarmel::ShowCommandError(e.what());
    } catch (...) {
        quarmel::ShowCommandError("");
    }
    return 1;
}
