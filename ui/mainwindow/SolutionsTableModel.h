#pragma once

#include "app/runs/RunProgress.h"
#include "model/Solution.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <vector>

namespace quarmel {

// The Solutions page: one row per Solution, the newest in the first row, numbered 1 to count from
// the top in the "Nr" column, then the variable values and the function value. The model reads
// the list it is given when rows are painted, so a refill costs the same whatever the length of
// the run and only visible rows are ever formatted. A list that grew gets its new rows inserted
// at the top, so the views keep their selection and current cell on the solutions they were on.
class SolutionsTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit SolutionsTableModel(QObject* parent = nullptr);

    // Shows `solutions` under the columns of a problem with these variable names. The list is
    // not copied: it must stay alive until the next Refill or Show (the window passes its own
    // result list), and rows it no longer holds show empty cells until then. Null shows nothing.
    void Refill(const std::vector<std::string>& variableNames, const SolutionList* solutions);

    // As Refill, told how the list changed since the table last showed it: an unchanged list
    // changes nothing, a grown one inserts the new rows, anything else (also other variables or
    // another list) resets the model. Returns whether it did.
    bool Show(const std::vector<std::string>& variableNames, const SolutionList* solutions,
              ListChange change);

    // Column titles: "Nr", the names, then "F(" the names joined by "," ")". Empty while there
    // are no solutions.
    QString ColumnTitle(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QStringList titles_;
    std::vector<std::string> names_;
    const SolutionList* solutions_ = nullptr;
    int variables_ = 0;
    int rows_ = 0;  // the solutions the views were told of
};

}  // namespace quarmel
