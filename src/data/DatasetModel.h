#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class QItemSelectionModel;

namespace tx {

class Dataset;

// Read-only grid model of a dataset's current result; follows the dataset as it is
// opened, closed and written. Column headers are the field names. Nothing it is asked
// by a view throws: a failing read is sent to the program's error report (through the
// event loop) and the view shows the cell empty.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset& dataset, QObject* parent = nullptr);
    Dataset& dataset() const { return m_dataset; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The grid's selected row is the dataset's current row: selecting a row makes it
    // current, and after the dataset is opened or written its current row is selected
    // (the first row after a reopen).
    void followSelection(QItemSelectionModel* selection);

private:
    void refresh();
    void selectCurrentRow();
    void report(const std::exception& error) const;
    Dataset& m_dataset;
    QPointer<QItemSelectionModel> m_selection;
};

} // namespace tx
