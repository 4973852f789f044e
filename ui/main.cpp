#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quarmel");
    // The main window is being built; until then the program only says so.
    QTextStream(stdout) << "Quarmel: the main window is not built yet.\n";
    return 0;
}
