#pragma once

#include <QStringList>

namespace tx {

// The tables the program ships with and never creates itself: the three chapter
// tables, the three item tables and SYS. Number columns are unique whole numbers.
// With upgradeColumns the item tables and SYS also carry the columns that the
// start-up upgrade adds (图片, PIC, 课件地址), as a current starter database does.
QStringList shippedSchemaStatements(bool upgradeColumns);

} // namespace tx
