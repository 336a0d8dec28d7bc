#pragma once

#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

namespace tx {

class Dataset;

// The one connection to a database file. Opening never creates a file; the
// datasets made on a connection bind themselves to it in the order they are made.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Read-write, write-ahead logging, a busy timeout. Throws DatabaseError
    // "cannot open database "<file>": <reason>".
    void open(const QString& file);
    // Reads a database that may belong to someone else (a downloaded file, a file
    // the user cannot write): never writes to it, changes nothing about it and leaves
    // nothing beside it. Throws DatabaseError as open() does, also for a file that is
    // not a database.
    void openReadOnly(const QString& file);
    bool isReadOnly() const { return m_readOnly; }
    // Closes the bound datasets first. Closing a closed connection does nothing.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString fileName() const { return m_file; }

    // Tables and views, without SQLite's own tables.
    QStringList tableNames() const;
    // A statement without rows, in the Access dialect or SQLite's.
    void execute(const QString& sql);

    // Descriptive only: SQLite needs no connection string.
    void setConnectionString(const QString& text) { m_connectionString = text; }
    QString connectionString() const { return m_connectionString; }

    const std::vector<Dataset*>& boundDatasets() const { return m_datasets; }
    void bindDataset(Dataset* dataset);
    void unbindDataset(Dataset* dataset);

    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    QString m_file;
    bool m_readOnly = false;
    QString m_connectionString;
    std::vector<Dataset*> m_datasets;
};

} // namespace tx
