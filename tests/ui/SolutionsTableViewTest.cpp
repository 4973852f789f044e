#include "ui/SolutionsTableView.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "TestApplication.h"
#include "support/SolutionSupport.h"
#include "ui/SolutionsTableModel.h"

namespace quarmel {
namespace {

// New rows painting only what changes give the picture of a full repaint: at the top, scrolled
// away, at the end, with the current cell in the number column or not, with a long list.
TEST(SolutionsTableView, NewRowsPaintWhatAFullRepaintPaints) {
    testing::TestApplication();
    const auto onScreen = [](QWidget& w) {
        QApplication::processEvents();
        return QGuiApplication::primaryScreen()->grabWindow(w.winId()).toImage();
    };
    struct {
        int rows, scrolledTo, added, currentRow, currentColumn;
    } cases[] = {{200, 0, 5, 2, 3},   {200, 0, 1, 2, 0},      {200, 0, 3, 4, 2},
                 {200, 30, 5, 32, 3}, {200, 1000, 4, 195, 0}, {100000, 0, 5, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows + c.scrolledTo);
        SolutionList list;
        for (int i = 0; i < c.rows; ++i) list.Append(testing::Make({i * 0.5f, -i * 1.25f, 3}, i));
        SolutionsTableModel model;
        SolutionsTableView view;
        view.verticalHeader()->hide();
        view.setModel(&model);
        model.Refill({"x", "y", "c"}, &list);
        view.resize(400, 300);
        view.show();  // painted as the window paints it, the grabs read the screen
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setCurrentIndex(model.index(c.currentRow, c.currentColumn));
        view.verticalScrollBar()->setValue(c.scrolledTo);
        onScreen(view);
        for (int i = 0; i < c.added; ++i) list.Append(testing::Make({-1.0f * i, 2, 4}, -9.0f - i));
        model.Show({"x", "y", "c"}, &list, ListChange::Grown);
        view.ShowRowsInsertedAtTop(c.added);
        const QImage shifted = onScreen(view);
        QScrollBar* bar = view.verticalScrollBar();
        EXPECT_EQ(shifted.copy(QRect(bar->mapTo(&view, QPoint()), bar->size())),
                  bar->grab().toImage().convertToFormat(shifted.format()));
        view.viewport()->repaint();
        EXPECT_EQ(shifted, onScreen(view));
    }
}

}  // namespace
}  // namespace quarmel
