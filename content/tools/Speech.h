#pragma once

#include "Library.h"

#include <QList>
#include <QString>

namespace tx::content {

struct SpeechJob {
    QString path; // the .wav to make
    QString voice;
    int rate = 120;
    QString text;
};

// Full path of an item's recording in the program folder, or empty when it has none.
QString soundPath(const Module& module, const Item& item, const QString& programDir);

// The recording's path as the database stores it: relative to the program folder
// ("字语音库/一.wav"), so that the folder can be copied or moved; empty when it has none.
QString storedSoundPath(const Module& module, const Item& item);

// Every recording of the library: the items' and the quiz's.
QList<SpeechJob> speechJobs(const Library& library, const QString& programDir);

struct SpeechResult {
    int made = 0;
    int kept = 0;
    int left = 0; // files that are not the builder's own (a teacher's), never touched
};

// Speaks the jobs whose file is missing, or whose file is still the one the builder made
// and whose text, voice or rate changed since (a stamp file per folder remembers the
// text and the hash of the file written). A file of unknown origin is taken as the
// builder's only when it equals a fresh recording; any other file is left alone.
// Several espeak processes run at once. Throws std::runtime_error when espeak fails;
// files made so far stay stamped.
SpeechResult speak(const QList<SpeechJob>& jobs, const QString& espeak, int parallel);

} // namespace tx::content
