#pragma once

#include <QString>
#include <optional>

namespace tx {

// Text to a signed 32-bit integer as an edit box's number is read: optional leading
// blanks, an optional sign, then decimal digits and nothing after them.
std::optional<qint32> parseInt32(const QString& text);

} // namespace tx
