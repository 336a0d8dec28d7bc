#include "DataSource.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "platform/ProgramPaths.h"
#include "platform/RegistryStore.h"

namespace tx {

namespace {

const QString kOdbcIni = QStringLiteral("Software\\ODBC\\ODBC.INI\\");

// Opens (or creates) the key, writes its values, closes it again.
template <typename Values>
bool writeKey(RegistryStore& registry, const QString& key, Values values) {
    if (!registry.openKey(key))
        return false;
    const bool written = values();
    registry.closeKey();
    return written;
}

} // namespace

bool RegisterDataSource(RegistryStore& registry, const ProgramPaths& paths, const QString& n,
                        const QString& f) {
    const QString exe = paths.executablePath();
    const QString folder = exe.left(exe.lastIndexOf('/') + 1);
    const QByteArray zero(1, '\0');
    return writeKey(registry, kOdbcIni + QStringLiteral("ODBC Data Sources"),
                    [&] {
                        return registry.writeString(
                            n, QStringLiteral("Microsoft Access Driver (*.mdb)"));
                    }) &&
           writeKey(registry, kOdbcIni + n,
                    [&] {
                        return registry.writeString(QStringLiteral("DBQ"), folder + f) &&
                               registry.writeString(QStringLiteral("Description"),
                                                    QStringLiteral("我的新数据源")) &&
                               registry.writeString(
                                   QStringLiteral("Driver"),
                                   QStringLiteral("C:\\WINNT\\System32\\odbcjt32.dll")) &&
                               registry.writeInteger(QStringLiteral("DriverId"), 25) &&
                               registry.writeString(QStringLiteral("FIL"), n + ';') &&
                               registry.writeInteger(QStringLiteral("SafeTransaction"), 0) &&
                               registry.writeString(QStringLiteral("UID"), QString()) &&
                               registry.writeBinary(QStringLiteral("Exclusive"), zero) &&
                               registry.writeBinary(QStringLiteral("ReadOnly"), zero);
                    }) &&
           writeKey(registry, kOdbcIni + n + QStringLiteral("\\Engines\\Jet"), [&] {
               return registry.writeString(QStringLiteral("ImplicitCommitSync"),
                                           QStringLiteral("Yes")) &&
                      registry.writeInteger(QStringLiteral("MaxBufferSize"), 512) &&
                      registry.writeInteger(QStringLiteral("PageTimeout"), 10) &&
                      registry.writeInteger(QStringLiteral("Threads"), 3) &&
                      registry.writeString(QStringLiteral("UserCommitSync"), QStringLiteral("Yes"));
           });
}

QString DataSourceConnectionString(const QString& n) {
    return QStringLiteral("Provider=MSDASQL.1;Password=tbwqnxle;Persist Security Info=false;User "
                          "ID=admin;Data Source=") +
           n;
}

void ConnectDataSource(Connection& connection, const RegistryStore& registry, const QString& n) {
    connection.close();
    connection.setConnectionString(DataSourceConnectionString(n));
    const auto dbq = registry.read(kOdbcIni + n, QStringLiteral("DBQ"));
    if (!dbq || dbq->type != RegistryType::String)
        throw DatabaseError(
            QStringLiteral("cannot open database: data source %1 names no database file").arg(n));
    connection.open(dbq->text);
    try {
        // A copy: opening a dataset must not disturb the walk.
        const std::vector<Dataset*> datasets = connection.boundDatasets();
        for (Dataset* d : datasets)
            if (!d->isOpen())
                d->open();
    } catch (const DatabaseError& e) {
        connection.close();
        throw DatabaseError(
            QStringLiteral("cannot open database \"%1\": %2").arg(dbq->text, e.message()));
    }
}

} // namespace tx
