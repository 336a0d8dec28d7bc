#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace tx {

// One prepared SQLite statement. Values come back as QVariant: null, qint64, double,
// QString (text) or QByteArray (blob). Every failure throws DatabaseError naming the
// statement.
class Statement {
public:
    // Exactly one statement; trailing text other than blanks and ';' is refused.
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int parameterCount() const;
    // Name with its ':' prefix; empty for a positional '?'.
    QString parameterName(int index) const;
    void bind(int index, const QVariant& value);

    // True when a row is ready, false when the statement has finished.
    bool step();
    // Steps until finished (rows, if any, are passed over).
    void run();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const;
    // Origin of a result column; empty for an expression.
    QString originTable(int column) const;
    QString originColumn(int column) const;
    QString originDatabase(int column) const;
    QString declaredType(int column) const;

    const QString& sql() const { return m_sql; }
    sqlite3_stmt* handle() const { return m_stmt; }
    [[noreturn]] void fail(const QString& what) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

} // namespace tx
