#pragma once

class QLineEdit;

namespace tx {

class Dialogs;

// Whether the box holds a whole number; otherwise warns, empties and focuses the box.
bool CheckPositiveInteger(Dialogs& dialogs, QLineEdit* box);

} // namespace tx
