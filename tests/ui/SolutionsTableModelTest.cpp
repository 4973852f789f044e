#include "ui/mainwindow/SolutionsTableModel.h"
#include "ui/mainwindow/SolutionsTableView.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "TestApplication.h"
#include "support/SolutionSupport.h"

namespace quarmel {
namespace {

using testing::Make;

QString Cell(const SolutionsTableModel& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

const std::vector<std::string> kNames = {"x", "y", "c"};

TEST(SolutionsTableModel, NewestSolutionFirstAndRowsNumberedFromTheTop) {
    SolutionList list;
    list.Append(Make({1, 2, 3}, 11));
    list.Append(Make({4, 5, 6}, 12));
    list.Append(Make({7, 8, 9.5f}, 13));
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    ASSERT_EQ(m.rowCount(), 3);
    ASSERT_EQ(m.columnCount(), 5);
    EXPECT_EQ(Cell(m, 0, 0), "1");
    EXPECT_EQ(Cell(m, 1, 0), "2");
    EXPECT_EQ(Cell(m, 2, 0), "3");
    // Row 1 is the third solution, the last row the first.
    EXPECT_EQ(Cell(m, 0, 1), "7");
    EXPECT_EQ(Cell(m, 0, 3), "9,5");
    EXPECT_EQ(Cell(m, 0, 4), "13");
    EXPECT_EQ(Cell(m, 2, 1), "1");
    EXPECT_EQ(Cell(m, 2, 4), "11");
}

TEST(SolutionsTableModel, HeaderNamesTheVariablesAndTheFunction) {
    SolutionList list;
    list.Append(Make({1, 2, 3}, 4));
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "Nr");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "x");
    EXPECT_EQ(m.headerData(3, Qt::Horizontal).toString(), "c");
    EXPECT_EQ(m.headerData(4, Qt::Horizontal).toString(), "F(x,y,c)");
    EXPECT_FALSE(m.headerData(0, Qt::Vertical).isValid());
}

TEST(SolutionsTableModel, EmptyListKeepsTheColumnsButNoRowsOrTitles) {
    SolutionList list;
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.ColumnTitle(0), "");
    m.Refill({}, nullptr);
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(m.columnCount(), 2);
}

TEST(SolutionsTableModel, SixSignificantDigitsWithDecimalComma) {
    SolutionList list;
    list.Append(Make({3.14159265f, -0.000001f, 1234567.0f}, 0.1f));
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    EXPECT_EQ(Cell(m, 0, 1), "3,14159");
    EXPECT_EQ(Cell(m, 0, 2), "-1E-6");
    EXPECT_EQ(Cell(m, 0, 3), "1,23457E6");
    EXPECT_EQ(Cell(m, 0, 4), "0,1");
}

TEST(SolutionsTableModel, ShortSolutionsLeaveCellsEmptyAndOutOfRangeGivesNothing) {
    SolutionList list;
    list.Append(Make({1}, 2));
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    EXPECT_EQ(Cell(m, 0, 1), "1");
    EXPECT_EQ(Cell(m, 0, 2), "");
    EXPECT_EQ(Cell(m, 0, 4), "2");
    EXPECT_FALSE(m.data(m.index(1, 0)).isValid());
    EXPECT_FALSE(m.data(m.index(0, 0), Qt::EditRole).isValid());
}

TEST(SolutionsTableModel, ARefillFollowsTheGrowingList) {
    SolutionList list;
    list.Append(Make({1, 1, 1}, 1));
    SolutionsTableModel m;
    int resets = 0;
    QObject::connect(&m, &QAbstractItemModel::modelReset, [&] { ++resets; });
    m.Refill(kNames, &list);
    list.Append(Make({2, 2, 2}, 2));
    m.Refill(kNames, &list);
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(Cell(m, 0, 4), "2");
    EXPECT_EQ(Cell(m, 1, 4), "1");
}

TEST(SolutionsTableModel, AGrownListInsertsItsRowsAboveAndTheSelectionStaysOnItsSolution) {
    SolutionList list;
    SolutionsTableModel m;
    m.Refill(kNames, &list);
    QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    QSignalSpy titles(&m, &QAbstractItemModel::headerDataChanged);
    for (float f : {1.0f, 2.0f, 3.0f}) list.Append(Make({f, f, f}, f));
    EXPECT_FALSE(m.Show(kNames, &list, ListChange::Grown));
    EXPECT_EQ(m.rowCount(), 3);
    EXPECT_EQ(titles.count(), 1);  // the titles come with the first rows
    EXPECT_EQ(m.ColumnTitle(0), "Nr");

    QItemSelectionModel selection(&m);
    selection.setCurrentIndex(m.index(1, 4), QItemSelectionModel::Select);
    list.Append(Make({4, 4, 4}, 4));
    list.Append(Make({5, 5, 5}, 5));
    EXPECT_FALSE(m.Show(kNames, &list, ListChange::Grown));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(Cell(m, 0, 4), "5");
    EXPECT_EQ(selection.currentIndex(), m.index(3, 4));
    EXPECT_EQ(Cell(m, 3, 4), "2");

    // Other variables: a new table, even for a list that only grew.
    EXPECT_TRUE(m.Show({"x", "y"}, &list, ListChange::Grown));
    EXPECT_EQ(m.columnCount(), 4);
}

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
        for (int i = 0; i < c.rows; ++i) list.Append(Make({i * 0.5f, -i * 1.25f, 3}, i));
        SolutionsTableModel model;
        SolutionsTableView view;
        view.verticalHeader()->hide();
        view.setModel(&model);
        model.Refill(kNames, &list);
        view.resize(400, 300);
        view.show();  // painted as the window paints it, the grabs read the screen
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setCurrentIndex(model.index(c.currentRow, c.currentColumn));
        view.verticalScrollBar()->setValue(c.scrolledTo);
        onScreen(view);
        for (int i = 0; i < c.added; ++i) list.Append(Make({-1.0f * i, 2, 4}, -9.0f - i));
        model.Show(kNames, &list, ListChange::Grown);
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
