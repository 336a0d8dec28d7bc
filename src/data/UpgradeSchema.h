#pragma once

#include <QString>

namespace tx {

class Connection;
class Tdm;

// Creates the recipe table when it is missing and adds, one by one, the columns an
// older database lacks. Statements run on dm.goQuery; the first failing statement
// throws DatabaseError and nothing after it runs.
void UpgradeSchema(Tdm& dm, const QString& table);

// Whether the database holds a table or view of that name, letter case aside.
bool TableExists(Connection& connection, const QString& name);
bool TableExists(Tdm& dm, const QString& name);

// Adds column as varchar(width) to table unless a field of that name (letter case
// aside) is there already. width is 15 or 150.
void EnsureColumn(Tdm& dm, const QString& table, const QString& column, int width);

} // namespace tx
