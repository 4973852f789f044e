// Opening a data file without Open's dialog: by the program's argument, from File > Examples or
// by dropping it on the window. Each goes through Open itself, given the path.
#include <QAction>
#include <QCoreApplication>

#include "app/examples/ExampleFolder.h"
#include "ui/chart/ChartPage.h"
#include "ui/mainwindow/FileOpening.h"
#include "ui/mainwindow/Mainform.h"
#include "ui/mainwindow/SolutionsPage.h"
#include "ui/plots/RunComparison.h"

namespace quarmel {
namespace {

// The installed examples beside the program, else the source tree's for a development build.
std::string ExampleFolder() {
#ifdef QUARMEL_SOURCE_EXAMPLES
    const std::string source = QUARMEL_SOURCE_EXAMPLES;
#else
    const std::string source;
#endif
    return FindExampleFolder(QCoreApplication::applicationDirPath().toStdString(), source);
}

}  // namespace

void TFormMain::OpenDataFile(const std::string& path) {
    if (path.empty() || !menu_.Wczytajwyniki1->isEnabled()) return;
    pathToOpen_ = path;
    RunCommand(&TFormMain::SpeedButtonOpenClick);
    pathToOpen_.clear();  // also when Open stopped before taking it
}

void TFormMain::ShowKnownOptimum() {
    const std::optional<ExampleProblem> known = KnownProblem();
    solutions_->SetKnownOptimum(known);
    chart_->SetKnownOptimum(known);
    if (Comparison) {
        Comparison->SetKnownOptimum(known ? std::optional<double>(known->Optimum.Value)
                                          : std::nullopt);
    }
}

void TFormMain::AddOtherWaysToOpen() {
    const OpenPath open = [this](const std::string& path) { OpenDataFile(path); };
    AddExamplesMenu(menu_.Plik1, menu_.N6, menu_.Wczytajwyniki1, ExampleFolder(), open);
    AcceptFileDrops(this, open);
}

}  // namespace quarmel
