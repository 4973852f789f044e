#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QWidget;

namespace quarmel {

class ChartPage;
class FunctionPage;
class TFormMain;

// A start picked on the chart: the picked values become the defaults of the two chart variables
// on the Function page, as if typed there, and Undo (outside a text field, which keeps its own)
// puts back the defaults each pick replaced, the latest first. Picks are ignored during a run,
// when the page cannot be typed on either.
class PickedStart : public QObject {
    Q_OBJECT

  public:
    PickedStart(TFormMain* form, FunctionPage* function, ChartPage* chart);

    // Whether a pick can be undone.
    bool CanUndo() const { return !undo_.empty(); }
    void Undo();

  private:
    // One default cell as it was before a pick, and what the pick wrote: a cell changed since
    // (typed over, another file opened) is left as it is.
    struct Cell {
        int Row;
        QString Text;
        QString Written;
    };
    void Pick(const QString& xName, double x, const QString& yName, double y);
    // The variables table's row of the variable named, or -1.
    int RowOf(const QString& name) const;

    TFormMain* form_;
    FunctionPage* function_;
    ChartPage* chart_;
    std::vector<std::vector<Cell>> undo_;
};

}  // namespace quarmel
