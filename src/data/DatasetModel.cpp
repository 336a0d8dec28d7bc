#include "DatasetModel.h"

#include "Dataset.h"

namespace tx {

DatasetModel::DatasetModel(Dataset& dataset, QObject* parent)
    : QAbstractTableModel(parent), m_dataset(dataset) {
    connect(&dataset, &Dataset::opened, this, &DatasetModel::refresh);
    connect(&dataset, &Dataset::closed, this, &DatasetModel::refresh);
    connect(&dataset, &Dataset::changed, this, &DatasetModel::refresh);
}

void DatasetModel::refresh() {
    beginResetModel();
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_dataset.recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_dataset.isOpen() ? 0 : m_dataset.fieldCount();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const QVariant value = m_dataset.valueAt(index.row(), index.column());
    // Pictures are not text; a grid shows nothing for them.
    if (value.typeId() == QMetaType::QByteArray)
        return {};
    return Field::toText(value);
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QStringList names = m_dataset.fieldNames();
    return section >= 0 && section < names.size() ? QVariant(names[section]) : QVariant();
}

} // namespace tx
