#pragma once

#include <QTableView>

class QStyledItemDelegate;
#include <span>

namespace tx {

class DatasetModel;
struct GridColumn;

// The editors' read-only grid over a shared dataset: only the given columns, in their
// order and widths, the emphasised one in red bold; the selected row is the dataset's
// current row. The layout is applied again whenever the dataset is reopened, since a
// shared dataset may come back with other columns.
class EditorGrid : public QTableView {
    Q_OBJECT

public:
    EditorGrid(DatasetModel& model, std::span<const GridColumn> columns, QWidget* parent = nullptr);

private:
    void applyColumns();

    DatasetModel& model_;
    std::span<const GridColumn> columns_;
    QStyledItemDelegate* emphasis_ = nullptr;
};

} // namespace tx
