#include "Connection.h"

#include "AccessDialect.h"
#include "DatabaseError.h"
#include "DatabaseFile.h"
#include "Dataset.h"
#include "Statement.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <sqlite3.h>

namespace tx {

namespace {

constexpr int kBusyTimeoutMs = 5000;

} // namespace

Connection::~Connection() {
    close();
    for (Dataset* d : m_datasets)
        d->detachFromConnection();
}

void Connection::open(const QString& file) {
    close();
    const auto refuse = [&](const QString& reason) {
        throw DatabaseError(QStringLiteral("cannot open database \"%1\": %2").arg(file, reason));
    };
    if (const QString problem = databaseFileProblem(file); !problem.isEmpty())
        refuse(problem);

    // An absolute path never reads as a "file:" address.
    const QByteArray path = QFile::encodeName(QFileInfo(file).absoluteFilePath());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString reason =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        refuse(reason);
    }
    try {
        if (sqlite3_db_readonly(db, "main") != 0)
            refuse(QStringLiteral("file is read-only"));
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        {
            Statement count(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            count.step();
        }
        Statement wal(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        if (!wal.step() || wal.value(0).toString().compare("wal", Qt::CaseInsensitive) != 0)
            refuse(QStringLiteral("cannot switch to write-ahead logging"));
    } catch (const DatabaseError& e) {
        sqlite3_close_v2(db);
        if (e.message().startsWith(QStringLiteral("cannot open database")))
            throw;
        refuse(e.message());
    }
    m_db = db;
    m_file = file;
    m_readOnly = false;
}

void Connection::openReadOnly(const QString& file) {
    close();
    const auto refuse = [&](const QString& reason) {
        throw DatabaseError(QStringLiteral("cannot open database \"%1\": %2").arg(file, reason));
    };
    if (const QString problem = databaseFileProblem(file, FileAccess::ReadOnly); !problem.isEmpty())
        refuse(problem);

    // "immutable": no locks, no journal, no -wal or -shm, so not even a read leaves a
    // trace, and a file in a folder the user cannot write still opens.
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toEncoded() +
                           QByteArrayLiteral("?immutable=1");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        const QString reason =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        refuse(reason);
    }
    try {
        Statement count(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        count.step();
    } catch (const DatabaseError& e) {
        sqlite3_close_v2(db);
        refuse(e.message());
    }
    m_db = db;
    m_file = file;
    m_readOnly = true;
}

void Connection::close() {
    for (Dataset* d : m_datasets)
        d->close();
    if (!m_db)
        return;
    // Every dataset has finalized its statements, so close_v2 frees at once.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

QStringList Connection::tableNames() const {
    Statement st(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type IN "
                                      "('table','view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"
                                      " ORDER BY rowid"));
    QStringList names;
    while (st.step())
        names << st.value(0).toString();
    return names;
}

void Connection::execute(const QString& sql) {
    Statement(m_db, translateAccessStatement(sql)).run();
}

void Connection::bindDataset(Dataset* dataset) {
    if (std::find(m_datasets.begin(), m_datasets.end(), dataset) == m_datasets.end())
        m_datasets.push_back(dataset);
}

void Connection::unbindDataset(Dataset* dataset) {
    std::erase(m_datasets, dataset);
}

} // namespace tx
