#include "ui/mainwindow/SolutionsTableModel.h"

#include "app/text/NumberText.h"

namespace quarmel {

SolutionsTableModel::SolutionsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void SolutionsTableModel::Refill(const std::vector<std::string>& variableNames,
                                 const SolutionList* solutions) {
    Show(variableNames, solutions, ListChange::Replaced);
}

bool SolutionsTableModel::Show(const std::vector<std::string>& variableNames,
                               const SolutionList* solutions, ListChange change) {
    const int count = solutions ? static_cast<int>(solutions->Count()) : 0;
    const bool same = solutions == solutions_ && variableNames == names_;
    if (same && change == ListChange::None && count == rows_) return false;
    if (same && change == ListChange::Grown && count > rows_) {
        const bool hadTitles = rows_ > 0;
        // The newest solutions come first: the rows already shown move down unchanged.
        beginInsertRows(QModelIndex(), 0, count - rows_ - 1);
        rows_ = count;
        endInsertRows();
        if (!hadTitles) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        return false;
    }
    beginResetModel();
    solutions_ = solutions;
    names_ = variableNames;
    rows_ = count;
    variables_ = static_cast<int>(variableNames.size());
    titles_.clear();
    titles_.append("Nr");
    QString joined;
    for (const std::string& name : variableNames) {
        titles_.append(QString::fromStdString(name));
        if (!joined.isEmpty()) joined += ',';
        joined += QString::fromStdString(name);
    }
    titles_.append("F(" + joined + ")");
    endResetModel();
    return true;
}

QString SolutionsTableModel::ColumnTitle(int column) const {
    if (rowCount() == 0 || column < 0 || column >= titles_.size()) return {};
    return titles_[column];
}

int SolutionsTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return rows_;
}

int SolutionsTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return variables_ + 2;
}

QVariant SolutionsTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || solutions_ == nullptr) return {};
    const int row = index.row();
    const int column = index.column();
    const int count = rowCount();
    if (row < 0 || row >= count) return {};
    if (column == 0) return QString::number(row + 1);
    // Row 1 shows the newest Solution. A list changed since the last Show shows nothing.
    const auto at = static_cast<std::size_t>(count - 1 - row);
    if (at >= solutions_->Count()) return QString();
    const SolutionView s = solutions_->At(at);
    if (column == variables_ + 1) return QString::fromStdString(GeneralText(s.Value, 6));
    const int variable = column - 1;
    // A list read from a file may hold fewer values than the problem has variables.
    if (variable >= static_cast<int>(s.Values.size())) return QString();
    return QString::fromStdString(GeneralText(s.Values[variable], 6));
}

QVariant SolutionsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return {};
    return ColumnTitle(section);
}

}  // namespace quarmel
