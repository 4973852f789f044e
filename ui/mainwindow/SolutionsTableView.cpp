#include "ui/mainwindow/SolutionsTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <tuple>

namespace quarmel {
namespace {

// A scroll bar that paints itself again only when what it shows changes: the handle of a long
// table has its least length, so rows coming in at the top mostly leave the bar as it was.
class SteadyScrollBar : public QScrollBar {
  public:
    using QScrollBar::QScrollBar;

  protected:
    void sliderChange(SliderChange change) override {
        if (change != SliderOrientationChange && Look() == painted_) return;
        QScrollBar::sliderChange(change);
    }
    void paintEvent(QPaintEvent* event) override {
        painted_ = Look();
        QScrollBar::paintEvent(event);
    }

  private:
    // The handle's place and whether either end is reached (the arrows' state).
    std::tuple<QRect, bool, bool> Look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarSlider, this);
        return {handle, value() == minimum(), value() == maximum()};
    }
    std::tuple<QRect, bool, bool> painted_;
};

}  // namespace

SolutionsTableView::SolutionsTableView(QWidget* parent) : QTableView(parent) {
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
}

void SolutionsTableView::doItemsLayout() {
    if (!shifting_) {
        QTableView::doItemsLayout();
        return;
    }
    // The base lays out the same way, then repaints everything.
    updateGeometries();
}

void SolutionsTableView::UpdateNumberColumn() {
    viewport()->update(QRect(columnViewportPosition(0), 0, columnWidth(0), viewport()->height()));
}

bool SolutionsTableView::NumberCellsMarked() const {
    if (currentIndex().column() == 0) return true;
    const QItemSelection selection = selectionModel()->selection();
    return std::any_of(selection.begin(), selection.end(),
                       [](const QItemSelectionRange& range) { return range.left() == 0; });
}

void SolutionsTableView::ShowRowsInsertedAtTop(int count) {
    if (count <= 0 || model() == nullptr) return;
    QScrollBar* bar = verticalScrollBar();
    const int scrolledTo = bar->value();
    const int offset = verticalHeader()->offset();
    const int rows = model()->rowCount();
    // Every row has the header's default height: the header is hidden and rows are never sized.
    const int rowHeight = verticalHeader()->defaultSectionSize();
    const int shift = count * rowHeight;
    const bool filled = (rows - count) * rowHeight >= viewport()->height();
    const bool plain = !isVisible() || (scrolledTo == 0 && !filled);
    shifting_ = !plain;
    // Runs the layout the inserted rows asked for now, so it cannot repaint everything later.
    executeDelayedItemsLayout();
    if (plain) {
        doItemsLayout();
    } else {
        updateGeometries();
    }
    shifting_ = false;
    if (scrolledTo == 0) {
        // At the top the rows in view move down under the new ones. The numbers stay in place,
        // but a selected or current number cell moves with its row.
        if (!plain) {
            const QRect all = viewport()->rect();
            const int numbersLeft = columnViewportPosition(0);
            const int numbersRight = numbersLeft + columnWidth(0);
            for (const QRect& r :
                 {QRect(QPoint(all.left(), 0), QPoint(numbersLeft - 1, all.bottom())),
                  QRect(QPoint(numbersRight, 0), all.bottomRight())}) {
                if (r.isValid()) viewport()->scroll(0, shift, r);
            }
            if (NumberCellsMarked()) UpdateNumberColumn();
        }
        return;
    }
    // Scrolled away, the same solutions stay in view, now with higher numbers.
    const int step = verticalScrollMode() == ScrollPerItem ? 1 : rowHeight;
    if (plain) {
        bar->setValue(scrolledTo + count * step);
        return;
    }
    {
        // Moving the bar would scroll the pixels: the rows under them moved by as much.
        const QSignalBlocker block(bar);
        bar->setValue(scrolledTo + count * step);
    }
    // Scrolled to the end, the last row ends at the bottom: the offset is not a row's position.
    verticalHeader()->setOffset(offset + shift);
    UpdateNumberColumn();
}

}  // namespace quarmel
