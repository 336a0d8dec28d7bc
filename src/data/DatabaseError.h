#pragma once

#include <QString>
#include <stdexcept>

namespace tx {

// Every failure of the database engine: the engine's own message together with the
// statement, field or file it concerns.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace tx
