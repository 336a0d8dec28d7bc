#include "DatasetModel.h"

#include "DatabaseError.h"
#include "Dataset.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QMetaObject>

namespace tx {

DatasetModel::DatasetModel(Dataset& dataset, QObject* parent)
    : QAbstractTableModel(parent), m_dataset(dataset) {
    connect(&dataset, &Dataset::opened, this, &DatasetModel::refresh);
    connect(&dataset, &Dataset::closed, this, &DatasetModel::refresh);
    connect(&dataset, &Dataset::changed, this, &DatasetModel::refresh);
}

void DatasetModel::report(const std::exception& error) const {
    // Raised again from the event loop, so that it reaches the one error report and
    // never unwinds through the view that asked.
    const DatabaseError copy(QString::fromUtf8(error.what()));
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [copy] { throw copy; }, Qt::QueuedConnection);
}

void DatasetModel::refresh() {
    beginResetModel();
    endResetModel();
    selectCurrentRow();
}

void DatasetModel::followSelection(QItemSelectionModel* selection) {
    if (m_selection)
        disconnect(m_selection, nullptr, this, nullptr);
    m_selection = selection;
    if (!selection)
        return;
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid() || m_dataset.state() != Dataset::State::Browse ||
                    current.row() == m_dataset.recNo())
                    return;
                try {
                    m_dataset.moveTo(current.row());
                } catch (const std::exception& e) {
                    report(e);
                }
            });
    selectCurrentRow();
}

void DatasetModel::selectCurrentRow() {
    if (!m_selection)
        return;
    const int row = m_dataset.recNo();
    if (!m_dataset.isOpen() || row >= rowCount() || columnCount() == 0) {
        m_selection->clear();
        return;
    }
    m_selection->setCurrentIndex(index(row, 0),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    try {
        return m_dataset.recordCount();
    } catch (const std::exception& e) {
        report(e);
        return 0;
    }
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_dataset.isOpen() ? 0 : m_dataset.fieldCount();
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    try {
        const QVariant value = m_dataset.valueAt(index.row(), index.column());
        // Pictures are not text; a grid shows nothing for them.
        if (value.typeId() == QMetaType::QByteArray)
            return {};
        return Field::toText(value);
    } catch (const std::exception& e) {
        report(e);
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QStringList names = m_dataset.fieldNames();
    return section >= 0 && section < names.size() ? QVariant(names[section]) : QVariant();
}

} // namespace tx
