#pragma once

#include <QAbstractTableModel>

namespace tx {

class Dataset;

// Read-only grid model of a dataset's current result; follows the dataset as it is
// opened, closed and written. Column headers are the field names.
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

private:
    void refresh();
    Dataset& m_dataset;
};

} // namespace tx
