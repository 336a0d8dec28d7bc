#pragma once

struct sqlite3;

namespace tx {

class Connection;

// All-or-nothing unit of writes. A savepoint, so that it also nests inside a
// transaction already running; rolled back unless committed.
//
// Made on a connection, it is a caller's unit of several changes (posts and deletes
// of any datasets join it); when it is rolled back, every open dataset of the
// connection is read again, so that none shows a value that was not stored.
class Transaction {
public:
    explicit Transaction(sqlite3* db);
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    // Undoes the changes now; the same as leaving the scope without commit().
    void rollback();

private:
    sqlite3* m_db;
    Connection* m_connection = nullptr;
    bool m_done = false;
};

} // namespace tx
