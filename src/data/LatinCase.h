#pragma once

#include <QStringView>

namespace tx {

// Equal when the texts differ at most in the case of Latin letters A-Z; every other
// character must match exactly. This is how the Access engine compares names and
// how SQLite's NOCASE collation and identifier matching behave.
bool equalsIgnoringLatinCase(QStringView a, QStringView b);

} // namespace tx
