#include "Transaction.h"

#include "Statement.h"

#include <QtGlobal>
#include <sqlite3.h>

namespace tx {

Transaction::Transaction(sqlite3* db) : m_db(db) {
    Statement(db, QStringLiteral("SAVEPOINT tx_write")).run();
}

Transaction::~Transaction() {
    if (m_done)
        return;
    // An exception is already on its way and names the failure that matters; a
    // failing rollback cannot be thrown from here, so it is at least told.
    if (sqlite3_exec(m_db, "ROLLBACK TO tx_write; RELEASE tx_write", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        qWarning("tongxue: rollback failed: %s", sqlite3_errmsg(m_db));
}

void Transaction::commit() {
    Statement(m_db, QStringLiteral("RELEASE tx_write")).run();
    m_done = true;
}

} // namespace tx
