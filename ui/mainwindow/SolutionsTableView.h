#pragma once

#include <QTableView>

namespace quarmel {

// The Solutions page's table, whose rows come in at the top while a run goes on. Showing new
// rows repaints only the pixels that change: at the top the rows in view move down and only the
// new rows and the number column are painted; scrolled away, the view stays on its solutions and
// only the number column is painted again. A plain table view repaints every visible cell. The
// scroll bar too is painted again only when its picture changes.
class SolutionsTableView : public QTableView {
    Q_OBJECT

  public:
    explicit SolutionsTableView(QWidget* parent = nullptr);

    // Shows `count` rows the model has just inserted at the top.
    void ShowRowsInsertedAtTop(int count);

    void doItemsLayout() override;

  private:
    void UpdateNumberColumn();
    // Whether a cell of the number column is selected or current: painted apart from the others.
    bool NumberCellsMarked() const;

    bool shifting_ = false;  // lays out without repainting the whole viewport
};

}  // namespace quarmel
