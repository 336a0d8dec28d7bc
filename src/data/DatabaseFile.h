#pragma once

#include <QString>

namespace tx {

// Why a file cannot serve as the program's database, checked before SQLite sees it
// (SQLite would accept an empty file as a new database and read a truncated one
// until it meets the missing pages). Empty when the file looks sound.
// A read-only use needs no write access.
enum class FileAccess { ReadWrite, ReadOnly };
QString databaseFileProblem(const QString& file, FileAccess access = FileAccess::ReadWrite);

} // namespace tx
