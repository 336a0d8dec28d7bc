#include "Transaction.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "Statement.h"

#include <QtGlobal>
#include <sqlite3.h>

namespace tx {

Transaction::Transaction(sqlite3* db) : m_db(db) {
    Statement(db, QStringLiteral("SAVEPOINT tx_write")).run();
}

Transaction::Transaction(Connection& connection)
    : Transaction(connection.isOpen() ? connection.handle()
                                      : throw DatabaseError(QStringLiteral(
                                            "transaction: the connection is not open"))) {
    m_connection = &connection;
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::commit() {
    Statement(m_db, QStringLiteral("RELEASE tx_write")).run();
    m_done = true;
}

void Transaction::rollback() {
    if (m_done)
        return;
    m_done = true;
    // Usually an exception is already on its way and names the failure that matters;
    // a failing rollback cannot be thrown from here, so it is at least told.
    if (sqlite3_exec(m_db, "ROLLBACK TO tx_write; RELEASE tx_write", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        qWarning("tongxue: rollback failed: %s", sqlite3_errmsg(m_db));
    if (!m_connection)
        return;
    for (Dataset* d : m_connection->boundDatasets()) {
        if (!d->isOpen())
            continue;
        try {
            d->reopen();
        } catch (const DatabaseError&) {
            // The dataset is left failed: it throws on every read until reopened.
        }
    }
}

} // namespace tx
