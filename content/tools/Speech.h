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

// Every recording of the library: the items' and the quiz's.
QList<SpeechJob> speechJobs(const Library& library, const QString& programDir);

struct SpeechResult {
    int made = 0;
    int kept = 0;
};

// Speaks the jobs whose file is missing or whose text, voice or rate changed since it
// was made (a stamp file per folder remembers that), several espeak processes at once.
// Throws std::runtime_error when espeak fails; files made so far stay stamped.
SpeechResult speak(const QList<SpeechJob>& jobs, const QString& espeak, int parallel);

} // namespace tx::content
