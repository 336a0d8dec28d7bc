#pragma once

#include "Library.h"

#include <QString>

namespace tx::content {

// Writes the library into a new database at dbPath with the shipped tables; the file
// appears complete or not at all. Items' 声音 name their recordings in programDir by
// paths relative to it ("字语音库/一.wav"), which resolve against the program's working
// directory wherever the folder was copied or moved.
// With ifMissing an existing file is left alone (answer false). Throws
// std::runtime_error on failure and leaves nothing behind.
bool writeDatabase(const Library& library, const QString& dbPath, const QString& programDir,
                   bool ifMissing);

} // namespace tx::content
