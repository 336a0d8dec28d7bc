#pragma once

#include <QString>

namespace tx {

// Column definition in SQLite for an Access column type: varchar(n) keeps its width
// as a check, memo is long text, IMAGE a blob, and text compares like the Access
// engine (Latin letters without regard to case).
QString sqliteColumnDefinition(const QString& column, const QString& accessType);

// Maps the Access statements the program issues (ALTER TABLE ... ADD COLUMN and
// CREATE TABLE with a column list) to SQLite; other statements pass unchanged.
QString translateAccessStatement(const QString& sql);

} // namespace tx
