#pragma once

#include "Connection.h"
#include "Dataset.h"
#include "DatasetModel.h"

#include <QObject>

namespace tx {

struct Services;

// The data module "dm": the connection to the content database and the datasets
// every window borrows in turn. Members are declared, and so bound, in this order.
class Tdm : public QObject {
    Q_OBJECT
    Services& m_services;

public:
    // Touches neither the registry nor the database.
    explicit Tdm(Services& services, QObject* parent = nullptr);
    ~Tdm() override;

    // Registers the data source EDUqlyx for edusz.mdb and connects to it. Empty on
    // success, otherwise one line for standard error naming the file and reason.
    QString DataModuleCreate();
    void DataModuleDestroy();

    Services& services() const { return m_services; }

    Connection ADOConnection1;
    TableDataset SYSTable;
    Dataset ALLQuery;
    Dataset goQuery;
    DatasetModel ALLQueryds;
    Dataset nameQuery;
    DatasetModel goQueryds;
};

} // namespace tx
