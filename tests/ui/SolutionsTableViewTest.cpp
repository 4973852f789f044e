#include "ui/SolutionsTableView.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "TestApplication.h"
#include "support/SolutionSupport.h"
#include "ui/SolutionsTableModel.h"

namespace quarmel {
namespace {

using testing::Make;

const std::vector<std::string> kNames = {"x", "y", "c"};

// What the window shows on the screen, as the view left it (not painted again for the grab).
QImage OnScreen(QWidget& view) {
    QApplication::processEvents();
    return QGuiApplication::primaryScreen()->grabWindow(view.winId()).toImage();
}

// New rows shown with only the changed pixels painted give the picture a full repaint gives, at
// the top (the rows move down) and scrolled away, also to the end (the rows stay, their numbers
// change), with a selected cell moving with its solution, also one in the number column.
TEST(SolutionsTableView, NewRowsPaintWhatAFullRepaintPaints) {
    testing::TestApplication();
    // A long list's scroll bar handle has its least length: new rows at the top leave it as it was.
    struct Case {
        int rows;
        int scrolledTo;
        int added;
        int currentRow;
        int currentColumn;
    } cases[] = {{200, 0, 5, 2, 3},   {200, 0, 1, 2, 0},      {200, 0, 3, 4, 2},
                 {200, 30, 5, 32, 3}, {200, 1000, 4, 195, 0}, {100000, 0, 5, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows + c.scrolledTo);
        SolutionList list;
        for (int i = 0; i < c.rows; ++i) list.Append(Make({i * 0.5f, -i * 1.25f, 3}, i * 7.0f));
        SolutionsTableModel model;
        SolutionsTableView view;
        view.verticalHeader()->hide();
        view.setModel(&model);
        model.Refill(kNames, &list);
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setCurrentIndex(model.index(c.currentRow, c.currentColumn));
        view.verticalScrollBar()->setValue(c.scrolledTo);
        const QModelIndex topBefore = view.indexAt(QPoint(1, 1));
        OnScreen(view);

        for (int i = 0; i < c.added; ++i) list.Append(Make({-1.0f * i, 2, 4}, -9.0f - i));
        const int rowsBefore = model.rowCount();
        model.Show(kNames, &list, ListChange::Grown);
        view.ShowRowsInsertedAtTop(model.rowCount() - rowsBefore);
        const QImage shifted = OnScreen(view);
        EXPECT_EQ(view.indexAt(QPoint(1, 1)).row(),
                  c.scrolledTo == 0 ? 0 : topBefore.row() + c.added);
        EXPECT_EQ(view.currentIndex(), model.index(c.currentRow + c.added, c.currentColumn));

        // The scroll bar as it paints itself now.
        QScrollBar* bar = view.verticalScrollBar();
        const QRect barRect(bar->mapTo(&view, QPoint(0, 0)), bar->size());
        EXPECT_EQ(shifted.copy(barRect), bar->grab().toImage().convertToFormat(shifted.format()));
        view.viewport()->repaint();
        EXPECT_EQ(shifted, OnScreen(view));
    }
}

}  // namespace
}  // namespace quarmel
