// The wave-motion demonstration: the chart grid becomes a simulated water surface, one step per
// frame, until the menu item is chosen again or the Chart page's tab is clicked.
#include <QAction>
#include <QTabWidget>
#include <QTimer>

#include "ui/chart/ChartPage.h"
#include "ui/mainwindow/Mainform.h"

namespace quarmel {

void TFormMain::Demonstracja1Click() {
    if (!menu_.Demonstracja1->isChecked()) {
        chart_->SetWaveMode(true);
        // No problem data reaches the chart meanwhile.
        TimerChart->stop();
        // The wave is drawn even when the chart never had data.
        chart_->SetChartReady();
        ShowPage(chart_);
        menu_.Demonstracja1->setChecked(true);
        TimerDemo->start();
        tools_.ToolBarMain->setEnabled(false);
        return;
    }
    menu_.Demonstracja1->setChecked(false);
    chart_->SetWaveMode(false);
    TimerDemo->stop();
    // The tool bar comes back even when reading the page again fails.
    tools_.ToolBarMain->setEnabled(true);
    PageControlMainChange();
}

void TFormMain::TimerDemoTimer() {
    // Outside the wave this shows the auto-rotation's turns as they come; an unchanged picture
    // is not drawn again.
    if (PageControlMain->currentWidget() == chart_) chart_->RedrawIfChanged();
}

}  // namespace quarmel
