#include "Tdm.h"

#include "DataSource.h"
#include "DatabaseError.h"
#include "platform/Services.h"

namespace tx {

namespace {

const QString kDataSource = QStringLiteral("EDUqlyx");
const QString kDatabaseFile = QStringLiteral("edusz.mdb");

} // namespace

Tdm::Tdm(Services& services, QObject* parent)
    : QObject(parent), m_services(services), SYSTable(ADOConnection1, QStringLiteral("SYS"), this),
      ALLQuery(ADOConnection1, QStringLiteral("select * from ZJ"), this),
      goQuery(ADOConnection1, QStringLiteral("select * from szSound"), this),
      ALLQueryds(ALLQuery, this),
      nameQuery(ADOConnection1, QStringLiteral("select * from ZJ"), this),
      goQueryds(goQuery, this) {
    setObjectName(QStringLiteral("dm"));
    SYSTable.setObjectName(QStringLiteral("SYSTable"));
    ALLQuery.setObjectName(QStringLiteral("ALLQuery"));
    goQuery.setObjectName(QStringLiteral("goQuery"));
    ALLQueryds.setObjectName(QStringLiteral("ALLQueryds"));
    nameQuery.setObjectName(QStringLiteral("nameQuery"));
    goQueryds.setObjectName(QStringLiteral("goQueryds"));
}

Tdm::~Tdm() {
    DataModuleDestroy();
}

QString Tdm::DataModuleCreate() {
    if (!m_services.registry || !m_services.paths)
        return QStringLiteral("tongxue: no registry store or program paths to find the database");
    if (!RegisterDataSource(*m_services.registry, *m_services.paths, kDataSource, kDatabaseFile))
        return QStringLiteral("tongxue: cannot write the data source record for ") + kDataSource;
    try {
        ConnectDataSource(ADOConnection1, *m_services.registry, kDataSource);
    } catch (const DatabaseError& e) {
        return QStringLiteral("tongxue: ") + e.message();
    }
    return {};
}

void Tdm::DataModuleDestroy() {
    ADOConnection1.close();
}

} // namespace tx
