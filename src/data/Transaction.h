#pragma once

struct sqlite3;

namespace tx {

// All-or-nothing unit of writes. A savepoint, so that it also nests inside a
// transaction already running; rolled back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    sqlite3* m_db;
    bool m_done = false;
};

} // namespace tx
