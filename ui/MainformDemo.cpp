// The wave-motion demonstration: the chart grid becomes a simulated water surface, one step per
// frame, until the menu item is chosen again or the Chart page's tab is clicked.
#include <QAction>
#include <QTabWidget>
#include <QTimer>

#include "ui/Mainform.h"

namespace quarmel {

void TFormMain::Demonstracja1Click() {
    if (!Demonstracja1->isChecked()) {
        WaveDemoRunning = true;
        // No problem data reaches the chart meanwhile.
        TimerChart->stop();
        // The wave is drawn even when the chart never had data.
        ChartReady = true;
        ShowPage(TabSheetChart);
        Demonstracja1->setChecked(true);
        TimerDemo->start();
        ToolBarMain->setEnabled(false);
        return;
    }
    Demonstracja1->setChecked(false);
    WaveDemoRunning = false;
    TimerDemo->stop();
    // The tool bar comes back even when reading the page again fails.
    ToolBarMain->setEnabled(true);
    PageControlMainChange();
}

void TFormMain::TimerDemoTimer() {
    if (PageControlMain->currentWidget() == TabSheetChart) RedrawChart();
}

}  // namespace quarmel
