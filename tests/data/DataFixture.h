#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace tx::test {

// Creates a database file by running statements through SQLite directly.
void createDatabase(const QString& file, const QStringList& statements);
// Runs one statement on a file and answers the first column of every row.
QVariantList queryColumn(const QString& file, const QString& sql);
// Everything SQLite knows of the schema, as one text.
QString schemaText(const QString& file);
// Column names of a table in order, each followed by a blank and its declared type.
QStringList columnsOf(const QString& file, const QString& table);

// The shipped tables (with or without the upgrade's columns) and the one SYS row.
QStringList shippedDatabase(bool upgradeColumns);

} // namespace tx::test
