#pragma once

#include <QString>

namespace tx {

class Connection;
class ProgramPaths;
class RegistryStore;

// The registry record of data source n for database file f next to the executable
// (keys below "Software\ODBC\ODBC.INI"). False at the first key or value that
// cannot be written; nothing after it is written.
bool RegisterDataSource(RegistryStore& registry, const ProgramPaths& paths, const QString& n,
                        const QString& f);

// The connection string the record stands for; descriptive only.
QString DataSourceConnectionString(const QString& n);

// Closes the connection, opens the file that n's record names, then opens every
// dataset bound to the connection that is not open, in binding order. Throws
// DatabaseError; when the file cannot be opened no dataset is opened, and when a
// dataset cannot be opened the connection is closed again.
void ConnectDataSource(Connection& connection, const RegistryStore& registry, const QString& n);

} // namespace tx
